// The art source manifest: which SVGs and fonts make up one image list, in archive order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace trakvolt::art {

struct Size {
  int w = 0, h = 0;
};

// image NAME SOURCE[,SOURCE...] [pattern=WxH] [skip=WxH] [transparent=0|1] [key=RRGGBB]
// [dither=0|1]
struct ImageEntry {
  std::string name;
  std::vector<std::filesystem::path> sources;  // globs already expanded, in frame order
  Size pattern;                                // 0x0: one frame per source SVG
  Size skip;
  bool transparent = true;
  std::uint32_t key = 0xFF00FF;
  bool dither = true;
  int line = 0;
};

// font NAME cell=W height=H size=PX baseline=Y [widths=24|40] [outline=R] [shadow=N]
//      [top=RRGGBB] [bottom=RRGGBB] [edge=RRGGBB] [dim=0|1] [face=FILE.ttf] [key=RRGGBB]
//      [dither=0|1]
struct FontEntry {
  std::string name;
  int cell = 24;      // frame width
  int height = 24;    // frame height
  int size = 20;      // em size in pixels
  int baseline = 18;  // baseline row within the frame
  int widths = 24;    // advance table for Cyrillic letters (the rest always use the 40 table)
  int outline = 1;    // dark rim radius in pixels
  int shadow = 1;     // drop-shadow offset downwards in pixels
  std::uint32_t top = 0xFFFFFF, bottom = 0xFFC000, edge = 0x101018;
  bool dim = false;  // the greyed-out look of unchosen values
  std::filesystem::path face = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
  std::uint32_t key = 0xFF00FF;
  bool dither = true;
  int line = 0;
};

using ArtEntry = std::variant<ImageEntry, FontEntry>;

struct ArtManifest {
  std::filesystem::path folder;  // sources are relative to it
  std::vector<ArtEntry> entries;
};

// Reads and checks a manifest; throws std::runtime_error "FILE:LINE: problem" on any fault,
// including sources that do not exist and a glob that matches nothing.
ArtManifest ReadArtManifest(const std::filesystem::path& path);

}  // namespace trakvolt::art

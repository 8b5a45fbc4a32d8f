// The readable archive manifest shared by the art and sound builders and the pack tools, and
// building archives from it and back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trakvolt {

// One line of a manifest: an image or a wave with its source file and settings.
struct ManifestEntry {
  std::string name;  // UTF-8 as written; the archive stores cp1251
  std::string file;  // relative to the manifest's folder; "-" for an item without data
  int pattern_width = 0, pattern_height = 0, skip_width = 0, skip_height = 0;
  bool transparent = true;
  std::uint32_t key = 0;  // 0x00BBGGRR as the archive stores it
  bool system_memory = false;
  bool looped = false;
  int max_playing = 0;
  int line = 0;  // where it was read, for messages
};

struct Manifest {
  bool images = true;  // "archive images" (.dxg) or "archive sounds" (.dxw)
  std::vector<ManifestEntry> entries;
};

// Parses manifest text. Raises GameError "SOURCE:LINE: reason" for anything it can't read.
Manifest ParseManifest(std::string_view text, const std::string& source = "manifest");
// The manifest text, writing only settings that differ from the defaults.
std::string FormatManifest(const Manifest& manifest);

// Builds the archive: PNG pictures become 24-bit bitmaps, WAV files their format block and
// samples. Files are read relative to `base_dir`. Raises GameError naming the bad entry.
std::vector<std::uint8_t> PackArchive(const Manifest& manifest,
                                      const std::filesystem::path& base_dir);

// Writes every item of the archive into `out_dir` as NAME.png / NAME.wav (names made safe and
// unique) and returns the manifest that packs them back into the same bytes. Raises the
// reader's errors.
Manifest UnpackArchive(std::span<const std::uint8_t> archive, const std::filesystem::path& out_dir);

// Whether archive bytes hold images (by the root's class name, else by the file extension).
bool ArchiveHoldsImages(std::span<const std::uint8_t> archive, const std::filesystem::path& path);

}  // namespace trakvolt

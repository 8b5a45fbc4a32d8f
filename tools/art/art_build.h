// The two jobs of trakvolt-art: building a whole list and previewing one SVG.
#pragma once

#include <filesystem>

namespace trakvolt::art {

// Renders every entry of the manifest into OUTDIR/NAME.png and writes OUTDIR/manifest.txt
// in the archive manifest format, ready for trakvolt-pack. Returns the number of items.
int BuildList(const std::filesystem::path& manifest, const std::filesystem::path& outdir);

// Renders one SVG through the same path (key FF00FF, dithered) into one PNG.
void PreviewSvg(const std::filesystem::path& svg, const std::filesystem::path& png,
                bool transparent);

}  // namespace trakvolt::art

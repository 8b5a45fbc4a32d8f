// The desktop icon: the player's car from the race pictures on a rounded road tile, as a
// scalable SVG and as PNGs of the hicolor theme's sizes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace trakvolt::art {

// The icon's SVG text around the picture `picture_svg` (the text of an SVG file with a
// viewBox), centred upright on the tile. Throws std::runtime_error when it has no viewBox.
std::string ComposeIconSvg(const std::string& picture_svg);

// Writes OUTDIR/scalable/apps/NAME.svg and OUTDIR/SxS/apps/NAME.png for each size.
void WriteIcons(const std::filesystem::path& picture, const std::filesystem::path& outdir,
                const std::string& name, const std::vector<int>& sizes);

}  // namespace trakvolt::art

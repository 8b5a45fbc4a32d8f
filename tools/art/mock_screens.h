// Mock-ups of the game's screens, composed with the sprite engine from the built archives.
#pragma once

#include <filesystem>

namespace trakvolt::art {

// Loads RES_DIR/Res1.dxg and RES_DIR/Res3.dxg and writes one PNG per screen into OUTDIR
// (main menu, options, high scores, car selection, the help pages, name entry, result
// sending and a race frame with the HUD), every picture at the place the game puts it.
// Returns the number of screens written.
int WriteMockScreens(const std::filesystem::path& res_dir, const std::filesystem::path& outdir);

}  // namespace trakvolt::art

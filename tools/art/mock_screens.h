// Mock-ups of the game's screens, taken from the game itself over the built archives.
#pragma once

#include <filesystem>

namespace trakvolt::art {

// Runs the game on the headless machine over RES_DIR/Res1.dxg and RES_DIR/Res3.dxg (and the
// music beside RES_DIR, when there is any) in a throw-away game folder, tours its screens as a
// player would (main menu, options, high scores, the help pages, name entry, result sending,
// car selection, the countdown and the race) and writes one PNG of each into OUTDIR.
// Returns the number of screens written; throws when a step does not reach its screen.
int WriteMockScreens(const std::filesystem::path& res_dir, const std::filesystem::path& outdir);

}  // namespace trakvolt::art

// The game data this build generated (Data/Res and Data/Music), which the tests of whole games,
// screens, races and sounds run on. A build configured with TRAKVOLT_ASSETS=OFF makes none; its
// Data/ may be linked from another build's.
#pragma once

#include <filesystem>
#include <string>

#include "support/skip.h"

namespace trakvolt::testing_support {

inline std::filesystem::path BuiltData() {
  return std::filesystem::path(TRAKVOLT_BUILD_DIR) / "Data";
}

// Skips the running test when the build has no game data (fails it under CI=true).
inline void RequireGameData() {
  const std::filesystem::path data = BuiltData();
  for (const char* sub : {"Res", "Music"})
    if (!std::filesystem::is_directory(data / sub))
      SkipTest("this build made no game data (TRAKVOLT_ASSETS=OFF): no " + (data / sub).string() +
                   "; build with TRAKVOLT_ASSETS=ON or link Data/Res and Data/Music from a build "
                   "that made them",
               "scripts/test.sh makes it in the normal build and links it into the others");
}

}  // namespace trakvolt::testing_support

// trakvolt-audiogen: builds the game's sound effects and music from the sources in assets/.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "sound_set.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: trakvolt-audiogen sounds DESCRIPTIONS OUT_DIR\n"
               "       trakvolt-audiogen music SCORE.txt OUT.xm\n"
               "       trakvolt-audiogen render-wav MODULE.xm OUT.wav [SECONDS]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace trakvolt::audiogen;
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  try {
    if (command == "sounds" && argc == 4) {
      WriteSoundSet(LoadEffects(argv[2]), argv[3], std::cout);
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trakvolt-audiogen: %s\n", e.what());
    return 1;
  }
  return Usage();
}

// trakvolt-replay SCRIPT: plays a replay script through the game core with no window.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "base/process_signals.h"
#include "shell/replay_script.h"

int main(int argc, char** argv) {
  trakvolt::IgnoreFileSizeSignal();
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: trakvolt-replay SCRIPT\n  (run it in the folder that holds Data/)\n");
    return 2;
  }
  std::ifstream script(argv[1]);
  if (!script) {
    std::fprintf(stderr, "trakvolt-replay: cannot open %s\n", argv[1]);
    return 2;
  }
  const trakvolt::ReplayResult result = trakvolt::RunReplay(script);
  std::cout << result.Summary();
  return result.ok ? 0 : 1;
}

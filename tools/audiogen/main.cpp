// trakvolt-audiogen: builds the game's sound effects and music from the sources in assets/.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "base/process_signals.h"
#include "render_song.h"
#include "score.h"
#include "sound_set.h"
#include "text_fields.h"
#include "wav_file.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: trakvolt-audiogen sounds DESCRIPTIONS OUT_DIR\n"
               "       trakvolt-audiogen music SCORE.txt OUT.xm\n"
               "       trakvolt-audiogen render-wav MODULE.xm OUT.wav [MAX_SECONDS]\n");
  return 2;
}

void WriteMusic(const std::string& score, const std::string& out_path) {
  using namespace trakvolt::audiogen;
  const std::string bytes = WriteXm(BuildSong(ReadTextFile(score), score));
  std::ofstream out(out_path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + out_path);
}

void RenderWav(const std::string& module, const std::string& out_path, double max_seconds) {
  using namespace trakvolt::audiogen;
  const RenderedSong song = RenderSong(module, max_seconds);
  WriteWav(out_path, song.samples, 44100, 2);
  std::printf("%s: %.1f s, orders 0..%d, %s\n", module.c_str(),
              static_cast<double>(song.samples.size()) / 88200.0, song.highest_order,
              song.seconds_to_wrap > 0.0 ? "wraps to order 0" : "stopped before wrapping");
}

}  // namespace

int main(int argc, char** argv) {
  trakvolt::IgnoreFileSizeSignal();
  using namespace trakvolt::audiogen;
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  try {
    if (command == "sounds" && argc == 4) {
      WriteSoundSet(LoadEffects(argv[2]), argv[3], std::cout);
      return 0;
    }
    if (command == "music" && argc == 4) {
      WriteMusic(argv[2], argv[3]);
      return 0;
    }
    if (command == "render-wav" && (argc == 4 || argc == 5)) {
      RenderWav(argv[2], argv[3], argc == 5 ? std::stod(argv[4]) : 600.0);
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trakvolt-audiogen: %s\n", e.what());
    return 1;
  }
  return Usage();
}

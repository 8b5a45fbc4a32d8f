// Loads the game's three archives as start-up does and prints the memory that took: minor page
// faults (pages first touched), peak resident size, and what stays resident afterwards.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "archive/image_list.h"
#include "archive/wave_list.h"

namespace {

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * 4;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string res = argc > 1 ? argv[1] : "Data/Res";
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  const long resident_before = ResidentKiB();
  const auto start = std::chrono::steady_clock::now();
  trakvolt::TImageList menu, race;
  trakvolt::TWaveList sounds;
  menu.LoadArchive(res + "/Res1.dxg");
  race.LoadArchive(res + "/Res3.dxg");
  sounds.LoadArchive(res + "/Sounds.dxw");
  const auto ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  std::printf(
      "load_ms %.1f minor_faults %ld touched_MiB %.1f peak_rss_growth_MiB %.1f "
      "resident_growth_MiB %.1f\n",
      ms, after.ru_minflt - before.ru_minflt,
      static_cast<double>(after.ru_minflt - before.ru_minflt) * 4096.0 / (1 << 20),
      static_cast<double>(after.ru_maxrss - before.ru_maxrss) / 1024.0,
      static_cast<double>(ResidentKiB() - resident_before) / 1024.0);
  return 0;
}

// trakvolt-art: turns the SVG pictures and font entries of an art manifest into pack-ready PNGs,
// and draws the desktop icons.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app_icon.h"
#include "art_build.h"
#include "base/process_signals.h"
#include "mock_screens.h"

namespace {

int Usage() {
  std::fprintf(
      stderr,
      "usage: trakvolt-art build MANIFEST OUTDIR\n"
      "       trakvolt-art preview SVG OUT.png [--opaque]\n"
      "       trakvolt-art mock RES_DIR OUTDIR   (screens from Res1.dxg and Res3.dxg)\n"
      "       trakvolt-art icons SVG OUTDIR NAME SIZE...   (hicolor icons of a picture)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  trakvolt::IgnoreFileSizeSignal();
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  try {
    if (command == "build" && argc == 4) {
      const int items = trakvolt::art::BuildList(argv[2], argv[3]);
      std::printf("%d items -> %s\n", items, argv[3]);
      return 0;
    }
    if (command == "preview" && (argc == 4 || (argc == 5 && std::string(argv[4]) == "--opaque"))) {
      trakvolt::art::PreviewSvg(argv[2], argv[3], argc == 4);
      return 0;
    }
    if (command == "mock" && argc == 4) {
      const int screens = trakvolt::art::WriteMockScreens(argv[2], argv[3]);
      std::printf("%d screens -> %s\n", screens, argv[3]);
      return 0;
    }
    if (command == "icons" && argc >= 5) {
      std::vector<int> sizes;
      for (int i = 5; i < argc; ++i) sizes.push_back(std::stoi(argv[i]));
      trakvolt::art::WriteIcons(argv[2], argv[3], argv[4], sizes);
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trakvolt-art: %s\n", e.what());
    return 1;
  }
  return Usage();
}

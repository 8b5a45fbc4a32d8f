// trakvolt-pack MANIFEST OUT: builds an image (.dxg) or sound (.dxw) archive from a manifest.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "archive/archive_file.h"
#include "archive_manifest.h"
#include "base/cp1251.h"
#include "base/game_error.h"
#include "base/process_signals.h"

int main(int argc, char** argv) {
  trakvolt::IgnoreFileSizeSignal();
  using namespace trakvolt;
  if (argc != 3) {
    std::fprintf(stderr, "usage: trakvolt-pack MANIFEST OUT\n");
    return 2;
  }
  try {
    const std::filesystem::path manifest_path = argv[1];
    const std::vector<std::uint8_t> text = ReadArchiveFile(manifest_path.string());
    const Manifest manifest =
        ParseManifest(std::string(text.begin(), text.end()), manifest_path.string());
    WriteArchiveFile(argv[2], PackArchive(manifest, manifest_path.parent_path()));
    std::printf("%s: %zu %s\n", argv[2], manifest.entries.size(),
                manifest.images ? "images" : "sounds");
    return 0;
  } catch (const GameError& e) {
    // Names inside messages are cp1251; the terminal wants UTF-8.
    std::fprintf(stderr, "trakvolt-pack: %s\n", Cp1251ToUtf8(e.what()).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trakvolt-pack: %s\n", e.what());
  }
  return 1;
}

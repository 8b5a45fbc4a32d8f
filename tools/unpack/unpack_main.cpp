// trakvolt-unpack ARCHIVE OUTDIR [--sheet SHEET.png]: writes every item as PNG or WAV plus
// manifest.txt (which trakvolt-pack turns back into the same archive), and a contact sheet.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "archive/archive_file.h"
#include "archive_manifest.h"
#include "archive_sheet.h"
#include "base/cp1251.h"
#include "base/game_error.h"
#include "base/png_file.h"
#include "base/process_signals.h"

int main(int argc, char** argv) {
  trakvolt::IgnoreFileSizeSignal();
  using namespace trakvolt;
  std::string sheet;
  if (argc == 5 && std::string(argv[3]) == "--sheet") sheet = argv[4];
  if (argc != 3 && sheet.empty()) {
    std::fprintf(stderr, "usage: trakvolt-unpack ARCHIVE OUTDIR [--sheet SHEET.png]\n");
    return 2;
  }
  try {
    const std::vector<std::uint8_t> bytes = ReadArchiveFile(argv[1]);
    const bool images = ArchiveHoldsImages(bytes, argv[1]);
    if (!sheet.empty() && !images) throw GameError("a contact sheet needs an image archive");
    std::filesystem::create_directories(argv[2]);
    const Manifest manifest = UnpackArchive(bytes, argv[2]);
    if (!sheet.empty()) {
      TImageCollection collection;
      collection.LoadFromBytes(bytes);
      WritePng(sheet, ContactSheet(collection));
    }
    std::printf("%s: %zu %s\n", argv[2], manifest.entries.size(), images ? "images" : "sounds");
    return 0;
  } catch (const GameError& e) {
    std::fprintf(stderr, "trakvolt-unpack: %s\n", Cp1251ToUtf8(e.what()).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trakvolt-unpack: %s\n", e.what());
  }
  return 1;
}

// Whole-file reads and writes for the archives.
#include "archive/archive_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/file_names.h"
#include "base/file_replace.h"
#include "base/game_error.h"

namespace trakvolt {

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void CannotOpen(const std::string& file_name, int err) {
  throw GameError(Format("Cannot open file \"%s\". %s", GameFileName(file_name).c_str(),
                         std::strerror(err)));
}
}  // namespace

std::vector<std::uint8_t> ReadArchiveFile(const std::string& file_name) {
  FilePtr f(std::fopen(file_name.c_str(), "rb"));
  if (!f) CannotOpen(file_name, errno);
  std::vector<std::uint8_t> bytes;
  std::uint8_t buf[65536];
  for (;;) {
    const std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
    bytes.insert(bytes.end(), buf, buf + n);
    if (n < sizeof buf) break;
  }
  // A directory opens on Linux but fails to read.
  if (std::ferror(f.get())) CannotOpen(file_name, errno ? errno : EIO);
  return bytes;
}

void WriteArchiveFile(const std::string& file_name, const std::vector<std::uint8_t>& bytes) {
  // The old archive stays whole until the new one is completely on disk (a full disk or a
  // killed build never leaves half an archive).
  try {
    ReplaceFileAtomically(file_name, std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                                      bytes.size()));
  } catch (const GameError& e) {
    throw GameError(Format("Cannot write file \"%s\". %s", GameFileName(file_name).c_str(), e.what()));
  }
}

}  // namespace trakvolt

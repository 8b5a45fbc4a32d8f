// Whole-file reads and writes for the archives.
#include "archive/archive_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/game_error.h"

namespace trakvolt {

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void CannotOpen(const std::string& file_name, int err) {
  throw GameError(Format("Cannot open file \"%s\". %s", file_name.c_str(), std::strerror(err)));
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
  FilePtr f(std::fopen(file_name.c_str(), "wb"));
  if (!f) throw GameError(Format("Cannot create file \"%s\". %s", file_name.c_str(), std::strerror(errno)));
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  if (!ok || std::fclose(f.release()) != 0)
    throw GameError(Format("Cannot write file \"%s\". %s", file_name.c_str(), std::strerror(errno)));
}

}  // namespace trakvolt

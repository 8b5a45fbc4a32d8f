// Whole-file reads (and read-only mappings) and writes for the archives.
#include "archive/archive_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/file_names.h"
#include "base/file_replace.h"
#include "base/game_error.h"

namespace trakvolt {

namespace {

[[noreturn]] void CannotOpen(const std::string& file_name, int err) {
  throw GameError(
      Format("Cannot open file \"%s\". %s", GameFileName(file_name).c_str(), std::strerror(err)));
}

// The open file and its status.
struct OpenFile {
  int fd;
  struct stat st {};
  explicit OpenFile(const std::string& file_name)
      : fd(::open(file_name.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd < 0) CannotOpen(file_name, errno);
    if (::fstat(fd, &st) != 0) {
      const int err = errno;
      ::close(fd);
      CannotOpen(file_name, err);
    }
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() { ::close(fd); }
};

std::vector<std::uint8_t> ReadWhole(const std::string& file_name, const OpenFile& file) {
  // One read of the size a regular file has: no growing buffer copied over and over. A pipe
  // has no size to go by and is read in pieces; a directory opens on Linux but fails to read.
  const bool sized = S_ISREG(file.st.st_mode);
  std::vector<std::uint8_t> bytes(sized ? static_cast<std::size_t>(file.st.st_size) : 0);
  std::size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      if (sized) break;
      bytes.resize(done + 65536);
    }
    const ssize_t n = ::read(file.fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) CannotOpen(file_name, errno);
    if (n == 0) break;  // the end (or a file that shrank meanwhile)
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace

std::vector<std::uint8_t> ReadArchiveFile(const std::string& file_name) {
  const OpenFile file(file_name);
  return ReadWhole(file_name, file);
}

ArchiveFileView::ArchiveFileView(const std::string& file_name) {
  const OpenFile file(file_name);
  if (S_ISREG(file.st.st_mode) && file.st.st_size > 0) {
    map_size_ = static_cast<std::size_t>(file.st.st_size);
    // Populated at once: one call instead of a fault every few pages.
    void* map = ::mmap(nullptr, map_size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.fd, 0);
    if (map != MAP_FAILED) {
      map_ = map;
      bytes_ = std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(map_), map_size_);
      return;
    }
    map_size_ = 0;  // a file system that cannot map: read it instead
  }
  read_ = ReadWhole(file_name, file);
  bytes_ = read_;
}

ArchiveFileView::~ArchiveFileView() {
  if (map_) ::munmap(map_, map_size_);
}

void WriteArchiveFile(const std::string& file_name, const std::vector<std::uint8_t>& bytes) {
  // The old archive stays whole until the new one is completely on disk (a full disk or a
  // killed build never leaves half an archive).
  try {
    ReplaceFileAtomically(
        file_name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  } catch (const GameError& e) {
    throw GameError(
        Format("Cannot write file \"%s\". %s", GameFileName(file_name).c_str(), e.what()));
  }
}

}  // namespace trakvolt

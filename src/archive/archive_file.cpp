// Whole-file reads and writes for the archives.
#include "archive/archive_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "base/file_names.h"
#include "base/file_replace.h"
#include "base/game_error.h"

namespace trakvolt {

namespace {

// The game names its files its own way in its messages; the tools name them as they were given.
enum class Reader { Game, Tool };

std::string NameFor(Reader reader, const std::string& file_name) {
  return reader == Reader::Game ? GameFileName(file_name) : file_name;
}

[[noreturn]] void CannotOpen(Reader reader, const std::string& file_name, const char* reason) {
  throw GameError(
      Format("Cannot open file \"%s\". %s", NameFor(reader, file_name).c_str(), reason));
}

constexpr const char* kTooLarge = "The file is too large for an archive";
constexpr const char* kChanged = "The file changed while it was read";

// Closes the file on every way out.
struct Descriptor {
  int fd;
  explicit Descriptor(int opened) : fd(opened) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

// One read that goes on after a signal: the bytes read (0 at the end); raises on an error.
std::size_t ReadSome(Reader reader, const std::string& file_name, int fd, std::uint8_t* to,
                     std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, to, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) CannotOpen(reader, file_name, std::strerror(errno));
  }
}

// A pipe has no size to go by: it is read in pieces to its end, as far as the limit.
std::vector<std::uint8_t> ReadPipe(Reader reader, const std::string& file_name, int fd) {
  // The open did not wait for a writer; the first read does (a FIFO nobody has opened for
  // writing yet reads as empty), then reading blocks like any pipe's.
  pollfd ready{fd, POLLIN, 0};
  while (::poll(&ready, 1, -1) < 0)
    if (errno != EINTR) CannotOpen(reader, file_name, std::strerror(errno));
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
    CannotOpen(reader, file_name, std::strerror(errno));
  std::vector<std::uint8_t> bytes;
  std::size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      if (done > kMaxArchiveFileSize) CannotOpen(reader, file_name, kTooLarge);
      bytes.resize(done + 65536);
    }
    const std::size_t n = ReadSome(reader, file_name, fd, bytes.data() + done, bytes.size() - done);
    if (n == 0) break;
    done += n;
  }
  if (done > kMaxArchiveFileSize) CannotOpen(reader, file_name, kTooLarge);
  bytes.resize(done);
  return bytes;
}

// An open archive and what it was when opened: a FIFO (taken only from the tools) or a regular
// file of at most kMaxArchiveFileSize bytes.
struct OpenArchive {
  Descriptor file;
  struct stat before {};

  OpenArchive(Reader reader, const std::string& file_name)
      // O_NONBLOCK: opening a FIFO must not wait for a writer that never comes; O_NOCTTY: a
      // terminal named by mistake never becomes the program's.
      : file(::open(file_name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {
    if (file.fd < 0) CannotOpen(reader, file_name, std::strerror(errno));
    if (::fstat(file.fd, &before) != 0) CannotOpen(reader, file_name, std::strerror(errno));
    if (IsPipe() && reader == Reader::Tool) return;
    if (!S_ISREG(before.st_mode)) CannotOpen(reader, file_name, "Not a regular file");
    if (static_cast<std::uint64_t>(before.st_size) > kMaxArchiveFileSize)
      CannotOpen(reader, file_name, kTooLarge);
  }
  bool IsPipe() const { return S_ISFIFO(before.st_mode); }
  std::size_t Size() const { return static_cast<std::size_t>(before.st_size); }
};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
         a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// One read of the size the regular file had when opened, into `to`. Cut short meanwhile, it
// reads short; grown, it has a byte more; rewritten in place, its time changes: each is the
// error, never half an archive.
void ReadWhole(Reader reader, const std::string& file_name, const OpenArchive& archive,
               std::uint8_t* to) {
  const int fd = archive.file.fd;
  for (std::size_t done = 0; done < archive.Size();) {
    const std::size_t n = ReadSome(reader, file_name, fd, to + done, archive.Size() - done);
    if (n == 0) CannotOpen(reader, file_name, kChanged);
    done += n;
  }
  std::uint8_t more = 0;
  struct stat after {};
  if (ReadSome(reader, file_name, fd, &more, 1) != 0 || ::fstat(fd, &after) != 0 ||
      !SameFile(archive.before, after))
    CannotOpen(reader, file_name, kChanged);
}

}  // namespace

std::vector<std::uint8_t> ReadArchiveFile(const std::string& file_name) {
  const OpenArchive archive(Reader::Tool, file_name);
  if (archive.IsPipe()) return ReadPipe(Reader::Tool, file_name, archive.file.fd);
  std::vector<std::uint8_t> bytes(archive.Size());
  ReadWhole(Reader::Tool, file_name, archive, bytes.data());
  return bytes;
}

ArchiveFileView::ArchiveFileView(const std::string& file_name) {
  const OpenArchive archive(Reader::Game, file_name);
  if (archive.Size() == 0) return;
  // The copy goes into 2 MiB pages where the system has them: in 4 KiB pages, the fault that
  // makes each one costs more than reading the archive (45 ms against 2 ms for the three).
  constexpr std::size_t kLargePage = std::size_t{2} << 20;
  const std::size_t pages = (archive.Size() + kLargePage - 1) / kLargePage * kLargePage;
  map_size_ = pages + kLargePage;  // room to start on a large page's boundary
  map_ = ::mmap(nullptr, map_size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (map_ == MAP_FAILED) {
    map_ = nullptr;
    throw std::bad_alloc();
  }
  const auto start = (reinterpret_cast<std::uintptr_t>(map_) + kLargePage - 1) & ~(kLargePage - 1);
  auto* copy = reinterpret_cast<std::uint8_t*>(start);
  ::madvise(copy, pages, MADV_HUGEPAGE);  // a hint: without it, the same in small pages
  try {
    ReadWhole(Reader::Game, file_name, archive, copy);
  } catch (...) {
    ::munmap(map_, map_size_);
    throw;
  }
  bytes_ = std::span<const std::uint8_t>(copy, archive.Size());
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
    throw GameError(Format("Cannot write file \"%s\". %s", file_name.c_str(), e.what()));
  }
}

}  // namespace trakvolt

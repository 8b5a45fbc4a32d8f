// Reading the game's small text save files and keeping damaged ones aside.
#include "persist/save_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <optional>

#include "base/file_names.h"
#include "base/file_replace.h"
#include "base/game_error.h"
#include "platform/platform.h"

namespace trakvolt {
namespace {

bool IsBlank(unsigned char c) { return c <= ' '; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Closes the descriptor on every path out.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

// rename() that never replaces an existing name.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the flag: a hard link fails on an existing name just the same.
  if (::link(from.c_str(), to.c_str()) == 0) return ::unlink(from.c_str()) == 0;
  if (errno != EPERM && errno != EXDEV) return false;
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0 || errno != ENOENT) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

// The content of a regular file (never through a link), or nothing when it is something else
// or cannot be read.
std::optional<std::string> RegularFileBytes(const std::string& path) {
  try {
    return ReadSaveFile(path, Links::Refuse);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

std::string SaveFilePath(const std::string& folder, std::string_view file) {
  std::string path = platform::NativePath(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path += file;
  return path;
}

std::string ReadSaveFile(const std::string& path, Links links) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer that never comes.
  int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
  if (links == Links::Refuse) flags |= O_NOFOLLOW;
  Descriptor file{::open(path.c_str(), flags)};
  if (file.fd < 0) {
    if (errno == ENOENT) throw GameError("File not found");
    if (errno == ELOOP)
      throw GameError(Format("%s is not a regular file", GameFileName(path).c_str()));
    throw GameError(Format("%s: %s", GameFileName(path).c_str(), IoErrorMessage(errno).c_str()));
  }
  struct stat st {};
  if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
    throw GameError(Format("%s is not a regular file", GameFileName(path).c_str()));
  if (static_cast<std::uint64_t>(st.st_size) > kMaxSaveFileSize)
    throw GameError(Format("%s is too large", GameFileName(path).c_str()));
  std::string bytes;
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(file.fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw GameError(Format("%s: %s", GameFileName(path).c_str(), IoErrorMessage(errno).c_str()));
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
    // The file may grow while it is read; its size was checked only once.
    if (bytes.size() > kMaxSaveFileSize)
      throw GameError(Format("%s is too large", GameFileName(path).c_str()));
  }
  return bytes;
}

std::string SaveFileReader::ReadLine() {
  const std::size_t start = pos_;
  while (pos_ < bytes_.size() && !IsLineEnd(bytes_[pos_])) ++pos_;
  std::string line = bytes_.substr(start, pos_ - start);
  SkipRestOfLine();
  return line;
}

std::int32_t SaveFileReader::ReadInteger() {
  while (pos_ < bytes_.size() && IsBlank(static_cast<unsigned char>(bytes_[pos_]))) ++pos_;
  if (pos_ >= bytes_.size()) return 0;
  const std::size_t start = pos_;
  while (pos_ < bytes_.size() && pos_ - start < 32 &&
         !IsBlank(static_cast<unsigned char>(bytes_[pos_])))
    ++pos_;
  const char* first = bytes_.data() + start;
  const char* last = bytes_.data() + pos_;
  if (*first == '+' && last - first > 1 && first[1] != '-') ++first;  // from_chars has no '+'
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(first, last, value, 10);
  if (ec != std::errc{} || end != last) throw GameError("Invalid numeric input");
  SkipRestOfLine();
  return value;
}

void SaveFileReader::SkipRestOfLine() {
  while (pos_ < bytes_.size() && !IsLineEnd(bytes_[pos_])) ++pos_;
  if (pos_ >= bytes_.size()) return;
  // CR LF is one line end; a lone CR or LF is one too.
  if (bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
}

std::string KeptAsideName(const std::string& path, int generation) {
  return generation == 0 ? path + ".bad" : path + ".bad." + std::to_string(generation);
}

KeptAside KeepAside(const std::string& path) {
  // A copy already kept with the same content: keeping this one would only use up a name.
  if (const auto bytes = RegularFileBytes(path)) {
    for (int generation = 0; generation < kKeptAsideCopies; ++generation) {
      const std::string kept = KeptAsideName(path, generation);
      if (RegularFileBytes(kept) == bytes) {
        if (::unlink(path.c_str()) != 0) break;
        return {kept, {}};
      }
    }
  }
  for (int generation = 0; generation < kKeptAsideCopies; ++generation) {
    const std::string kept = KeptAsideName(path, generation);
    if (RenameNoReplace(path, kept)) return {kept, {}};
    if (errno != EEXIST && errno != ENOTEMPTY && errno != EISDIR)
      return {{}, IoErrorMessage(errno)};
  }
  return {{},
          Format("%s to %s are all taken", GameFileName(KeptAsideName(path, 0)).c_str(),
                 GameFileName(KeptAsideName(path, kKeptAsideCopies - 1)).c_str())};
}

void FreeKeptAsideNames(const std::string& path) {
  for (int generation = 0; generation < kKeptAsideCopies; ++generation) {
    struct stat st {};
    if (::lstat(KeptAsideName(path, generation).c_str(), &st) != 0) return;  // a name is free
  }
  const auto in_place = RegularFileBytes(path);
  if (!in_place) return;
  for (int generation = 0; generation < kKeptAsideCopies; ++generation) {
    const std::string kept = KeptAsideName(path, generation);
    if (RegularFileBytes(kept) == in_place) ::unlink(kept.c_str());
  }
}

}  // namespace trakvolt

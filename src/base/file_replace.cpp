// Atomic file replacement: a unique temporary file beside the target, flushed, then renamed.
#include "base/file_replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>

#include "base/game_error.h"

namespace trakvolt {
namespace {

[[noreturn]] void ThrowIoError(int err) { throw GameError(IoErrorMessage(err)); }

constexpr int kSuffixDigits = 12;
constexpr char kHex[] = "0123456789abcdef";

// Twelve hex digits from the system's random source (the clock and the process number only
// when that fails), so that two games never pick the same temporary name.
std::string UniqueSuffix(unsigned attempt) {
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != sizeof bits)
    bits = (static_cast<std::uint64_t>(::getpid()) << 32) ^
           static_cast<std::uint64_t>(std::time(nullptr)) ^ (std::uint64_t{attempt} << 20);
  std::string s;
  for (int i = 0; i < kSuffixDigits; ++i, bits >>= 4) s += kHex[bits & 15];
  return s;
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowIoError(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace

std::string IoErrorMessage(int err) {
  switch (err) {
    case ENOENT:
      return "File not found";
    case ENOTDIR:
      return "Path not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:  // a file-size limit leaves no more room than a full disk
      return "Disk full";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case ELOOP:
      return "Too many levels of symbolic links";
    case ENAMETOOLONG:
      return "File name too long";
    default:
      return Format("I/O error %d (%s)", err, std::strerror(err));
  }
}

std::string ResolveWriteTarget(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
    if (n < 0) ThrowIoError(errno);
    link.resize(static_cast<std::size_t>(n));
    current = link.front() == '/' ? link : FolderOf(current) + "/" + link;
  }
  ThrowIoError(ELOOP);
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string TempPrefixFor(const std::string& target) { return target + ".tmp."; }

std::vector<std::string> TempFilesFor(const std::string& target) {
  const std::string prefix = TempPrefixFor(target);
  const std::string folder = FolderOf(prefix);
  const std::string name_prefix = prefix.substr(prefix.find_last_of('/') + 1);
  const auto is_suffix = [](std::string_view s) {
    return s.size() == kSuffixDigits && s.find_first_not_of(kHex) == std::string_view::npos;
  };
  std::vector<std::string> found;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return found;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.substr(0, name_prefix.size()) != name_prefix ||
        !is_suffix(name.substr(name_prefix.size())))
      continue;
    const std::string path = folder + "/" + std::string(name);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) found.push_back(path);
  }
  ::closedir(dir);
  std::sort(found.begin(), found.end());
  return found;
}

PendingFile::PendingFile(const std::string& path, std::string_view bytes)
    : target_(ResolveWriteTarget(path)) {
  int fd = -1;
  for (unsigned attempt = 0; fd < 0; ++attempt) {
    temp_ = TempPrefixFor(target_) + UniqueSuffix(attempt);
    // O_EXCL: a new file or nothing, and never through a link someone left under that name.
    fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt >= 100)) {
      const int err = errno;
      temp_.clear();
      if (err == ENOENT) throw GameError("Path not found");  // only the folder can be missing
      ThrowIoError(err);
    }
  }
  try {
    WriteAll(fd, bytes);
    if (::fsync(fd) != 0) ThrowIoError(errno);
  } catch (...) {
    ::close(fd);
    ::unlink(temp_.c_str());
    throw;
  }
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp_.c_str());
    ThrowIoError(err);
  }
}

PendingFile::~PendingFile() {
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void PendingFile::Commit() {
  if (::rename(temp_.c_str(), target_.c_str()) != 0) ThrowIoError(errno);
  committed_ = true;
}

void SyncFolderOf(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void PendingFile::SyncFolder() const { SyncFolderOf(target_); }

void ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  PendingFile file(path, bytes);
  file.Commit();
  file.SyncFolder();
}

}  // namespace trakvolt

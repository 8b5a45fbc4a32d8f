// Reading and safely writing the game's small text save files.
#include "persist/save_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "base/game_error.h"
#include "platform/platform.h"

namespace trakvolt {
namespace {

// The messages the game has always shown for failed file operations.
std::string IoErrorMessage(int err) {
  switch (err) {
    case ENOENT: return "File not found";
    case ENOTDIR: return "Path not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return "File access denied";
    case ENOSPC:
    case EDQUOT: return "Disk full";
    case EMFILE:
    case ENFILE: return "Too many open files";
    default: return Format("I/O error %d", err);
  }
}

[[noreturn]] void ThrowIoError(int err) { throw GameError(IoErrorMessage(err)); }

bool IsBlank(unsigned char c) { return c <= ' '; }

// Closes the descriptor on every path out of ReplaceFile.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  // Returns the close error (0 when fine); a failed close can mean lost data.
  int Close() {
    if (fd_ < 0) return 0;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

class DescriptorSink final : public SaveFileSink {
 public:
  explicit DescriptorSink(int fd) : fd_(fd) {}
  void Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        ThrowIoError(errno);
      }
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string SaveFilePath(const std::string& folder, std::string_view file) {
  std::string path = platform::NativePath(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path += file;
  return path;
}

std::string ReadSaveFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) ThrowIoError(errno);
  std::string bytes;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
  const bool failed = std::ferror(f) != 0;
  const int err = errno;
  std::fclose(f);
  if (failed) ThrowIoError(err);
  return bytes;
}

std::string SaveFileReader::ReadLine() {
  const std::size_t start = pos_;
  while (pos_ < bytes_.size() && bytes_[pos_] != '\r' && bytes_[pos_] != '\n') ++pos_;
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
  while (pos_ < bytes_.size() && bytes_[pos_] != '\n') ++pos_;
  if (pos_ < bytes_.size()) ++pos_;
}

void ReplaceFile(const std::string& path, const std::function<void(SaveFileSink&)>& fill) {
  const std::string temp = path + ".tmp";
  FileDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (fd.Get() < 0) {
    if (errno == ENOENT) throw GameError("Path not found");  // only the folder can be missing
    ThrowIoError(errno);
  }
  try {
    DescriptorSink sink(fd.Get());
    fill(sink);
    if (::fsync(fd.Get()) != 0) ThrowIoError(errno);
    if (const int err = fd.Close(); err != 0) ThrowIoError(err);
    if (::rename(temp.c_str(), path.c_str()) != 0) ThrowIoError(errno);
  } catch (...) {
    fd.Close();
    ::unlink(temp.c_str());
    throw;
  }
  // Make the rename itself survive a crash; the data is already safe if this fails.
  FileDescriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) ::fsync(folder.Get());
}

bool MoveDamagedFileAside(const std::string& path) {
  return std::rename(path.c_str(), (path + ".bad").c_str()) == 0;
}

}  // namespace trakvolt

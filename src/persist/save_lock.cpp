// The save folder's lock: flock on the folder itself, so no lock file is left lying about.
#include "persist/save_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "persist/save_file.h"

namespace trakvolt {

SaveFolderLock::SaveFolderLock(const std::string& folder) {
  const std::string native = SaveFilePath(folder, "");
  std::error_code ec;
  std::filesystem::create_directories(native, ec);
  // O_CLOEXEC: a program the game starts must not carry the lock on after the game has ended.
  fd_ = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    held_elsewhere_ = errno == EWOULDBLOCK;
    ::close(fd_);
    fd_ = -1;
    return;
  }
}

SaveFolderLock::~SaveFolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace trakvolt

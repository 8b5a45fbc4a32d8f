// One running game at a time writes a save folder: two games that each wrote at exit the table
// they loaded at start-up would lose the result of the one that quit first.
#pragma once

#include <string>

namespace trakvolt {

// An advisory lock on the save folder, held from start-up until the game ends. The system drops
// it when the process ends, however it ends, so a crashed game never leaves the folder locked.
class SaveFolderLock {
 public:
  // Takes the lock on `folder` (written the game's way or natively), making the folder when it
  // does not exist yet. Never waits. When the folder cannot be made or the file system keeps no
  // locks, the game goes on as if it held the lock: its own writes then tell what fails.
  explicit SaveFolderLock(const std::string& folder);
  ~SaveFolderLock();
  SaveFolderLock(const SaveFolderLock&) = delete;
  SaveFolderLock& operator=(const SaveFolderLock&) = delete;

  // Another running game holds the folder: this one must not write in it.
  bool HeldElsewhere() const { return held_elsewhere_; }

 private:
  int fd_ = -1;
  bool held_elsewhere_ = false;
};

}  // namespace trakvolt

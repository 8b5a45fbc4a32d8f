// Replacing a file without ever leaving it half-written, and the game's messages for failed
// file operations.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trakvolt {

// The message the game shows for a failed file operation with the system error `err`
// ("File not found", "File access denied", "Disk full", ...).
std::string IoErrorMessage(int err);

// Where writing to `path` really lands: a symbolic link is followed (link by link, relative
// links from the link's own folder) to the file it names, existing or not, so that replacing
// it keeps the link a link. Raises GameError when the links loop.
std::string ResolveWriteTarget(const std::string& path);

// The folder a native path names a file in ("." for a bare name).
std::string FolderOf(const std::string& path);

// The prefix of every temporary file that stands beside `target` while it is being replaced.
std::string TempPrefixFor(const std::string& target);

// The temporary files a PendingFile for `target` left behind (an exit cut short): regular files
// named exactly as it names them, the prefix and twelve lowercase hex digits; sorted by name.
// Anything else beside the target, whatever its name, is not the game's.
std::vector<std::string> TempFilesFor(const std::string& target);

// Makes renames in the folder that holds `path` survive a power cut (best effort).
void SyncFolderOf(const std::string& path);

// A complete new version of a file, written and flushed to disk beside it under a fresh,
// unique name (created new, never through an existing file or link), waiting to be put in
// place. Destroying it without Commit removes the temporary file; the target is untouched.
class PendingFile {
 public:
  // Writes `bytes` into the temporary file beside ResolveWriteTarget(path). Raises GameError
  // with the game's message when the file cannot be created or written.
  PendingFile(const std::string& path, std::string_view bytes);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Renames the temporary file over the target in one step.
  void Commit();
  // Leaves the temporary file where it is (it completes a pair the next start puts right).
  void Keep() { temp_.clear(); }
  // Makes the renames in the target's folder survive a power cut (best effort).
  void SyncFolder() const;

  const std::string& Target() const { return target_; }
  const std::string& TempPath() const { return temp_; }

 private:
  std::string target_;
  std::string temp_;
  bool committed_ = false;
};

// Writes `bytes` as the new content of `path` in one step (PendingFile, then Commit).
void ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace trakvolt

// Whole-file reads and writes for the archives, with the archive's own error texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace trakvolt {

// The game's largest archive (Res1.dxg) is about 11 MB; a file many times that size is not an
// archive of ours and is refused before a byte of it is read.
inline constexpr std::size_t kMaxArchiveFileSize = std::size_t{256} << 20;

// The tools' reader: a regular file of at most kMaxArchiveFileSize bytes, or a pipe (a FIFO,
// "<(...)", /dev/stdin), read to its end. Opening never waits on a FIFO; reading waits for its
// writer, as any reader of a pipe does. Raises "Cannot open file "%s". %s" (the path as given,
// the reason) for anything else, for a larger file, and for a file that changes while it is read.
std::vector<std::uint8_t> ReadArchiveFile(const std::string& file_name);

// An archive file as the game loads it: only a regular file of at most kMaxArchiveFileSize
// bytes, read whole into memory in one go (a FIFO, device or folder is refused at once, and a
// file cut short or rewritten while it is read gives the error, never a signal). Raises
// "Cannot open file "%s". %s" with the name written the game's way.
class ArchiveFileView {
 public:
  explicit ArchiveFileView(const std::string& file_name);
  ~ArchiveFileView();
  ArchiveFileView(const ArchiveFileView&) = delete;
  ArchiveFileView& operator=(const ArchiveFileView&) = delete;

  std::span<const std::uint8_t> Bytes() const { return bytes_; }

 private:
  // The game's own copy of the bytes (memory of its own, never a mapping of the file).
  void* map_ = nullptr;
  std::size_t map_size_ = 0;
  std::span<const std::uint8_t> bytes_;
};

// Raises "Cannot write file "%s". %s" (the path as given) when the file can't be written.
void WriteArchiveFile(const std::string& file_name, const std::vector<std::uint8_t>& bytes);

}  // namespace trakvolt

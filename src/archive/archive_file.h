// Whole-file reads and writes for the archives, with the archive's own error texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace trakvolt {

// Raises "Cannot open file "%s". %s" (file name, system reason) when the file can't be read.
std::vector<std::uint8_t> ReadArchiveFile(const std::string& file_name);
// An archive file as bytes for loading: a regular file is mapped read-only, so its bytes come
// straight from the file cache with no copy and no memory of the game's own; anything else (a
// pipe) is read. Raises "Cannot open file "%s". %s" like ReadArchiveFile.
class ArchiveFileView {
 public:
  explicit ArchiveFileView(const std::string& file_name);
  ~ArchiveFileView();
  ArchiveFileView(const ArchiveFileView&) = delete;
  ArchiveFileView& operator=(const ArchiveFileView&) = delete;

  std::span<const std::uint8_t> Bytes() const { return bytes_; }

 private:
  void* map_ = nullptr;
  std::size_t map_size_ = 0;
  std::vector<std::uint8_t> read_;
  std::span<const std::uint8_t> bytes_;
};

// Raises GameError when the file can't be written.
void WriteArchiveFile(const std::string& file_name, const std::vector<std::uint8_t>& bytes);

}  // namespace trakvolt

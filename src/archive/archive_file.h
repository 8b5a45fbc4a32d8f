// Whole-file reads and writes for the archives, with the archive's own error texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trakvolt {

// Raises "Cannot open file "%s". %s" (file name, system reason) when the file can't be read.
std::vector<std::uint8_t> ReadArchiveFile(const std::string& file_name);
// Raises GameError when the file can't be written.
void WriteArchiveFile(const std::string& file_name, const std::vector<std::uint8_t>& bytes);

}  // namespace trakvolt

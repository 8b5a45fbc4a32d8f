// Writing 16-bit PCM RIFF wave files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trakvolt::audiogen {

// Writes interleaved 16-bit samples; throws std::runtime_error when the file cannot be written.
void WriteWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate,
              int channels);

}  // namespace trakvolt::audiogen

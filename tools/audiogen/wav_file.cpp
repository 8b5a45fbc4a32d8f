// RIFF wave output: a 16-byte "fmt " chunk (PCM) and one "data" chunk.
#include "wav_file.h"

#include <fstream>
#include <stdexcept>

namespace trakvolt::audiogen {

namespace {

void Put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

void WriteWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate,
              int channels) {
  const auto data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
  const auto ch = static_cast<std::uint32_t>(channels);
  const auto hz = static_cast<std::uint32_t>(rate);
  std::string out = "RIFF";
  Put32(out, 36 + data_bytes);
  out += "WAVEfmt ";
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, ch);
  Put32(out, hz);
  Put32(out, hz * ch * 2);
  Put16(out, ch * 2);
  Put16(out, 16);
  out += "data";
  Put32(out, data_bytes);
  for (std::int16_t s : samples) Put16(out, static_cast<std::uint16_t>(s));
  std::ofstream file(path, std::ios::binary);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace trakvolt::audiogen

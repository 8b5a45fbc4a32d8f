// Test waves built in memory: a format block and samples, and measurements of mixed output.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "archive/wave_list.h"

namespace trakvolt::audio_test {

// A wave of `frames` frames, every sample `value` (-1..1), in the given format.
inline TWave ConstantWave(double value, int frames, int rate = 22050, int bits = 16,
                          int channels = 1, std::uint16_t tag = 1) {
  TWave w;
  const int bytes = bits / 8;
  const auto put16 = [&](std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(static_cast<std::uint8_t>(x & 0xFF));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
  };
  const auto put32 = [&](std::vector<std::uint8_t>& v, std::uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
  };
  put16(w.Format, tag);
  put16(w.Format, static_cast<unsigned>(channels));
  put32(w.Format, static_cast<std::uint32_t>(rate));
  put32(w.Format, static_cast<std::uint32_t>(rate * bytes * channels));
  put16(w.Format, static_cast<unsigned>(bytes * channels));
  put16(w.Format, static_cast<unsigned>(bits));
  const bool is_float = tag == 3;
  for (int i = 0; i < frames * channels; ++i) {
    if (is_float) {
      const float f = static_cast<float>(value);
      std::uint8_t b[4];
      std::memcpy(b, &f, 4);
      w.Samples.insert(w.Samples.end(), b, b + 4);
    } else if (bits == 8) {
      w.Samples.push_back(static_cast<std::uint8_t>(std::lround(128 + value * 128)));
    } else {
      const auto full = static_cast<std::int64_t>(std::llround(value * std::ldexp(1.0, bits - 1)));
      for (int k = 0; k < bytes; ++k)
        w.Samples.push_back(static_cast<std::uint8_t>((full >> (8 * k)) & 0xFF));
    }
  }
  return w;
}

// Adds a named item to a wave list.
inline TSoundCollectionItem& AddWave(TWaveList& list, const char* name, TWave wave,
                                     bool looped = false, int max = 0) {
  TSoundCollectionItem& item = list.Items.Add();
  item.SetName(name);
  item.SetWave(std::move(wave));
  item.SetLooped(looped);
  item.SetMaxPlayingCount(max);
  return item;
}

// Mean level (of full scale) of one channel over frames [from, to) of stereo output.
inline double Level(const std::vector<std::int16_t>& pcm, int from, int to, int channel = 0) {
  double sum = 0.0;
  for (int i = from; i < to; ++i) sum += pcm[static_cast<std::size_t>(2 * i + channel)];
  return sum / (to - from) / 32767.0;
}

// Frames of stereo output that are not silent on either side.
inline int SoundingFrames(const std::vector<std::int16_t>& pcm) {
  int n = 0;
  for (std::size_t i = 0; i + 1 < pcm.size(); i += 2)
    if (std::abs(pcm[i]) > 2 || std::abs(pcm[i + 1]) > 2) ++n;
  return n;
}

}  // namespace trakvolt::audio_test

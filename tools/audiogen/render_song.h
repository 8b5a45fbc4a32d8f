// Playing a tracker module through libxmp into memory, for listening checks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trakvolt::audiogen {

struct RenderedSong {
  std::vector<std::int16_t> samples;  // stereo, 44 100 Hz
  double seconds_to_wrap = 0.0;       // when the order fell back to 0, or 0 if it did not
  int highest_order = 0;
};

// Plays the module until it wraps to its first order (or `max_seconds` pass).
RenderedSong RenderSong(const std::string& path, double max_seconds);

}  // namespace trakvolt::audiogen

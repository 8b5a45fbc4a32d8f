// The player's settings record and the score table's check text kept beside it.
#pragma once

#include <string>

namespace trakvolt {

struct TGameOptions {
  bool FullScreen = false;
  bool MusicOn = true;
  bool SoundOn = true;
  std::string Country;  // cp1251, upper case
  bool operator==(const TGameOptions&) const = default;
};

}  // namespace trakvolt

// The one exception type of the game: it carries the game's own message text (cp1251).
#pragma once

#include <stdexcept>
#include <string>

namespace trakvolt {

class GameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// printf-style message building for error texts such as "Image '%s' not found".
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace trakvolt

// OneBased: a fixed table indexed from 1, as the race's slots, kinds and lanes are counted.
#pragma once

#include <array>
#include <cstddef>

#include "base/game_error.h"

namespace trakvolt {

// An index outside 1..N raises a GameError instead of reaching past the table.
template <class T, int N>
struct OneBased {
  std::array<T, N> Items{};

  static constexpr int Count() { return N; }
  constexpr T& operator[](int i) { return Items[Position(i)]; }
  constexpr const T& operator[](int i) const { return Items[Position(i)]; }

  static constexpr std::size_t Position(int i) {
    if (i < 1 || i > N) throw GameError(Format("Table index %d outside 1..%d", i, N));
    return static_cast<std::size_t>(i - 1);
  }
};

}  // namespace trakvolt

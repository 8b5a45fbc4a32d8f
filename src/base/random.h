// The game's random source: a small linear congruential generator that a run can seed, so a
// seed plus an input script replays the same race.
#pragma once

#include <cstdint>

namespace trakvolt {

class TRandom {
 public:
  explicit TRandom(std::uint32_t seed = 0) : seed_(seed) {}
  void Seed(std::uint32_t seed) { seed_ = seed; }
  std::uint32_t SeedValue() const { return seed_; }
  // A whole number in 0 .. range-1 (0 when range <= 0).
  int Next(int range) {
    Step();
    if (range <= 0) return 0;
    return static_cast<int>(
        (static_cast<std::uint64_t>(seed_) * static_cast<std::uint32_t>(range)) >> 32);
  }
  // A number in [0, 1).
  double NextDouble() {
    Step();
    return seed_ / 4294967296.0;
  }

 private:
  void Step() { seed_ = seed_ * 134775813u + 1u; }
  std::uint32_t seed_;
};

}  // namespace trakvolt

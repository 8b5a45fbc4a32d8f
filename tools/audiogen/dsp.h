// Building blocks of the audio builder's synthesiser: oscillators, noise, envelopes, filters.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace trakvolt::audiogen {

enum class Wave { Sine, Square, Saw, Triangle, Noise };

// A value that moves through its points over a span, evenly spaced, each stretch linear or
// exponential.
struct Sweep {
  std::vector<double> points{0.0};
  bool exponential = true;
  double First() const { return points.front(); }
  double At(double fraction) const {
    if (points.size() == 1 || fraction <= 0.0) return points.front();
    if (fraction >= 1.0) return points.back();
    const double pos = fraction * static_cast<double>(points.size() - 1);
    const auto i = static_cast<std::size_t>(pos);
    const double f = pos - static_cast<double>(i), a = points[i], b = points[i + 1];
    if (exponential && a > 0.0 && b > 0.0) return a * std::pow(b / a, f);
    return a + (b - a) * f;
  }
};

// Deterministic noise so every build writes the same bytes.
class NoiseSource {
 public:
  explicit NoiseSource(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
  }

 private:
  std::uint32_t state_;
};

// Band-limited-enough oscillator for effects: naive shapes with a one-sample polyBLEP on the
// steps of square and saw, which keeps high sweeps from aliasing into hiss.
double Oscillator(Wave wave, double phase, double phase_step, double duty);

// Attack / decay to sustain / release envelope over a note of `length` seconds.
struct Envelope {
  double attack = 0.0, decay = 0.0, sustain = 1.0, release = 0.0;
  double At(double t, double length) const;
};

// Zero-delay-feedback state-variable filter; the cutoff may change every sample.
class StateVariableFilter {
 public:
  enum class Mode { LowPass, HighPass, BandPass };
  StateVariableFilter(Mode mode, double q) : mode_(mode), k_(1.0 / (q > 0.05 ? q : 0.05)) {}
  double Process(double x, double cutoff_hz, double rate);

 private:
  Mode mode_;
  double k_;
  double ic1_ = 0.0, ic2_ = 0.0;
};

}  // namespace trakvolt::audiogen

// Oscillators, envelopes and filters of the audio builder.
#include "dsp.h"

#include <algorithm>

namespace trakvolt::audiogen {

namespace {

// Smooths a unit step at phase 0 over one sample (polyBLEP residual).
double Blep(double t, double dt) {
  if (dt <= 0.0) return 0.0;
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

}  // namespace

double Oscillator(Wave wave, double phase, double dt, double duty) {
  switch (wave) {
    case Wave::Sine:
      return std::sin(2.0 * std::numbers::pi * phase);
    case Wave::Square: {
      double v = phase < duty ? 1.0 : -1.0;
      v += Blep(phase, dt);
      double shifted = phase - duty;
      if (shifted < 0.0) shifted += 1.0;
      v -= Blep(shifted, dt);
      return v - (2.0 * duty - 1.0);  // a narrow pulse is otherwise mostly below zero
    }
    case Wave::Saw:
      return 2.0 * phase - 1.0 - Blep(phase, dt);
    case Wave::Triangle:
      return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Wave::Noise:
      return 0.0;  // noise has its own source
  }
  return 0.0;
}

double Envelope::At(double t, double length) const {
  if (t < 0.0 || t >= length) return 0.0;
  double level;
  if (attack > 0.0 && t < attack) {
    level = t / attack;
  } else if (decay > 0.0 && t < attack + decay) {
    level = 1.0 + (sustain - 1.0) * (t - attack) / decay;
  } else {
    level = sustain;
  }
  const double release_start = length - release;
  if (release > 0.0 && t > release_start) level *= (length - t) / release;
  return std::clamp(level, 0.0, 1.0);
}

double StateVariableFilter::Process(double x, double cutoff_hz, double rate) {
  const double fc = std::clamp(cutoff_hz, 10.0, rate * 0.45);
  const double g = std::tan(std::numbers::pi * fc / rate);
  const double a1 = 1.0 / (1.0 + g * (g + k_));
  const double a2 = g * a1;
  const double a3 = g * a2;
  const double v3 = x - ic2_;
  const double v1 = a1 * ic1_ + a2 * v3;
  const double v2 = ic2_ + a2 * ic1_ + a3 * v3;
  ic1_ = 2.0 * v1 - ic1_;
  ic2_ = 2.0 * v2 - ic2_;
  switch (mode_) {
    case Mode::LowPass:
      return v2;
    case Mode::BandPass:
      return v1;
    case Mode::HighPass:
      return x - k_ * v1 - v2;
  }
  return v2;
}

}  // namespace trakvolt::audiogen

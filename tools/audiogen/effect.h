// Sound effect descriptions (layers of oscillators and noise) and their rendering to samples.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dsp.h"

namespace trakvolt::audiogen {

// One voice of an effect: a waveform with its pitch, shape, envelope and filters.
struct Layer {
  Wave wave = Wave::Sine;
  double at = 0.0;       // start, seconds
  double length = -1.0;  // seconds; negative: until the end of the effect
  Sweep freq{{440.0}, true};
  Sweep duty{{0.5}, false};
  std::vector<double> arp;                   // semitone steps taken one after another
  double arp_step = 0.1;                     // seconds per step
  double vib_rate = 0.0, vib_depth = 0.0;    // Hz, semitones
  double trem_rate = 0.0, trem_depth = 0.0;  // Hz, 0..1
  Envelope env;
  double gain = 1.0;
  bool lowpass = false, highpass = false;
  Sweep lowpass_hz{{20000.0}, true};
  Sweep highpass_hz{{20.0}, true};
  double q = 0.707;
  std::uint32_t seed = 1;
};

struct Effect {
  std::string name;
  int rate = 22050;
  bool looped = false;
  int max_playing = 0;
  double length = 0.5;      // seconds
  double level = 0.7;       // peak after normalising, of full scale
  double drive = 0.0;       // soft saturation of the mix; 0 is clean
  double loop_fade = 0.15;  // seconds of cross-fade that hides the loop seam
  std::vector<Layer> layers;
};

// Reads "effect NAME key=value..." blocks, each followed by indented layer lines
// ("sine|square|saw|triangle|noise key=value..."). Errors name the file and line.
std::vector<Effect> ParseEffects(std::string_view text, const std::string& file);

// Reads a layer line ("saw freq=... env=..."); false when the first word names no waveform.
bool ParseLayerLine(const std::vector<std::string>& words, const std::string& file, int line,
                    Layer& layer);

// Renders an effect to 16-bit mono samples at its rate, peak-normalised to its level.
// A looped effect is made seamless: its oscillators complete whole cycles over the loop and
// the tail is cross-faded into the head.
std::vector<std::int16_t> RenderEffect(const Effect& effect);

}  // namespace trakvolt::audiogen

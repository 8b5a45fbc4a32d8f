// An in-memory tracker module and its serialisation to the XM (FastTracker 2) format.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace trakvolt::audiogen {

constexpr std::uint8_t kXmKeyOff = 97;

// One cell of a pattern; 0 means "nothing" in every field.
struct XmCell {
  std::uint8_t note = 0;        // 1..96 (C-0..B-7, C-4 = 49), or kXmKeyOff
  std::uint8_t instrument = 0;  // 1-based
  std::uint8_t volume = 0;      // volume column byte (0x10..0x50 sets volume 0..64)
  std::uint8_t effect = 0;
  std::uint8_t param = 0;
  bool Empty() const { return !note && !instrument && !volume && !effect && !param; }
};

struct XmPattern {
  int rows = 64;
  std::vector<XmCell> cells;  // rows * channels, row by row
};

struct XmEnvelope {
  std::vector<std::pair<std::uint16_t, std::uint16_t>> points;  // (tick, value 0..64)
  int sustain = -1;                                             // point index, -1: none
};

struct XmInstrument {
  std::string name;
  std::vector<std::int16_t> samples;
  bool looped = false;  // the whole sample is the loop
  std::uint8_t volume = 64;
  std::uint8_t panning = 128;
  std::int8_t relative_note = 0;
  std::int8_t finetune = 0;
  XmEnvelope volume_envelope;
  std::uint16_t fadeout = 0;
  std::uint8_t vibrato_type = 0, vibrato_sweep = 0, vibrato_depth = 0, vibrato_rate = 0;
};

struct XmModule {
  std::string name;
  int channels = 8;
  int speed = 6;  // ticks per row
  int bpm = 125;
  int restart = 0;
  std::vector<std::uint8_t> orders;
  std::vector<XmPattern> patterns;
  std::vector<XmInstrument> instruments;
};

// The module as XM file bytes (linear frequency table). Throws std::runtime_error when the
// module breaks a limit of the format.
std::string WriteXm(const XmModule& module);

// Relative note and finetune that make a sample play at `rate_at_c4` Hz on note C-4.
std::pair<std::int8_t, std::int8_t> XmTuning(double rate_at_c4);

}  // namespace trakvolt::audiogen

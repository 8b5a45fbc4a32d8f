// XM module serialisation: header, packed patterns, instruments with delta-coded samples.
#include "xm_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace trakvolt::audiogen {

namespace {

void Put8(std::string& out, unsigned v) { out.push_back(static_cast<char>(v & 0xFF)); }
void Put16(std::string& out, unsigned v) {
  Put8(out, v);
  Put8(out, v >> 8);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutText(std::string& out, const std::string& text, std::size_t size) {
  std::string field = text.substr(0, size);
  field.resize(size, '\0');
  out += field;
}

void PutPattern(std::string& out, const XmPattern& p, int channels) {
  std::string data;
  for (const XmCell& c : p.cells) {
    if (c.note && c.instrument && c.volume && c.effect && c.param) {
      Put8(data, c.note);
      Put8(data, c.instrument);
      Put8(data, c.volume);
      Put8(data, c.effect);
      Put8(data, c.param);
      continue;
    }
    // Packed: a flag byte says which fields follow.
    const unsigned flags = 0x80u | (c.note ? 1u : 0u) | (c.instrument ? 2u : 0u) |
                           (c.volume ? 4u : 0u) | (c.effect ? 8u : 0u) | (c.param ? 16u : 0u);
    Put8(data, flags);
    if (c.note) Put8(data, c.note);
    if (c.instrument) Put8(data, c.instrument);
    if (c.volume) Put8(data, c.volume);
    if (c.effect) Put8(data, c.effect);
    if (c.param) Put8(data, c.param);
  }
  if (p.rows < 1 || p.rows > 256 ||
      p.cells.size() != static_cast<std::size_t>(p.rows) * static_cast<std::size_t>(channels))
    throw std::runtime_error("pattern size does not match its rows and channels");
  if (data.size() > 0xFFFF) throw std::runtime_error("pattern too large");
  Put32(out, 9);
  Put8(out, 0);
  Put16(out, static_cast<unsigned>(p.rows));
  Put16(out, static_cast<unsigned>(data.size()));
  out += data;
}

void PutInstrument(std::string& out, const XmInstrument& ins) {
  constexpr std::uint32_t kHeaderSize = 263;  // what FastTracker 2 writes, with its padding
  const std::size_t start = out.size();
  Put32(out, kHeaderSize);
  PutText(out, ins.name, 22);
  Put8(out, 0);
  Put16(out, 1);  // one sample
  Put32(out, 40);
  out.append(96, '\0');  // every note uses sample 0
  const auto& env = ins.volume_envelope;
  if (env.points.size() > 12) throw std::runtime_error("envelope with more than 12 points");
  for (std::size_t i = 0; i < 12; ++i) {
    Put16(out, i < env.points.size() ? env.points[i].first : 0);
    Put16(out, i < env.points.size() ? env.points[i].second : 0);
  }
  out.append(48, '\0');  // no panning envelope
  Put8(out, static_cast<unsigned>(env.points.size()));
  Put8(out, 0);
  Put8(out, env.sustain >= 0 ? static_cast<unsigned>(env.sustain) : 0);
  Put8(out, 0);
  Put8(out, 0);
  Put8(out, 0);
  Put8(out, 0);
  Put8(out, 0);
  Put8(out, env.points.empty() ? 0 : (1u | (env.sustain >= 0 ? 2u : 0u)));
  Put8(out, 0);
  Put8(out, ins.vibrato_type);
  Put8(out, ins.vibrato_sweep);
  Put8(out, ins.vibrato_depth);
  Put8(out, ins.vibrato_rate);
  Put16(out, ins.fadeout);
  out.resize(start + kHeaderSize, '\0');

  const auto bytes = static_cast<std::uint32_t>(ins.samples.size() * 2);
  Put32(out, bytes);
  Put32(out, 0);
  Put32(out, ins.looped ? bytes : 0);
  Put8(out, ins.volume);
  Put8(out, static_cast<std::uint8_t>(ins.finetune));
  Put8(out, (ins.looped ? 1u : 0u) | 0x10u);  // forward loop, 16-bit
  Put8(out, ins.panning);
  Put8(out, static_cast<std::uint8_t>(ins.relative_note));
  Put8(out, 0);
  PutText(out, ins.name, 22);
  std::int16_t previous = 0;
  for (std::int16_t s : ins.samples) {
    Put16(out, static_cast<std::uint16_t>(s - previous));  // delta coding, wrapping
    previous = s;
  }
}

}  // namespace

std::string WriteXm(const XmModule& m) {
  if (m.orders.empty() || m.orders.size() > 256) throw std::runtime_error("need 1..256 orders");
  if (m.patterns.empty() || m.patterns.size() > 256)
    throw std::runtime_error("need 1..256 patterns");
  if (m.instruments.size() > 128) throw std::runtime_error("more than 128 instruments");
  if (m.channels < 1 || m.channels > 32) throw std::runtime_error("need 1..32 channels");
  for (auto o : m.orders)
    if (o >= m.patterns.size()) throw std::runtime_error("order names a missing pattern");
  std::string out = "Extended Module: ";
  PutText(out, m.name, 20);
  Put8(out, 0x1A);
  PutText(out, "trakvolt-audiogen", 20);
  Put16(out, 0x0104);
  Put32(out, 276);
  Put16(out, static_cast<unsigned>(m.orders.size()));
  Put16(out, static_cast<unsigned>(m.restart));
  Put16(out, static_cast<unsigned>(m.channels));
  Put16(out, static_cast<unsigned>(m.patterns.size()));
  Put16(out, static_cast<unsigned>(m.instruments.size()));
  Put16(out, 1);  // linear frequency table
  Put16(out, static_cast<unsigned>(m.speed));
  Put16(out, static_cast<unsigned>(m.bpm));
  for (std::size_t i = 0; i < 256; ++i) Put8(out, i < m.orders.size() ? m.orders[i] : 0);
  for (const auto& p : m.patterns) PutPattern(out, p, m.channels);
  for (const auto& ins : m.instruments) PutInstrument(out, ins);
  return out;
}

std::pair<std::int8_t, std::int8_t> XmTuning(double rate_at_c4) {
  const double semitones = 12.0 * std::log2(rate_at_c4 / 8363.0);
  const double whole = std::round(semitones);
  if (whole < -96 || whole > 95) throw std::runtime_error("sample rate out of the format's range");
  const double fine = std::clamp(std::round((semitones - whole) * 128.0), -128.0, 127.0);
  return {static_cast<std::int8_t>(whole), static_cast<std::int8_t>(fine)};
}

}  // namespace trakvolt::audiogen

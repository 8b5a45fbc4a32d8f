// Score reading: instruments, kits, riffs, sections with chords and channel lines, orders.
#include "score.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <sstream>

#include "effect.h"
#include "text_fields.h"

namespace trakvolt::audiogen {

namespace {

constexpr double kC4Hz = 261.6255653;

// What one row of a channel line asks for before chords are known.
struct Step {
  enum class Kind { None, Note, ChordTone, KeyOff, Drum } kind = Kind::None;
  int value = 0;        // note number, chord-tone index (1-based) or instrument number
  bool accent = false;  // drums written in upper case
};

struct ChannelLine {
  int instrument = 0;  // 0: a drum kit line
  int octave = 4;
  int volume = -1;   // -1: the instrument's own volume
  int arpeggio = 0;  // effect 0 parameter on every sounding row
  std::vector<Step> steps;
};

struct Chord {
  int root = 0;  // pitch class, C = 0
  std::vector<int> intervals;
};

struct Section {
  int rows = 64;
  std::vector<Chord> chords;            // one per row, tiled
  std::map<int, ChannelLine> channels;  // 1-based channel
};

struct ScoreState {
  std::string file;
  XmModule module;
  std::map<std::string, int> instruments;  // name -> 1-based number
  std::map<char, int> kit;                 // lower-case letter -> instrument
  std::map<std::string, std::string> riffs;
  std::map<std::string, Section> sections;
  std::map<std::string, int> pattern_of;  // section -> pattern number
  std::vector<std::string> section_order;
  int rows = 64;
  int bar = 16;
  struct PendingInstrument {
    Effect synth;
    double pitch = 0.0;
    int cycles = 0;
    double level = 0.9;
  };
  std::vector<PendingInstrument> pending;
};

int PitchClass(char letter) {
  static constexpr int kClasses[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  return kClasses[letter - 'A'];
}

std::optional<Chord> ParseChord(std::string_view name) {
  if (name.empty() || name[0] < 'A' || name[0] > 'G') return std::nullopt;
  Chord c;
  c.root = PitchClass(name[0]);
  name.remove_prefix(1);
  if (!name.empty() && (name[0] == '#' || name[0] == 'b')) {
    c.root = (c.root + (name[0] == '#' ? 1 : 11)) % 12;
    name.remove_prefix(1);
  }
  static const std::map<std::string_view, std::vector<int>> kQualities = {
      {"", {0, 4, 7}},         {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}},
      {"maj7", {0, 4, 7, 11}}, {"sus2", {0, 2, 7}},     {"sus4", {0, 5, 7}},  {"dim", {0, 3, 6}},
      {"5", {0, 7}},           {"add9", {0, 4, 7, 14}}, {"m9", {0, 3, 7, 14}}};
  const auto it = kQualities.find(name);
  if (it == kQualities.end()) return std::nullopt;
  c.intervals = it->second;
  return c;
}

// Splits "TOKEN:LEN" into the token and its length in rows (sticky across tokens).
std::string TakeLength(const std::string& token, int& length, const std::string& file, int line) {
  const std::size_t colon = token.find(':');
  if (colon == std::string::npos) return token;
  length = ParseInt(token.substr(colon + 1), file, line);
  if (length < 1 || length > 256) throw SourceError(file, line, "length out of range: " + token);
  return token.substr(0, colon);
}

std::vector<Step> ParseNoteSteps(const std::string& text, const std::string& file, int line) {
  std::vector<Step> steps;
  int length = 1;
  for (const auto& raw : SplitWords(text)) {
    const std::string token = TakeLength(raw, length, file, line);
    Step s;
    if (token == ".") {
    } else if (token == "^") {
      s.kind = Step::Kind::KeyOff;
    } else if (token.size() == 1 && token[0] >= '1' && token[0] <= '9') {
      s.kind = Step::Kind::ChordTone;
      s.value = token[0] - '0';
    } else if (const int note = NoteNumber(token); note > 0) {
      s.kind = Step::Kind::Note;
      s.value = note;
    } else {
      throw SourceError(file, line, "not a note: '" + token + "'");
    }
    steps.push_back(s);
    for (int i = 1; i < length; ++i) steps.push_back(Step{});
  }
  return steps;
}

std::vector<Step> ParseDrumSteps(const ScoreState& st, const std::string& text, int line) {
  std::vector<Step> steps;
  for (char c : text) {
    if (c == ' ') continue;
    Step s;
    if (c != '.') {
      const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      const auto it = st.kit.find(lower);
      if (it == st.kit.end()) throw SourceError(st.file, line, std::string("no drum '") + c + "'");
      s.kind = Step::Kind::Drum;
      s.value = it->second;
      s.accent = c != lower;
    }
    steps.push_back(s);
  }
  return steps;
}

XmEnvelope ParseEnvelope(const std::string& text, const std::string& file, int line) {
  XmEnvelope env;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string point =
        text.substr(start, (comma == std::string::npos ? text.size() : comma) - start);
    const std::size_t colon = point.find(':');
    if (colon == std::string::npos) throw SourceError(file, line, "envelope points are TICK:VALUE");
    const int tick = ParseInt(point.substr(0, colon), file, line);
    const int value = ParseInt(point.substr(colon + 1), file, line);
    if (tick < 0 || value < 0 || value > 64 ||
        (!env.points.empty() && tick <= env.points.back().first))
      throw SourceError(file, line, "envelope ticks must rise and values lie in 0..64");
    env.points.emplace_back(static_cast<std::uint16_t>(tick), static_cast<std::uint16_t>(value));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return env;
}

int FieldInt(const std::map<std::string, std::string>& f, const char* key, int fallback, int low,
             int high, const std::string& file, int line) {
  const auto it = f.find(key);
  if (it == f.end()) return fallback;
  const int v = ParseInt(it->second, file, line);
  if (v < low || v > high)
    throw SourceError(
        file, line,
        std::string(key) + " must lie in " + std::to_string(low) + ".." + std::to_string(high));
  return v;
}

void ReadInstrument(ScoreState& st, const std::vector<std::string>& words, int line) {
  if (words.size() < 2) throw SourceError(st.file, line, "instrument needs a name");
  if (st.instruments.count(words[1])) throw SourceError(st.file, line, "instrument named twice");
  const auto f = ParseFields(words, 2, st.file, line);
  static const char* kKeys[] = {"rate", "pitch",   "cycles",  "length",  "volume", "pan",
                                "env",  "sustain", "fadeout", "vibrato", "level",  "drive"};
  for (const auto& field : f) {
    const std::string& key = field.first;
    if (std::find_if(std::begin(kKeys), std::end(kKeys), [&](const char* k) { return key == k; }) ==
        std::end(kKeys))
      throw SourceError(st.file, line, "unknown instrument setting '" + key + "'");
  }
  XmInstrument ins;
  ins.name = words[1];
  ins.volume = static_cast<std::uint8_t>(FieldInt(f, "volume", 64, 0, 64, st.file, line));
  ins.panning = static_cast<std::uint8_t>(FieldInt(f, "pan", 128, 0, 255, st.file, line));
  ins.fadeout = static_cast<std::uint16_t>(FieldInt(f, "fadeout", 0, 0, 4095, st.file, line));
  if (auto it = f.find("env"); it != f.end()) {
    ins.volume_envelope = ParseEnvelope(it->second, st.file, line);
    ins.volume_envelope.sustain =
        FieldInt(f, "sustain", -1, -1, static_cast<int>(ins.volume_envelope.points.size()) - 1,
                 st.file, line);
  }
  if (auto it = f.find("vibrato"); it != f.end()) {
    const auto v = ParseNumberList(it->second, st.file, line);
    if (v.size() != 4) throw SourceError(st.file, line, "vibrato takes type,sweep,depth,rate");
    ins.vibrato_type = static_cast<std::uint8_t>(v[0]);
    ins.vibrato_sweep = static_cast<std::uint8_t>(v[1]);
    ins.vibrato_depth = static_cast<std::uint8_t>(v[2]);
    ins.vibrato_rate = static_cast<std::uint8_t>(v[3]);
  }
  ScoreState::PendingInstrument p;
  p.synth.name = ins.name;
  p.synth.rate = FieldInt(f, "rate", 44100, 8000, 48000, st.file, line);
  if (auto it = f.find("pitch"); it != f.end()) {
    p.pitch = ParseNumber(it->second, st.file, line);
    p.cycles = FieldInt(f, "cycles", 0, 1, 100000, st.file, line);
    if (p.pitch <= 0.0 || p.cycles == 0)
      throw SourceError(st.file, line, "a pitched instrument needs pitch=HZ and cycles=N");
  } else {
    if (!f.count("length")) throw SourceError(st.file, line, "a drum needs length=SECONDS");
    p.synth.length = ParseNumber(f.at("length"), st.file, line);
  }
  if (auto it = f.find("level"); it != f.end()) p.level = ParseNumber(it->second, st.file, line);
  if (auto it = f.find("drive"); it != f.end())
    p.synth.drive = ParseNumber(it->second, st.file, line);
  st.module.instruments.push_back(ins);
  st.pending.push_back(p);
  st.instruments[ins.name] = static_cast<int>(st.module.instruments.size());
}

// Renders an instrument's sample. A pitched one loops a whole number of cycles of its
// fundamental; its layers' freq values are multiples of that fundamental.
void SynthesiseInstrument(XmInstrument& ins, ScoreState::PendingInstrument& p) {
  Effect& e = p.synth;
  e.level = std::clamp(p.level, 0.05, 1.0);
  double rate_at_c4 = e.rate;
  if (p.pitch > 0.0) {
    const double frames = std::round(p.cycles / p.pitch * e.rate);
    const double fundamental = p.cycles * e.rate / frames;
    e.looped = true;
    e.length = frames / e.rate;
    e.loop_fade = std::min(0.05, e.length / 4);
    for (auto& layer : e.layers)
      for (double& hz : layer.freq.points) hz *= fundamental;
    rate_at_c4 = e.rate * kC4Hz / fundamental;
  }
  ins.samples = RenderEffect(e);
  ins.looped = e.looped;
  if (ins.looped) {
    // The whole sample is the loop, so it may start anywhere in it: start where the wave
    // rises through zero and notes begin without a click.
    const auto& x = ins.samples;
    std::size_t best = 0;
    int best_level = 1 << 16;
    for (std::size_t i = 1; i < x.size(); ++i) {
      if (x[i - 1] < 0 && x[i] >= 0 && std::abs(x[i]) < best_level) {
        best = i;
        best_level = std::abs(x[i]);
      }
    }
    std::rotate(ins.samples.begin(), ins.samples.begin() + static_cast<std::ptrdiff_t>(best),
                ins.samples.end());
  }
  const auto [note, fine] = XmTuning(rate_at_c4);
  ins.relative_note = note;
  ins.finetune = fine;
}

ChannelLine ReadChannelLine(ScoreState& st, const std::vector<std::string>& words, int line) {
  if (words.size() < 3)
    throw SourceError(st.file, line, "channel lines are: N INSTRUMENT ... \"steps\"");
  ChannelLine ch;
  std::string text = words.back();
  if (!text.empty() && text[0] == '@') {
    const auto it = st.riffs.find(text.substr(1));
    if (it == st.riffs.end()) throw SourceError(st.file, line, "no riff " + text);
    text = it->second;
  }
  std::vector<std::string> middle(words.begin(), words.end() - 1);
  const auto f = ParseFields(middle, 2, st.file, line);
  for (const auto& [key, value] : f)
    if (key != "oct" && key != "vol" && key != "arp")
      throw SourceError(st.file, line, "unknown channel setting '" + key + "'");
  ch.octave = FieldInt(f, "oct", 4, 0, 7, st.file, line);
  ch.volume = FieldInt(f, "vol", -1, 0, 64, st.file, line);
  if (auto it = f.find("arp"); it != f.end()) {
    ch.arpeggio = static_cast<int>(std::stoul(it->second, nullptr, 16));
    if (ch.arpeggio <= 0 || ch.arpeggio > 0xFF)
      throw SourceError(st.file, line, "arp is two hex digits");
  }
  if (words[1] == "kit") {
    ch.steps = ParseDrumSteps(st, text, line);
  } else {
    const auto it = st.instruments.find(words[1]);
    if (it == st.instruments.end()) throw SourceError(st.file, line, "no instrument " + words[1]);
    ch.instrument = it->second;
    ch.steps = ParseNoteSteps(text, st.file, line);
  }
  if (ch.steps.empty()) throw SourceError(st.file, line, "empty channel line");
  return ch;
}

std::vector<Chord> ReadChords(const ScoreState& st, const std::vector<std::string>& words,
                              int line) {
  std::vector<Chord> rows;
  int length = st.bar;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string name = TakeLength(words[i], length, st.file, line);
    const auto chord = ParseChord(name);
    if (!chord) throw SourceError(st.file, line, "not a chord: '" + name + "'");
    rows.insert(rows.end(), static_cast<std::size_t>(length), *chord);
  }
  if (rows.empty()) throw SourceError(st.file, line, "chords needs at least one chord");
  return rows;
}

XmPattern RenderSection(const ScoreState& st, const Section& s) {
  XmPattern p;
  p.rows = s.rows;
  const auto channels = static_cast<std::size_t>(st.module.channels);
  p.cells.assign(static_cast<std::size_t>(s.rows) * channels, XmCell{});
  // A channel this section leaves out is let go, so nothing rings on from the section before.
  for (std::size_t c = 0; c < channels; ++c)
    if (!s.channels.count(static_cast<int>(c) + 1)) p.cells[c].note = kXmKeyOff;
  for (const auto& [number, ch] : s.channels) {
    bool sounding = false;
    for (int row = 0; row < s.rows; ++row) {
      const Step& step = ch.steps[static_cast<std::size_t>(row) % ch.steps.size()];
      XmCell& cell =
          p.cells[static_cast<std::size_t>(row) * channels + static_cast<std::size_t>(number - 1)];
      int note = 0;
      switch (step.kind) {
        case Step::Kind::None:
          break;
        case Step::Kind::KeyOff:
          cell.note = kXmKeyOff;
          sounding = false;
          break;
        case Step::Kind::Note:
          note = step.value;
          break;
        case Step::Kind::ChordTone: {
          if (s.chords.empty()) throw std::runtime_error("chord tones in a section without chords");
          const Chord& c = s.chords[static_cast<std::size_t>(row) % s.chords.size()];
          const auto k = static_cast<int>(c.intervals.size());
          const int index = step.value - 1;
          note = 12 * ch.octave + c.root + c.intervals[static_cast<std::size_t>(index % k)] +
                 12 * (index / k) + 1;
          break;
        }
        case Step::Kind::Drum:
          cell.note = 49;
          cell.instrument = static_cast<std::uint8_t>(step.value);
          if (step.accent)
            cell.volume = 0x10 + 64;
          else if (ch.volume >= 0)
            cell.volume = static_cast<std::uint8_t>(0x10 + ch.volume);
          break;
      }
      if (note) {
        if (note < 1 || note > 96) throw std::runtime_error("note out of range in a section");
        cell.note = static_cast<std::uint8_t>(note);
        cell.instrument = static_cast<std::uint8_t>(ch.instrument);
        if (ch.volume >= 0) cell.volume = static_cast<std::uint8_t>(0x10 + ch.volume);
        sounding = true;
      }
      if (ch.arpeggio && sounding) {
        cell.effect = 0;
        cell.param = static_cast<std::uint8_t>(ch.arpeggio);
      }
    }
  }
  return p;
}

}  // namespace

int NoteNumber(std::string_view name) {
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return 0;
  int pc = PitchClass(name[0]);
  std::size_t i = 1;
  if (name[i] == '#' || name[i] == 'b') {
    pc += name[i] == '#' ? 1 : -1;
    ++i;
  }
  if (i + 1 != name.size() || name[i] < '0' || name[i] > '7') return 0;
  const int note = 12 * (name[i] - '0') + pc + 1;
  return note >= 1 && note <= 96 ? note : 0;
}

XmModule BuildSong(std::string_view text, const std::string& file) {
  ScoreState st;
  st.file = file;
  std::istringstream in{std::string(text)};
  std::string raw;
  int line = 0;
  enum class Context { Top, Instrument, Section } context = Context::Top;
  Section* section = nullptr;
  std::vector<std::string> order_names;
  while (std::getline(in, raw)) {
    ++line;
    const auto words = SplitWords(StripComment(raw));
    if (words.empty()) continue;
    const std::string& key = words[0];
    Layer layer;
    if (context == Context::Instrument && ParseLayerLine(words, file, line, layer)) {
      st.pending.back().synth.layers.push_back(layer);
      continue;
    }
    if (context == Context::Section && key == "chords") {
      section->chords = ReadChords(st, words, line);
      continue;
    }
    if (context == Context::Section && std::isdigit(static_cast<unsigned char>(key[0]))) {
      const int number = ParseInt(key, file, line);
      if (number < 1 || number > st.module.channels)
        throw SourceError(file, line, "no channel " + key);
      if (words.size() == 2 && words[1] == "-")
        section->channels.erase(number);
      else
        section->channels[number] = ReadChannelLine(st, words, line);
      continue;
    }
    context = Context::Top;
    const auto need = [&](std::size_t n) {
      if (words.size() != n)
        throw SourceError(file, line, key + " takes " + std::to_string(n - 1) + " value(s)");
    };
    if (key == "title") {
      need(2);
      st.module.name = words[1];
    } else if (key == "speed") {
      need(2);
      st.module.speed = ParseInt(words[1], file, line);
      if (st.module.speed < 1 || st.module.speed > 31)
        throw SourceError(file, line, "speed is 1..31");
    } else if (key == "bpm") {
      need(2);
      st.module.bpm = ParseInt(words[1], file, line);
      if (st.module.bpm < 32 || st.module.bpm > 255)
        throw SourceError(file, line, "bpm is 32..255");
    } else if (key == "channels") {
      need(2);
      if (!st.sections.empty()) throw SourceError(file, line, "channels comes before sections");
      st.module.channels = ParseInt(words[1], file, line);
      if (st.module.channels < 1 || st.module.channels > 32)
        throw SourceError(file, line, "channels is 1..32");
    } else if (key == "rows" || key == "bar") {
      need(2);
      const int v = ParseInt(words[1], file, line);
      if (v < 1 || v > 256) throw SourceError(file, line, key + " is 1..256");
      (key == "rows" ? st.rows : st.bar) = v;
    } else if (key == "instrument") {
      ReadInstrument(st, words, line);
      context = Context::Instrument;
    } else if (key == "kit") {
      for (std::size_t i = 1; i < words.size(); ++i) {
        const auto& w = words[i];
        if (w.size() < 3 || w[1] != '=' || !std::islower(static_cast<unsigned char>(w[0])))
          throw SourceError(file, line, "kit entries are letter=Instrument");
        const auto it = st.instruments.find(w.substr(2));
        if (it == st.instruments.end())
          throw SourceError(file, line, "no instrument " + w.substr(2));
        st.kit[w[0]] = it->second;
      }
    } else if (key == "riff") {
      need(3);
      st.riffs[words[1]] = words[2];
    } else if (key == "section") {
      if (words.size() < 2) throw SourceError(file, line, "section needs a name");
      if (st.sections.count(words[1])) throw SourceError(file, line, "section named twice");
      const auto f = ParseFields(words, 2, file, line);
      Section s;
      if (auto it = f.find("from"); it != f.end()) {
        const auto base = st.sections.find(it->second);
        if (base == st.sections.end()) throw SourceError(file, line, "no section " + it->second);
        s = base->second;
      } else {
        s.rows = st.rows;
      }
      s.rows = FieldInt(f, "rows", s.rows, 1, 256, file, line);
      section = &st.sections[words[1]];
      *section = std::move(s);
      st.section_order.push_back(words[1]);
      context = Context::Section;
    } else if (key == "order") {
      order_names.insert(order_names.end(), words.begin() + 1, words.end());
    } else {
      throw SourceError(file, line, "unknown line '" + key + "'");
    }
  }
  if (order_names.empty()) throw SourceError(file, line, "the score has no order");
  for (std::size_t i = 0; i < st.pending.size(); ++i) {
    if (st.pending[i].synth.layers.empty())
      throw SourceError(file, line,
                        "instrument " + st.module.instruments[i].name + " has no layers");
    SynthesiseInstrument(st.module.instruments[i], st.pending[i]);
  }
  for (const auto& name : order_names) {
    if (!st.sections.count(name)) throw SourceError(file, line, "order names no section " + name);
    if (!st.pattern_of.count(name)) {
      st.pattern_of[name] = static_cast<int>(st.module.patterns.size());
      st.module.patterns.push_back(RenderSection(st, st.sections.at(name)));
    }
    st.module.orders.push_back(static_cast<std::uint8_t>(st.pattern_of[name]));
  }
  return st.module;
}

}  // namespace trakvolt::audiogen

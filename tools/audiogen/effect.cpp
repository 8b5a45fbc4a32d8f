// Reading and rendering of the game's sound effect descriptions.
#include "effect.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "text_fields.h"

namespace trakvolt::audiogen {

namespace {

Sweep ParseSweep(const std::string& text, bool exponential, const std::string& file, int line) {
  Sweep s;
  s.exponential = exponential;
  s.points.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t arrow = text.find('>', start);
    const std::size_t stop = arrow == std::string::npos ? text.size() : arrow;
    s.points.push_back(ParseNumber(text.substr(start, stop - start), file, line));
    if (arrow == std::string::npos) break;
    start = arrow + 1;
  }
  return s;
}

bool ParseWave(const std::string& word, Wave& wave) {
  static constexpr struct {
    const char* name;
    Wave wave;
  } kWaves[] = {{"sine", Wave::Sine},
                {"square", Wave::Square},
                {"saw", Wave::Saw},
                {"triangle", Wave::Triangle},
                {"noise", Wave::Noise}};
  for (const auto& w : kWaves) {
    if (word == w.name) {
      wave = w.wave;
      return true;
    }
  }
  return false;
}

void ReadEffectFields(Effect& e, const std::map<std::string, std::string>& fields,
                      const std::string& file, int line) {
  for (const auto& [key, value] : fields) {
    if (key == "rate") {
      e.rate = ParseInt(value, file, line);
      if (e.rate != 22050 && e.rate != 44100)
        throw SourceError(file, line, "rate must be 22050 or 44100");
    } else if (key == "looped") {
      e.looped = ParseInt(value, file, line) != 0;
    } else if (key == "max") {
      e.max_playing = ParseInt(value, file, line);
    } else if (key == "length") {
      e.length = ParseNumber(value, file, line);
    } else if (key == "level") {
      e.level = ParseNumber(value, file, line);
    } else if (key == "drive") {
      e.drive = ParseNumber(value, file, line);
    } else if (key == "fade") {
      e.loop_fade = ParseNumber(value, file, line);
    } else {
      throw SourceError(file, line, "unknown effect setting '" + key + "'");
    }
  }
  if (e.length <= 0.0 || e.length > 10.0)
    throw SourceError(file, line, "length must be above 0 and at most 10 seconds");
  if (e.level <= 0.0 || e.level > 1.0) throw SourceError(file, line, "level must be in (0, 1]");
}

void ReadLayerFields(Layer& l, const std::map<std::string, std::string>& fields,
                     const std::string& file, int line) {
  std::string sweep_kind = "exp";
  if (auto it = fields.find("sweep"); it != fields.end()) sweep_kind = it->second;
  if (sweep_kind != "exp" && sweep_kind != "lin")
    throw SourceError(file, line, "sweep must be exp or lin");
  const bool exponential = sweep_kind == "exp";
  for (const auto& [key, value] : fields) {
    if (key == "sweep") continue;
    if (key == "at") {
      l.at = ParseNumber(value, file, line);
    } else if (key == "len") {
      l.length = ParseNumber(value, file, line);
    } else if (key == "freq") {
      l.freq = ParseSweep(value, exponential, file, line);
    } else if (key == "duty") {
      l.duty = ParseSweep(value, false, file, line);
    } else if (key == "arp") {
      l.arp = ParseNumberList(value, file, line);
    } else if (key == "step") {
      l.arp_step = ParseNumber(value, file, line);
    } else if (key == "vib" || key == "trem") {
      const auto v = ParseNumberList(value, file, line);
      if (v.size() != 2) throw SourceError(file, line, key + " takes rate,depth");
      (key == "vib" ? l.vib_rate : l.trem_rate) = v[0];
      (key == "vib" ? l.vib_depth : l.trem_depth) = v[1];
    } else if (key == "env") {
      const auto v = ParseNumberList(value, file, line);
      if (v.size() != 4) throw SourceError(file, line, "env takes attack,decay,sustain,release");
      l.env = Envelope{v[0], v[1], v[2], v[3]};
    } else if (key == "gain") {
      l.gain = ParseNumber(value, file, line);
    } else if (key == "lowpass") {
      l.lowpass = true;
      l.lowpass_hz = ParseSweep(value, true, file, line);
    } else if (key == "highpass") {
      l.highpass = true;
      l.highpass_hz = ParseSweep(value, true, file, line);
    } else if (key == "q") {
      l.q = ParseNumber(value, file, line);
    } else if (key == "seed") {
      l.seed = static_cast<std::uint32_t>(ParseInt(value, file, line));
    } else {
      throw SourceError(file, line, "unknown layer setting '" + key + "'");
    }
  }
  for (double hz : l.freq.points)
    if (hz <= 0.0) throw SourceError(file, line, "freq must be above 0");
  if (l.arp_step <= 0.0) throw SourceError(file, line, "step must be above 0");
}

// Rounds a rate to a whole number of cycles over the loop, so the loop closes on itself.
double WholeCycles(double hz, double loop_seconds) {
  if (hz <= 0.0) return hz;
  return std::max(1.0, std::round(hz * loop_seconds)) / loop_seconds;
}

void RenderLayer(const Layer& layer, const Effect& effect, std::vector<double>& mix) {
  const double rate = effect.rate;
  const double total = static_cast<double>(mix.size()) / rate;
  const double length = layer.length < 0.0 ? total - layer.at : layer.length;
  Sweep freq = layer.freq;
  double vib_rate = layer.vib_rate;
  double trem_rate = layer.trem_rate;
  if (effect.looped) {
    for (double& hz : freq.points) hz = WholeCycles(hz, effect.length);
    vib_rate = WholeCycles(vib_rate, effect.length);
    trem_rate = WholeCycles(trem_rate, effect.length);
  }
  NoiseSource noise(layer.seed * 2654435761u + 12345u);
  StateVariableFilter lp(StateVariableFilter::Mode::LowPass, layer.q);
  StateVariableFilter hp(StateVariableFilter::Mode::HighPass, layer.q);
  double phase = 0.0;
  double held = noise.Next();
  const std::size_t first = static_cast<std::size_t>(std::max(0.0, layer.at) * rate);
  const std::size_t count =
      std::min(mix.size() - std::min(first, mix.size()), static_cast<std::size_t>(length * rate));
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double fraction = length > 0.0 ? t / length : 0.0;
    double hz = freq.At(fraction);
    if (!layer.arp.empty()) {
      const std::size_t step =
          std::min(layer.arp.size() - 1, static_cast<std::size_t>(t / layer.arp_step));
      hz *= std::pow(2.0, layer.arp[step] / 12.0);
    }
    if (vib_rate > 0.0)
      hz *= std::pow(2.0, layer.vib_depth / 12.0 * std::sin(2.0 * std::numbers::pi * vib_rate * t));
    const double dt = hz / rate;
    double v;
    if (layer.wave == Wave::Noise) {
      // The pitch of noise is how often it picks a new value: low rates rumble, high hiss.
      if (phase + dt >= 1.0 || hz >= rate) held = noise.Next();
      v = held;
    } else {
      v = Oscillator(layer.wave, phase, dt, layer.duty.At(fraction));
    }
    phase += dt;
    phase -= std::floor(phase);
    if (layer.lowpass) v = lp.Process(v, layer.lowpass_hz.At(fraction), rate);
    if (layer.highpass) v = hp.Process(v, layer.highpass_hz.At(fraction), rate);
    double amp = layer.gain * layer.env.At(t, length);
    if (trem_rate > 0.0)
      amp *=
          1.0 - layer.trem_depth * 0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * trem_rate * t));
    mix[first + i] += v * amp;
  }
}

}  // namespace

bool ParseLayerLine(const std::vector<std::string>& words, const std::string& file, int line,
                    Layer& layer) {
  if (words.empty() || !ParseWave(words[0], layer.wave)) return false;
  layer.seed = static_cast<std::uint32_t>(line);
  ReadLayerFields(layer, ParseFields(words, 1, file, line), file, line);
  return true;
}

std::vector<Effect> ParseEffects(std::string_view text, const std::string& file) {
  std::vector<Effect> effects;
  std::istringstream in{std::string(text)};
  std::string raw;
  int line = 0;
  while (std::getline(in, raw)) {
    ++line;
    const auto words = SplitWords(StripComment(raw));
    if (words.empty()) continue;
    Layer layer;
    if (words[0] == "effect") {
      if (words.size() < 2) throw SourceError(file, line, "effect needs a name");
      Effect e;
      e.name = words[1];
      ReadEffectFields(e, ParseFields(words, 2, file, line), file, line);
      for (const auto& other : effects)
        if (other.name == e.name) throw SourceError(file, line, "effect named twice: " + e.name);
      effects.push_back(std::move(e));
    } else if (ParseLayerLine(words, file, line, layer)) {
      if (effects.empty()) throw SourceError(file, line, "layer before any effect");
      effects.back().layers.push_back(layer);
    } else {
      throw SourceError(file, line, "unknown line '" + words[0] + "'");
    }
  }
  for (const auto& e : effects)
    if (e.layers.empty()) throw SourceError(file, line, "effect " + e.name + " has no layers");
  return effects;
}

std::vector<std::int16_t> RenderEffect(const Effect& effect) {
  const auto frames = static_cast<std::size_t>(std::lround(effect.length * effect.rate));
  const std::size_t fade =
      effect.looped ? std::min(frames / 2, static_cast<std::size_t>(effect.loop_fade * effect.rate))
                    : 0;
  std::vector<double> mix(frames + fade, 0.0);
  for (const auto& layer : effect.layers) RenderLayer(layer, effect, mix);
  if (effect.drive > 0.0) {
    const double norm = std::tanh(effect.drive);
    for (double& v : mix) v = std::tanh(effect.drive * v) / norm;
  }
  if (effect.looped) {
    // What sounds past the loop's end fades into its start, so the wrap continues the sound.
    for (std::size_t i = 0; i < fade; ++i) {
      const double w = static_cast<double>(i) / static_cast<double>(fade);
      mix[i] = mix[i] * w + mix[frames + i] * (1.0 - w);
    }
    mix.resize(frames);
    // The mean of one loop is its offset, exactly, so taking it out keeps the seam intact.
    double mean = 0.0;
    for (double v : mix) mean += v;
    mean /= static_cast<double>(frames ? frames : 1);
    for (double& v : mix) v -= mean;
  } else {
    // A gentle high-pass at 15 Hz takes out what offset the layers leave.
    double x1 = 0.0, y1 = 0.0;
    const double r = 1.0 - 2.0 * std::numbers::pi * 15.0 / effect.rate;
    for (double& v : mix) {
      const double y = v - x1 + r * y1;
      x1 = v;
      y1 = y;
      v = y;
    }
    // A few milliseconds of fade at the end so a cut-off tail never clicks.
    const std::size_t tail = std::min(frames, static_cast<std::size_t>(effect.rate / 200));
    for (std::size_t i = 0; i < tail; ++i)
      mix[frames - 1 - i] *= static_cast<double>(i) / static_cast<double>(tail);
  }
  double peak = 0.0;
  for (double v : mix) peak = std::max(peak, std::abs(v));
  const double scale = peak > 0.0 ? effect.level * 32767.0 / peak : 0.0;
  std::vector<std::int16_t> out(mix.size());
  for (std::size_t i = 0; i < mix.size(); ++i)
    out[i] = static_cast<std::int16_t>(std::lround(std::clamp(mix[i] * scale, -32767.0, 32767.0)));
  return out;
}

}  // namespace trakvolt::audiogen

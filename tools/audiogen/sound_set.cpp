// Rendering all effects into a folder of WAV files with their pack manifest.
#include "sound_set.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "text_fields.h"
#include "wav_file.h"

namespace trakvolt::audiogen {

std::vector<Effect> LoadEffects(const std::string& path) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  if (fs::is_directory(path)) {
    for (const auto& entry : fs::directory_iterator(path))
      if (entry.path().extension() == ".sfx") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
  } else {
    files.push_back(path);
  }
  if (files.empty()) throw std::runtime_error("no .sfx files in " + path);
  std::vector<Effect> all;
  for (const auto& file : files) {
    for (auto& e : ParseEffects(ReadTextFile(file), file)) {
      for (const auto& other : all)
        if (other.name == e.name) throw std::runtime_error("effect named twice: " + e.name);
      all.push_back(std::move(e));
    }
  }
  return all;
}

EffectStats MeasureEffect(const std::vector<std::int16_t>& samples) {
  EffectStats s;
  if (samples.empty()) return s;
  double sum = 0.0;
  std::vector<double> steps;
  steps.reserve(samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double v = samples[i] / 32768.0;
    s.peak = std::max(s.peak, std::abs(v));
    sum += v * v;
    if (i > 0) steps.push_back(std::abs(v - samples[i - 1] / 32768.0));
  }
  s.rms = std::sqrt(sum / static_cast<double>(samples.size()));
  s.seam_jump = std::abs(samples.front() - samples.back()) / 32768.0;
  if (!steps.empty()) {
    const auto k = steps.size() * 99 / 100;
    std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(k), steps.end());
    s.typical_step = steps[k];
  }
  return s;
}

void WriteSoundSet(const std::vector<Effect>& effects, const std::string& out_dir,
                   std::ostream& report) {
  std::filesystem::create_directories(out_dir);
  std::string manifest =
      "# Sound effects of the game, written by trakvolt-audiogen.\narchive sounds\n";
  for (const auto& e : effects) {
    const auto samples = RenderEffect(e);
    WriteWav(out_dir + "/" + e.name + ".wav", samples, e.rate, 1);
    manifest += "wave " + e.name + " " + e.name + ".wav looped=" + (e.looped ? "1" : "0") +
                " max=" + std::to_string(e.max_playing) + "\n";
    const EffectStats st = MeasureEffect(samples);
    char line[200];
    std::snprintf(line, sizeof line, "%-17s %5.2fs peak %6.1f dB  rms %6.1f dB%s", e.name.c_str(),
                  static_cast<double>(samples.size()) / e.rate, 20.0 * std::log10(st.peak + 1e-9),
                  20.0 * std::log10(st.rms + 1e-9), e.looped ? "  loop seam" : "");
    report << line;
    if (e.looped) {
      std::snprintf(line, sizeof line, " %.4f (99%% of steps below %.4f)", st.seam_jump,
                    st.typical_step);
      report << line;
    }
    report << "\n";
  }
  std::ofstream out(out_dir + "/sounds.txt", std::ios::binary);
  out << manifest;
  if (!out) throw std::runtime_error("cannot write " + out_dir + "/sounds.txt");
}

}  // namespace trakvolt::audiogen

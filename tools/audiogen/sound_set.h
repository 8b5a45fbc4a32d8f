// Turning the effect descriptions into WAV files and the sound archive's pack manifest.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "effect.h"

namespace trakvolt::audiogen {

// Reads every *.sfx file of a folder (in name order), or one file.
std::vector<Effect> LoadEffects(const std::string& path);

// Levels of one rendered effect, for the builder's report and the listening check.
struct EffectStats {
  double peak = 0.0;          // of full scale
  double rms = 0.0;           // of full scale
  double seam_jump = 0.0;     // |last - first| sample step at the loop point, of full scale
  double typical_step = 0.0;  // the 99th percentile of neighbouring-sample steps
};
EffectStats MeasureEffect(const std::vector<std::int16_t>& samples);

// Writes NAME.wav for each effect plus "sounds.txt", the pack manifest; prints one line of
// levels per effect to `report`.
void WriteSoundSet(const std::vector<Effect>& effects, const std::string& out_dir,
                   std::ostream& report);

}  // namespace trakvolt::audiogen

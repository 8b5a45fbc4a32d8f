// The score file "hs" in the save folder: 40 lines, four per row of slots 1..10.
#pragma once

#include <string>

#include "persist/high_scores.h"

namespace trakvolt {

inline constexpr const char* kHighScoreFileName = "hs";

// Reads slots 1..10 from `folder`/hs; slot 11 is left alone. A short file fills the missing
// part with empty names and zeros. Raises GameError "File not found" or "Invalid numeric
// input"; on an error the table is unchanged.
void LoadHighScores(HighScoreTable& table, const std::string& folder);
// The same from the file's bytes.
void ParseHighScores(const std::string& bytes, HighScoreTable& table);

// Replaces `folder`/hs with slots 1..10 in one step: never left half-written.
void SaveHighScores(const HighScoreTable& table, const std::string& folder);

// The file's bytes for slots 1..10.
std::string HighScoreFileText(const HighScoreTable& table);

}  // namespace trakvolt

// The options file "options" in the save folder: three flags, the country and the score
// table's check text, one per line.
#pragma once

#include <string>

#include "persist/game_options.h"
#include "persist/high_scores.h"

namespace trakvolt {

inline constexpr const char* kOptionsFileName = "options";

// Reads `folder`/options into `options` and `score_check`. Any non-zero flag line sets the
// flag; lines the file does not have leave flags off and texts empty. Raises GameError "File
// not found" or "Invalid numeric input"; on an error both outputs are unchanged.
void LoadOptions(TGameOptions& options, std::string& score_check, const std::string& folder);

// Replaces `folder`/options, writing the check text of `table` as it is now.
void SaveOptions(const TGameOptions& options, const HighScoreTable& table,
                 const std::string& folder);

// The file's bytes.
std::string OptionsFileText(const TGameOptions& options, const HighScoreTable& table);

}  // namespace trakvolt

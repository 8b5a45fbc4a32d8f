// The options file "options" in the save folder: three flags, the country and the score
// table's check text, one per line.
#pragma once

#include <optional>
#include <string>

#include "persist/game_options.h"
#include "persist/high_scores.h"

namespace trakvolt {

inline constexpr const char* kOptionsFileName = "options";

// Reads `folder`/options into `options` and `score_check`. Any non-zero flag line sets the
// flag; lines the file does not have leave flags off and texts empty. Raises GameError "File
// not found" or "Invalid numeric input"; on an error both outputs are unchanged.
void LoadOptions(TGameOptions& options, std::string& score_check, const std::string& folder);
// The same from the file's bytes.
void ParseOptions(const std::string& bytes, TGameOptions& options, std::string& score_check);
// The fifth line of an options file taken line by line, whatever the other lines hold: a file
// whose flags are damaged still vouches for the score table. Nothing when there is no fifth
// line.
std::optional<std::string> ScoreCheckLine(const std::string& bytes);

// Replaces `folder`/options in one step, writing the check text of `table` as it is now.
void SaveOptions(const TGameOptions& options, const HighScoreTable& table,
                 const std::string& folder);

// The file's bytes, with the check text of `table`, or with `score_check` as given.
std::string OptionsFileText(const TGameOptions& options, const HighScoreTable& table);
std::string OptionsFileText(const TGameOptions& options, const std::string& score_check);

}  // namespace trakvolt

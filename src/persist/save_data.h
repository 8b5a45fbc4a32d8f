// Loading the player's saved settings and scores at start-up and writing them at exit.
#pragma once

#include <string>
#include <vector>

#include "persist/game_options.h"
#include "persist/high_scores.h"

namespace trakvolt {

// Start-up: loads the score table, then the options, then replaces the table by the default
// one when the stored check text does not match it.
// - A missing file is a first start: the table gets the defaults and the options the first-run
//   settings (window, music and sound on, no country), silently.
// - A file that exists but cannot be read is moved aside ("hs.bad", "options.bad") and replaced
//   by the same defaults; its error message is returned, for the error box.
// Without a readable options file there is no check text, so a score file is kept only when
// the options file vouches for it.
// Returns those messages (cp1251), in load order; empty when all went well. Never throws for
// a damaged or missing file. `folder` is written the game's way (kSaveFolder) or natively.
std::vector<std::string> LoadSaveData(const std::string& folder, HighScoreTable& table,
                                      TGameOptions& options, std::string& score_check);

// Exit: writes the options (with the table's fresh check text), then the score table,
// creating the folder when it does not exist yet. Both writes are always attempted; when one
// or both failed, raises one GameError carrying their messages (distinct ones joined by a line
// break) after both were tried. Neither file is ever left half-written.
void SaveGameData(const std::string& folder, const TGameOptions& options,
                  const HighScoreTable& table);

}  // namespace trakvolt

// The copy of the score table that the reset button keeps, with the options that vouch for it,
// so that a mistaken reset can be undone by hand.
#pragma once

#include <string>

#include "persist/game_options.h"
#include "persist/high_scores.h"

namespace trakvolt {

// Added to "hs" and "options" for the kept copies: "hs.reset" and "options.reset".
inline constexpr const char* kResetCopySuffix = ".reset";

// Writes `table` and `options` to "hs.reset" and "options.reset" in `folder`, as the exit would
// write the pair, so that copying both over "hs" and "options" while the game is closed brings
// the table back. A later call replaces the copies. The folder is made when it does not exist
// yet. Raises GameError (the system's message, then the file) when a file cannot be written;
// the older copies then stay.
void WriteResetCopy(const std::string& folder, const TGameOptions& options,
                    const HighScoreTable& table);

}  // namespace trakvolt

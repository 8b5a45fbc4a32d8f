// Loading the player's saved settings and scores at start-up and writing them at exit, as a
// pair that a crash at any moment cannot break.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "persist/game_options.h"
#include "persist/high_scores.h"

namespace trakvolt {

struct SaveDataLoad {
  // Messages for the error box (cp1251), in load order; empty when all went well.
  std::vector<std::string> messages;
  // False when a damaged file could not be kept aside: the exit then writes nothing, so that
  // the file is never overwritten.
  bool may_save = true;
};

// Start-up: loads the score table, then the options, then checks the table against the check
// text the options file holds; in that order, and never throws for a missing or damaged file.
// - A missing file is a first start: the table gets the defaults and the options the first-run
//   settings (window, music and sound on, no country), silently.
// - A file that cannot be read (not a regular file, over 1 MiB, a line that does not convert)
//   is kept aside ("hs.bad", "hs.bad.1", ...; never replacing an older copy), its message is
//   returned, and the defaults take its place. An options file whose fifth line is readable
//   still vouches for the table with it.
// - When the table does not match the check text, the leftovers of an interrupted exit (the
//   temporary files beside each save file) and the kept-aside copies are searched for a table
//   or options file that completes the pair; one that does is put in place. Otherwise the
//   table is kept aside and the default table used.
// - Temporary files left by an interrupted exit are removed.
// `folder` is written the game's way (kSaveFolder) or natively.
SaveDataLoad LoadSaveData(const std::string& folder, HighScoreTable& table, TGameOptions& options,
                          std::string& score_check);

// Called with the name of each step of the exit writes before it is taken (tests stop the
// process there to see that every moment of an exit leaves a complete pair).
using SaveStepHook = std::function<void(std::string_view step)>;

// Exit: writes the options (with the table's fresh check text) and the score table as a pair,
// creating the folder when it does not exist yet. Both new files are written and flushed
// beside the old ones first, then put in place options first; so an exit cut short at any
// moment leaves the old pair, or the new options beside the new table's temporary file,
// which the next start completes. A failure raises GameError; when a file could not be put in
// place, the old pair stays as it was.
void SaveGameData(const std::string& folder, const TGameOptions& options,
                  const HighScoreTable& table, const SaveStepHook& hook = {});

}  // namespace trakvolt

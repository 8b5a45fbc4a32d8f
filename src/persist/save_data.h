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

// Whether this game may write the save folder: only one running game at a time does.
enum class SaveAccess { ReadWrite, ReadOnly };

struct SaveDataLoad {
  // What start-up has to tell the player (cp1251), in load order; empty when all went well. Each
  // entry starts with the failure's own message and says on its next lines what was set aside
  // and where; the game shows them together in one box.
  std::vector<std::string> messages;
  // False when the exit must write nothing: another game uses the folder, or a damaged file
  // could not be kept aside (it would be overwritten).
  bool may_save = true;
  // Why not, for the exit's message.
  std::string why_not_saved;
};

// Called with the name of each step of the exit writes (and of start-up's repairs) before it
// is taken: tests stop the process there, or make the step fail, to see that every moment of
// an exit or a repair leaves a complete pair.
using SaveStepHook = std::function<void(std::string_view step)>;

// Start-up: loads the score table, then the options, then checks the table against the check
// text the options file holds; in that order, and never throws for a missing or damaged file.
// - A missing file is a first start: the table gets the defaults and the options the first-run
//   settings (window, music and sound on, no country), silently.
// - A file that cannot be read (not a regular file, over 1 MiB, a line that does not convert)
//   is kept aside ("hs.bad", "hs.bad.1", ...; never replacing an older copy, never keeping the
//   same content twice), its message is returned, and the defaults take its place. An options
//   file whose fifth line is readable still vouches for the table with it.
// - When the table does not match the check text, the leftovers of an interrupted exit (the
//   game's temporary files beside each save file) and the kept-aside copies are searched for a
//   table or options file that completes the pair; one that does is moved into place. When
//   that fails it is still the one loaded, and it stays where it is for the next start.
//   Otherwise the table is kept aside and the default table used.
// - The game's own temporary files are removed once the pair on disk is complete; nothing else
//   beside the save files is touched.
// With SaveAccess::ReadOnly (another game holds the folder) the same pair is loaded but nothing
// is moved, kept aside or removed, and the exit may not write.
// `folder` is written the game's way (kSaveFolder) or natively.
SaveDataLoad LoadSaveData(const std::string& folder, HighScoreTable& table, TGameOptions& options,
                          std::string& score_check, SaveAccess access = SaveAccess::ReadWrite,
                          const SaveStepHook& hook = {});

// Exit: writes the options (with the table's fresh check text) and the score table as a pair,
// creating the folder when it does not exist yet. Both new files are written and flushed
// beside the old ones first, then put in place options first; so an exit cut short at any
// moment leaves the old pair, or the new options beside the new table's temporary file,
// which the next start completes. A failure raises GameError whose first line is the system's
// message ("Disk full", "File access denied", ...) and whose next line names the file and says
// what was and was not saved; when a file could not be put in place, the old pair stays.
void SaveGameData(const std::string& folder, const TGameOptions& options,
                  const HighScoreTable& table, const SaveStepHook& hook = {});

}  // namespace trakvolt

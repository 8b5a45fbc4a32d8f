// The reset button's copy of the score table and its options.
#include "persist/reset_copy.h"

#include <filesystem>
#include <system_error>

#include "base/file_names.h"
#include "base/file_replace.h"
#include "base/game_error.h"
#include "persist/high_score_file.h"
#include "persist/options_file.h"
#include "persist/save_file.h"

namespace trakvolt {

void WriteResetCopy(const std::string& folder, const TGameOptions& options,
                    const HighScoreTable& table) {
  std::error_code ec;
  std::filesystem::create_directories(SaveFilePath(folder, ""), ec);
  if (ec)
    throw GameError(Format("Cannot create the folder %s: %s", GameFileName(folder).c_str(),
                           IoErrorMessage(ec.value()).c_str()));
  // Both are written and flushed before either is put in place, so the copies stay a pair.
  PendingFile scores(SaveFilePath(folder, std::string(kHighScoreFileName) + kResetCopySuffix),
                     HighScoreFileText(table));
  PendingFile settings(SaveFilePath(folder, std::string(kOptionsFileName) + kResetCopySuffix),
                       OptionsFileText(options, table));
  scores.Commit();
  settings.Commit();
}

}  // namespace trakvolt

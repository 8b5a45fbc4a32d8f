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
  const std::string hs_copy =
      SaveFilePath(folder, std::string(kHighScoreFileName) + kResetCopySuffix);
  const std::string options_copy =
      SaveFilePath(folder, std::string(kOptionsFileName) + kResetCopySuffix);
  const std::string* writing = &hs_copy;
  try {
    PendingFile scores(hs_copy, HighScoreFileText(table));
    writing = &options_copy;
    PendingFile settings(options_copy, OptionsFileText(options, table));
    writing = &hs_copy;
    scores.Commit();
    writing = &options_copy;
    settings.Commit();
  } catch (const std::exception& e) {
    throw GameError(Format("%s\n%s could not be written: the table was not reset", e.what(),
                           GameFileName(*writing).c_str()));
  }
}

}  // namespace trakvolt

// Start-up loading and exit saving of the options and score files, with first-start and
// damaged-file handling.
#include "persist/save_data.h"

#include <filesystem>
#include <system_error>

#include "base/game_error.h"
#include "persist/high_score_file.h"
#include "persist/options_file.h"
#include "persist/save_file.h"

namespace trakvolt {
namespace {

// Runs `load` when the file exists. A missing file gives `defaults`; a damaged one is moved
// aside, gives `defaults` and adds its message.
// Returns true when the file was read.
template <typename Load, typename Defaults>
bool LoadOrDefault(const std::string& path, Load load, Defaults defaults,
                   std::vector<std::string>& messages) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    defaults();
    return false;
  }
  try {
    load();
    return true;
  } catch (const GameError& e) {
    messages.emplace_back(e.what());
    MoveDamagedFileAside(path);
    defaults();
    return false;
  }
}

void AddMessage(std::string& all, const std::string& message) {
  if (all.find(message) != std::string::npos) return;
  if (!all.empty()) all += '\n';
  all += message;
}

}  // namespace

std::vector<std::string> LoadSaveData(const std::string& folder, HighScoreTable& table,
                                      TGameOptions& options, std::string& score_check) {
  std::vector<std::string> messages;
  const std::string table_path = SaveFilePath(folder, kHighScoreFileName);
  const bool table_read = LoadOrDefault(
      table_path, [&] { LoadHighScores(table, folder); },
      [&] { ResetHighScores(table); }, messages);
  LoadOrDefault(
      SaveFilePath(folder, kOptionsFileName), [&] { LoadOptions(options, score_check, folder); },
      [&] {
        options = TGameOptions{};
        score_check.clear();  // nothing vouches for the table then: the check decides
      },
      messages);
  if (!ScoreCheckMatches(table, score_check)) {
    // The exit would overwrite the rejected table; keep it beside for a player to recover
    // (say the options file was lost while the scores were fine).
    if (table_read) MoveDamagedFileAside(table_path);
    ResetHighScores(table);
  }
  return messages;
}

void SaveGameData(const std::string& folder, const TGameOptions& options,
                  const HighScoreTable& table) {
  std::error_code ec;
  std::filesystem::create_directories(SaveFilePath(folder, ""), ec);  // a failure shows below
  std::string failures;
  try {
    SaveOptions(options, table, folder);
  } catch (const GameError& e) {
    AddMessage(failures, e.what());
  }
  try {
    SaveHighScores(table, folder);
  } catch (const GameError& e) {
    AddMessage(failures, e.what());
  }
  if (!failures.empty()) throw GameError(failures);
}

}  // namespace trakvolt

// The options file: full screen, music, sound, country and the score table's check text.
#include "persist/options_file.h"

#include "base/file_replace.h"
#include "persist/save_file.h"

namespace trakvolt {

void ParseOptions(const std::string& bytes, TGameOptions& options, std::string& score_check) {
  SaveFileReader reader(bytes);
  // Nothing carries over from the defaults: what the file lacks stays off or empty.
  TGameOptions loaded{false, false, false, {}};
  loaded.FullScreen = reader.ReadInteger() != 0;
  loaded.MusicOn = reader.ReadInteger() != 0;
  loaded.SoundOn = reader.ReadInteger() != 0;
  loaded.Country = reader.ReadLine();
  std::string check = reader.ReadLine();
  options = std::move(loaded);
  score_check = std::move(check);
}

void LoadOptions(TGameOptions& options, std::string& score_check, const std::string& folder) {
  ParseOptions(ReadSaveFile(SaveFilePath(folder, kOptionsFileName)), options, score_check);
}

std::optional<std::string> ScoreCheckLine(const std::string& bytes) {
  SaveFileReader reader(bytes);
  for (int line = 1; line < 5; ++line) reader.ReadLine();
  if (reader.AtEnd()) return std::nullopt;
  return reader.ReadLine();
}

std::string OptionsFileText(const TGameOptions& options, const std::string& score_check) {
  std::string text;
  for (const bool flag : {options.FullScreen, options.MusicOn, options.SoundOn})
    text += flag ? "1\r\n" : "0\r\n";
  text += options.Country + "\r\n";
  text += score_check + "\r\n";
  return text;
}

std::string OptionsFileText(const TGameOptions& options, const HighScoreTable& table) {
  return OptionsFileText(options, ComputeScoreCheck(table));
}

void SaveOptions(const TGameOptions& options, const HighScoreTable& table,
                 const std::string& folder) {
  ReplaceFileAtomically(SaveFilePath(folder, kOptionsFileName), OptionsFileText(options, table));
}

}  // namespace trakvolt

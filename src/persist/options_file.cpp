// The options file: full screen, music, sound, country and the score table's check text.
#include "persist/options_file.h"

#include "persist/save_file.h"

namespace trakvolt {

void LoadOptions(TGameOptions& options, std::string& score_check, const std::string& folder) {
  SaveFileReader reader(ReadSaveFile(SaveFilePath(folder, kOptionsFileName)));
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

std::string OptionsFileText(const TGameOptions& options, const HighScoreTable& table) {
  std::string text;
  for (const bool flag : {options.FullScreen, options.MusicOn, options.SoundOn})
    text += flag ? "1\r\n" : "0\r\n";
  text += options.Country + "\r\n";
  text += ComputeScoreCheck(table) + "\r\n";
  return text;
}

void SaveOptions(const TGameOptions& options, const HighScoreTable& table,
                 const std::string& folder) {
  const std::string text = OptionsFileText(options, table);
  ReplaceFile(SaveFilePath(folder, kOptionsFileName),
              [&](SaveFileSink& sink) { sink.Write(text); });
}

}  // namespace trakvolt

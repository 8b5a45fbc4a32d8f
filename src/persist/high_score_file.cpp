// The score file "hs": name, score and the two reserved numbers of each row, one per line.
#include "persist/high_score_file.h"

#include "base/file_replace.h"
#include "persist/save_file.h"

namespace trakvolt {

void ParseHighScores(const std::string& bytes, HighScoreTable& table) {
  SaveFileReader reader(bytes);
  HighScoreTable loaded = table;
  for (int i = 1; i <= HighScoreTable::kShownSlots; ++i) {
    THighScore& row = loaded.Slot(i);
    row.Name = reader.ReadLine();
    row.Score = reader.ReadInteger();
    row.Reserved1 = reader.ReadInteger();
    row.Reserved2 = reader.ReadInteger();
  }
  table = std::move(loaded);
}

void LoadHighScores(HighScoreTable& table, const std::string& folder) {
  ParseHighScores(ReadSaveFile(SaveFilePath(folder, kHighScoreFileName)), table);
}

std::string HighScoreFileText(const HighScoreTable& table) {
  std::string text;
  for (int i = 1; i <= HighScoreTable::kShownSlots; ++i) {
    const THighScore& row = table.Slot(i);
    text += row.Name + "\r\n";
    for (const std::int32_t n : {row.Score, row.Reserved1, row.Reserved2})
      text += std::to_string(n) + "\r\n";
  }
  return text;
}

void SaveHighScores(const HighScoreTable& table, const std::string& folder) {
  ReplaceFileAtomically(SaveFilePath(folder, kHighScoreFileName), HighScoreFileText(table));
}

}  // namespace trakvolt

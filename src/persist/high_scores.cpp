// The local high-score table and its check text.
#include "persist/high_scores.h"

#include <algorithm>
#include <utility>

#include "base/cp1251.h"

namespace trakvolt {
namespace {

// Adds a text into the check buffer from its first byte on.
void Fold(std::string& buffer, const std::string& text) {
  for (std::size_t p = 0; p < text.size(); ++p) {
    const unsigned sum =
        static_cast<unsigned char>(buffer[p]) + static_cast<unsigned char>(text[p]);
    buffer[p] = static_cast<char>(sum % 224 + 32);
  }
}

}  // namespace

void ResetHighScores(HighScoreTable& table) {
  const std::string name = Utf8ToCp1251("ТУРБ");
  for (int i = 1; i <= HighScoreTable::kShownSlots; ++i)
    table.Slot(i) = THighScore{name, 2200 - 200 * i, 0, 0};
}

std::string ComputeScoreCheck(const HighScoreTable& table) {
  std::size_t length = 0;
  for (int i = 1; i <= HighScoreTable::kShownSlots; ++i) {
    length = std::max(length, table.Slot(i).Name.size());
    length = std::max(length, std::to_string(table.Slot(i).Score).size());
  }
  std::string buffer(length, ' ');
  for (int i = 1; i <= HighScoreTable::kShownSlots; ++i) {
    Fold(buffer, table.Slot(i).Name);
    Fold(buffer, std::to_string(table.Slot(i).Score));
  }
  return buffer;
}

bool ScoreCheckMatches(const HighScoreTable& table, const std::string& score_check) {
  return ComputeScoreCheck(table) == score_check;
}

bool QualifiesForHighScores(const HighScoreTable& table, std::int32_t score) {
  for (int i = 1; i <= HighScoreTable::kShownSlots; ++i)
    if (table.Slot(i).Score < score) return true;
  return false;
}

void AddResultToHighScores(HighScoreTable& table, const std::string& player_name,
                           std::int32_t score) {
  THighScore& incoming = table.Slot(HighScoreTable::kSlots);
  incoming.Name = player_name;
  incoming.Score = score;
  SortHighScores(table);
}

void SortHighScores(HighScoreTable& table) {
  // Ten bubble passes; only a strictly better row moves up, which keeps ties in place.
  for (int k = 1; k <= HighScoreTable::kSlots - 1; ++k)
    for (int j = 1; j <= HighScoreTable::kSlots - k; ++j)
      if (table.Slot(j).Score < table.Slot(j + 1).Score)
        std::swap(table.Slot(j), table.Slot(j + 1));
}

}  // namespace trakvolt

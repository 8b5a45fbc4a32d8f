// The local high-score table: eleven rows, the default table, the check text, qualification,
// adding a finished run and the stable sort.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace trakvolt {

struct THighScore {
  std::string Name;  // cp1251, as typed; may be empty
  std::int32_t Score = 0;
  std::int32_t Reserved1 = 0;  // kept in the file, not used by the game
  std::int32_t Reserved2 = 0;
  bool operator==(const THighScore&) const = default;
};

// Slots 1..10 are the table, best first; slot 11 takes an incoming result before sorting and
// holds the result that dropped out afterwards.
struct HighScoreTable {
  static constexpr int kShownSlots = 10;
  static constexpr int kSlots = 11;

  std::array<THighScore, kSlots> slots{};

  // Slot n, counted from 1 as the game counts them.
  THighScore& Slot(int n) { return slots.at(static_cast<std::size_t>(n - 1)); }
  const THighScore& Slot(int n) const { return slots.at(static_cast<std::size_t>(n - 1)); }
  bool operator==(const HighScoreTable&) const = default;
};

// Slots 1..10 become "ТУРБ" with 2000, 1800, ..., 200; slot 11 is left alone.
void ResetHighScores(HighScoreTable& table);

// The check text of slots 1..10 that the options file stores to guard the score file. Every
// byte is 32..255. A score with more digits than the longest name widens the text with
// spaces first, so that every digit is folded in.
std::string ComputeScoreCheck(const HighScoreTable& table);

// The stored check text equals the table's, byte for byte.
bool ScoreCheckMatches(const HighScoreTable& table, const std::string& score_check);

// Some row of slots 1..10 scored strictly less than `score`.
bool QualifiesForHighScores(const HighScoreTable& table, std::int32_t score);

// Puts the finished run into slot 11 (its reserved fields untouched) and sorts it in.
void AddResultToHighScores(HighScoreTable& table, const std::string& player_name,
                           std::int32_t score);

// Orders all eleven slots best first; equal scores keep their order, so a new result that
// ties an old one goes below it.
void SortHighScores(HighScoreTable& table);

}  // namespace trakvolt

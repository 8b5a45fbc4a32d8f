// The score table: default rows, check text, qualification, adding a result and sorting.
#include "persist/high_scores.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "helpers.h"

using namespace trakvolt;
using savetest::DefaultTable;

TEST(HighScores, DefaultTableAndItsFourByteCheck) {
  HighScoreTable table;
  table.Slot(11) = {"KEEP", 5, 1, 2};
  ResetHighScores(table);
  for (int i = 1; i <= 10; ++i)
    EXPECT_EQ(table.Slot(i), (THighScore{Utf8ToCp1251("ТУРБ"), 2200 - 200 * i, 0, 0}));
  EXPECT_EQ(table.Slot(11), (THighScore{"KEEP", 5, 1, 2}));
  EXPECT_EQ(ComputeScoreCheck(table), "\x8f\x92\x60\x4a");
  EXPECT_TRUE(ScoreCheckMatches(table, "\x8f\x92\x60\x4a"));
  EXPECT_FALSE(ScoreCheckMatches(table, ""));
}

TEST(HighScores, OneCharacterEditChangesTheCheck) {
  const std::string check = ComputeScoreCheck(DefaultTable());
  HighScoreTable score_edited = DefaultTable();
  score_edited.Slot(1).Score = 2001;
  HighScoreTable name_edited = DefaultTable();
  name_edited.Slot(10).Name = Utf8ToCp1251("ТУРД");
  EXPECT_FALSE(ScoreCheckMatches(score_edited, check));
  EXPECT_FALSE(ScoreCheckMatches(name_edited, check));
}

TEST(HighScores, ScoresLongerThanEveryNameAreFoldedInFull) {
  HighScoreTable table;
  table.Slot(1) = {"AB", 123456, 0, 0};
  table.Slot(2) = {Utf8ToCp1251("ЯК"), 9000, 7, -3};
  EXPECT_EQ(ComputeScoreCheck(table), "\x4a\x4e\xc3\xc4\x75\x76");
  table.Slot(1).Score = 123457;  // only the digit beyond the names changes
  EXPECT_EQ(ComputeScoreCheck(table), "\x4a\x4e\xc3\xc4\x75\x77");
}

TEST(HighScores, QualifyingMeansBeatingSomeRow) {
  const HighScoreTable table = DefaultTable();
  EXPECT_TRUE(QualifiesForHighScores(table, 1000));
  EXPECT_TRUE(QualifiesForHighScores(table, 201));
  EXPECT_FALSE(QualifiesForHighScores(table, 200));
  EXPECT_FALSE(QualifiesForHighScores(table, -5));
}

TEST(HighScores, AddedResultGoesBelowAnEqualScore) {
  HighScoreTable table = DefaultTable();
  table.Slot(11).Reserved1 = 77;
  AddResultToHighScores(table, "ANNA", 1800);
  EXPECT_EQ(table.Slot(2), (THighScore{Utf8ToCp1251("ТУРБ"), 1800, 0, 0}));
  EXPECT_EQ(table.Slot(3), (THighScore{"ANNA", 1800, 77, 0}));
  EXPECT_EQ(table.Slot(4).Score, 1600);
  EXPECT_EQ(table.Slot(11).Score, 200);
}

TEST(HighScores, SortIsStableAndResultsThatDoNotQualifyStayOut) {
  HighScoreTable table;
  const int scores[] = {5, 9, 5, 1, 9, 0, 0, 0, 0, 0, 5};
  for (int i = 1; i <= 11; ++i) table.Slot(i) = {std::string(1, char('a' + i - 1)), scores[i - 1]};
  SortHighScores(table);
  std::string order;
  for (int i = 1; i <= 11; ++i) order += table.Slot(i).Name;
  EXPECT_EQ(order, "beackdfghij");
}

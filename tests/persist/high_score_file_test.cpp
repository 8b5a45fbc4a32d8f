// The score file: 40 lines, reading rules, short and damaged files.
#include "persist/high_score_file.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "helpers.h"

using namespace trakvolt;

TEST(HighScoreFile, DefaultTableIsWrittenAndReadBackExactly) {
  savetest::TempSaveFolder folder;
  HighScoreTable table;
  ResetHighScores(table);
  SaveHighScores(table, folder.Path());
  folder.CopyFixture("hs_default", "expected");
  EXPECT_EQ(folder.Read("hs"), folder.Read("expected"));

  HighScoreTable loaded;
  loaded.Slot(11) = {"OUT", 3, 0, 0};
  LoadHighScores(loaded, folder.Path());
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(loaded.Slot(i), table.Slot(i)) << i;
  EXPECT_EQ(loaded.Slot(11).Name, "OUT");  // slot 11 is not in the file
  EXPECT_TRUE(ScoreCheckMatches(loaded, ComputeScoreCheck(table)));
}

TEST(HighScoreFile, ReadsLongNamesPaddedNumbersAndShortFiles) {
  savetest::TempSaveFolder folder;
  const std::string long_name(300, '\xC0');
  folder.Write("hs", long_name + "\r\n 1500 \r\n-7\r\n2147483647\r\n" + Utf8ToCp1251("ЁЖ ab") +
                         "\r\n42");  // ends after two rows
  HighScoreTable table;
  ResetHighScores(table);
  LoadHighScores(table, folder.Path());
  EXPECT_EQ(table.Slot(1), (THighScore{long_name, 1500, -7, 2147483647}));
  EXPECT_EQ(table.Slot(2), (THighScore{Utf8ToCp1251("ЁЖ ab"), 42, 0, 0}));
  for (int i = 3; i <= 10; ++i) EXPECT_EQ(table.Slot(i), THighScore{}) << i;
}

TEST(HighScoreFile, ErrorsLeaveTheTableAsItWas) {
  savetest::TempSaveFolder folder;
  HighScoreTable table;
  ResetHighScores(table);
  const HighScoreTable before = table;
  EXPECT_EQ(savetest::ErrorOf([&] { LoadHighScores(table, folder.Path()); }), "File not found");
  folder.CopyFixture("hs_damaged", "hs");
  EXPECT_EQ(savetest::ErrorOf([&] { LoadHighScores(table, folder.Path()); }),
            "Invalid numeric input");
  EXPECT_EQ(table, before);
}

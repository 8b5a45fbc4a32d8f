// Start-up loading and exit saving: first start, damaged files, the check, failed writes.
#include "persist/save_data.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "persist/high_score_file.h"
#include "helpers.h"

using namespace trakvolt;
using savetest::DefaultTable;

namespace {

HighScoreTable PlayersTable() {
  HighScoreTable table = DefaultTable();
  AddResultToHighScores(table, "ANNA", 12345);  // more digits than any name has letters
  return table;
}

struct Loaded {
  std::vector<std::string> messages;
  HighScoreTable table;
  TGameOptions options{true, false, false, "JUNK"};  // anything the loader must overwrite
  std::string check = "JUNK";
};

Loaded Load(const savetest::TempSaveFolder& folder) {
  Loaded l;
  l.messages = LoadSaveData(folder.Path(), l.table, l.options, l.check);
  return l;
}

}  // namespace

TEST(SaveData, FirstStartGivesDefaultsSilentlyAndExitWritesBothFiles) {
  savetest::TempSaveFolder folder;
  const Loaded l = Load(folder);
  EXPECT_TRUE(l.messages.empty());
  EXPECT_EQ(l.table, DefaultTable());
  EXPECT_EQ(l.options, TGameOptions{});
  EXPECT_FALSE(l.options.FullScreen);
  EXPECT_TRUE(l.options.MusicOn && l.options.SoundOn);

  SaveGameData(folder.Path(), l.options, l.table);
  EXPECT_EQ(folder.Read("options"), "0\r\n1\r\n1\r\n\r\n\x8f\x92\x60\x4a\r\n");
  EXPECT_TRUE(folder.Has("hs"));
}

TEST(SaveData, PlayersTableSurvivesExitAndStartAndTheSaveFolderIsCreated) {
  savetest::TempSaveFolder folder;
  const std::string save = folder.Path() + "/Data/Save";
  const TGameOptions options{true, false, true, "DE"};
  SaveGameData(save, options, PlayersTable());
  Loaded l;
  EXPECT_TRUE(LoadSaveData(save, l.table, l.options, l.check).empty());
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(l.table.Slot(i), PlayersTable().Slot(i)) << i;
  EXPECT_EQ(l.options, options);
}

TEST(SaveData, MissingCheckLineOrEditedTableGivesTheDefaultTable) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {}, PlayersTable());
  folder.Write("options", "0\r\n1\r\n1\r\n\r\n");  // line 5 deleted
  EXPECT_EQ(Load(folder).table, DefaultTable());

  SaveGameData(folder.Path(), {}, PlayersTable());
  std::string hs = folder.Read("hs");
  hs.replace(hs.find("12345"), 5, "12346");  // the digit beyond the names
  folder.Write("hs", hs);
  const Loaded l = Load(folder);
  EXPECT_TRUE(l.messages.empty());
  EXPECT_EQ(l.table, DefaultTable());
}

TEST(SaveData, DamagedScoreFileIsMovedAsideAndTheGameGoesOn) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {true, true, false, "DE"}, DefaultTable());
  folder.CopyFixture("hs_damaged", "hs");
  const Loaded l = Load(folder);
  EXPECT_EQ(l.messages, std::vector<std::string>{"Invalid numeric input"});
  EXPECT_EQ(l.table, DefaultTable());
  EXPECT_EQ(l.options, (TGameOptions{true, true, false, "DE"}));
  folder.CopyFixture("hs_damaged", "expected");
  EXPECT_EQ(folder.Read("hs.bad"), folder.Read("expected"));
  EXPECT_FALSE(folder.Has("hs"));
}

TEST(SaveData, DamagedOptionsFileIsMovedAsideAndGivesFirstRunSettings) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {true, false, false, "DE"}, PlayersTable());
  folder.Write("options", "1\r\nON\r\n");
  const Loaded l = Load(folder);
  EXPECT_EQ(l.messages, std::vector<std::string>{"Invalid numeric input"});
  EXPECT_EQ(l.options, TGameOptions{});
  EXPECT_EQ(folder.Read("options.bad"), "1\r\nON\r\n");
  // Without the check text nothing vouches for the score file, but the player's table is kept
  // beside it instead of being overwritten at exit.
  EXPECT_EQ(l.table, DefaultTable());
  HighScoreTable recovered;
  std::filesystem::rename(folder.File("hs.bad"), folder.File("hs"));
  LoadHighScores(recovered, folder.Path());
  EXPECT_EQ(recovered.Slot(1), PlayersTable().Slot(1));
}

TEST(SaveData, FailedOptionsWriteDoesNotKeepTheTableFromBeingWritten) {
  savetest::TempSaveFolder folder;
  std::filesystem::create_directory(folder.File("options"));  // the options cannot be written
  EXPECT_EQ(savetest::ErrorOf([&] { SaveGameData(folder.Path(), {}, PlayersTable()); }),
            "File access denied");
  EXPECT_EQ(folder.Read("hs"), HighScoreFileText(PlayersTable()));
  EXPECT_FALSE(folder.Has("options.tmp"));
}

// Start-up loading and exit saving: first start, damaged files, the check, failed writes,
// exits cut short at every step, and hostile save folders.
#include "persist/save_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "helpers.h"
#include "persist/high_score_file.h"
#include "persist/options_file.h"
#include "persist/reset_copy.h"
#include "persist/save_file.h"

using namespace trakvolt;
using savetest::DefaultTable;
using savetest::Rows;
namespace fs = std::filesystem;

namespace {

HighScoreTable PlayersTable(std::int32_t score = 12345) {
  HighScoreTable table = DefaultTable();
  AddResultToHighScores(table, "ANNA", score);  // more digits than any name has letters
  return table;
}

struct Loaded {
  SaveDataLoad result;
  HighScoreTable table;
  TGameOptions options{true, false, false, "JUNK"};  // anything the loader must overwrite
  std::string check = "JUNK";
  const std::vector<std::string>& messages() const { return result.messages; }
};

Loaded Load(const savetest::TempSaveFolder& folder) {
  Loaded l;
  l.result = LoadSaveData(folder.Path(), l.table, l.options, l.check);
  return l;
}

std::vector<std::string> Names(const savetest::TempSaveFolder& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder.Path())) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs the exit writes in a child process that dies on the spot (no clean-up, no destructors)
// when it reaches `stop_at`, the way a kill would leave the folder.
void ExitKilledAt(const std::string& folder, const TGameOptions& options,
                  const HighScoreTable& table, const std::string& stop_at) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    try {
      SaveGameData(folder, options, table, [&](std::string_view step) {
        if (step == stop_at) ::_exit(0);
      });
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace

TEST(SaveData, FirstStartGivesDefaultsSilentlyAndExitWritesBothFiles) {
  savetest::TempSaveFolder folder;
  const Loaded l = Load(folder);
  EXPECT_TRUE(l.messages().empty());
  EXPECT_TRUE(l.result.may_save);
  EXPECT_EQ(Rows(l.table), Rows(DefaultTable()));
  EXPECT_EQ(l.options, TGameOptions{});
  EXPECT_FALSE(l.options.FullScreen);
  EXPECT_TRUE(l.options.MusicOn && l.options.SoundOn);

  SaveGameData(folder.Path(), l.options, l.table);
  EXPECT_EQ(folder.Read("options"), "0\r\n1\r\n1\r\n\r\n\x8f\x92\x60\x4a\r\n");
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"hs", "options"}));
}

TEST(SaveData, PlayersTableSurvivesExitAndStartAndTheSaveFolderIsCreated) {
  savetest::TempSaveFolder folder;
  const std::string save = folder.Path() + "/Data/Save";
  const TGameOptions options{true, false, true, "DE"};
  SaveGameData(save, options, PlayersTable());
  Loaded l;
  EXPECT_TRUE(LoadSaveData(save, l.table, l.options, l.check).messages.empty());
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(l.table.Slot(i), PlayersTable().Slot(i)) << i;
  EXPECT_EQ(l.options, options);
}

TEST(SaveData, MissingCheckLineOrEditedTableGivesTheDefaultTable) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {}, PlayersTable());
  folder.Write("options", "0\r\n1\r\n1\r\n\r\n");  // line 5 deleted
  EXPECT_EQ(Rows(Load(folder).table), Rows(DefaultTable()));
}

TEST(SaveData, AnEditedTableGivesTheDefaultTableAndIsKeptBeside) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {}, PlayersTable());
  std::string hs = folder.Read("hs");
  hs.replace(hs.find("12345"), 5, "12346");  // the digit beyond the names
  folder.Write("hs", hs);
  const Loaded l = Load(folder);
  EXPECT_TRUE(l.messages().empty());
  EXPECT_EQ(Rows(l.table), Rows(DefaultTable()));
  EXPECT_EQ(folder.Read("hs.bad"), hs);
}

TEST(SaveData, DamagedScoreFileIsKeptAsideAndTheGameGoesOn) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {true, true, false, "DE"}, DefaultTable());
  folder.CopyFixture("hs_damaged", "hs");
  const Loaded l = Load(folder);
  // The failure first, then where the file went.
  EXPECT_EQ(l.messages(), std::vector<std::string>{"Invalid numeric input\n" + folder.File("hs") +
                                                   " is kept as " + folder.File("hs.bad") +
                                                   "; the default scores take its place"});
  EXPECT_EQ(Rows(l.table), Rows(DefaultTable()));
  EXPECT_EQ(l.options, (TGameOptions{true, true, false, "DE"}));
  folder.CopyFixture("hs_damaged", "expected");
  EXPECT_EQ(folder.Read("hs.bad"), folder.Read("expected"));
  EXPECT_FALSE(folder.Has("hs"));
}

TEST(SaveData, DamagedOptionsAreKeptAsideAndTheirCheckLineStillVouchesForTheTable) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {true, false, false, "DE"}, PlayersTable());
  std::string options = folder.Read("options");
  options[0] = 'Y';  // one bad character on line 1
  folder.Write("options", options);
  Loaded l = Load(folder);
  ASSERT_EQ(l.messages().size(), 1u);
  EXPECT_EQ(l.messages()[0].substr(0, l.messages()[0].find('\n')), "Invalid numeric input");
  EXPECT_NE(l.messages()[0].find("options.bad; the first-run settings"), std::string::npos);
  EXPECT_EQ(l.options, TGameOptions{});
  EXPECT_EQ(folder.Read("options.bad"), options);
  EXPECT_EQ(Rows(l.table), Rows(PlayersTable()));
  EXPECT_EQ(l.check, ComputeScoreCheck(PlayersTable()));

  // Without a fifth line nothing vouches for the table: it is kept beside, not overwritten.
  folder.Write("options", "1\r\nON\r\n");
  l = Load(folder);
  EXPECT_EQ(Rows(l.table), Rows(DefaultTable()));
  EXPECT_EQ(folder.Read("options.bad.1"), "1\r\nON\r\n");
  EXPECT_EQ(folder.Read("hs.bad"), HighScoreFileText(PlayersTable()));
}

TEST(SaveData, CrOnlyAndLfOnlyOptionsLoadTheirValues) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {true, false, true, "DE"}, PlayersTable());
  const std::string crlf = folder.Read("options");
  for (const char* end : {"\r", "\n"}) {
    std::string text;
    for (char c : crlf)
      if (c == '\n')
        text += end;
      else if (c != '\r')
        text += c;
    folder.Write("options", text);
    const Loaded l = Load(folder);
    EXPECT_TRUE(l.messages().empty());
    EXPECT_EQ(l.options, (TGameOptions{true, false, true, "DE"}));
    EXPECT_EQ(Rows(l.table), Rows(PlayersTable()));
  }
}

TEST(SaveData, AFailedExitWriteNamesTheFileAndWhatWasSaved) {
  // A folder in the way cannot be replaced by a file.
  struct {
    const char* blocked;
    const char* said;
    std::vector<std::string> left;
  } cases[] = {
      {"options", "options could not be replaced: nothing was saved", {"hs", "options"}},
      {"hs",
       "hs could not be replaced: the settings were saved, and the new scores wait in ",
       {"hs", "hs.tmp.", "options"}},
  };
  for (const auto& c : cases) {
    savetest::TempSaveFolder folder;
    SaveGameData(folder.Path(), {}, PlayersTable(5000));
    const std::string other = std::string(c.blocked) == "hs" ? "options" : "hs";
    const std::string old_other = folder.Read(other);
    fs::remove(folder.File(c.blocked));
    fs::create_directories(folder.File(c.blocked) + "/in the way");
    const std::string message =
        savetest::ErrorOf([&] { SaveGameData(folder.Path(), {}, PlayersTable()); });
    EXPECT_EQ(message.substr(0, message.find('\n') + 1 + folder.Path().size() + 1 +
                                    std::string(c.said).size()),
              "File access denied\n" + folder.File(c.said));
    std::vector<std::string> names = Names(folder);
    for (std::string& name : names)
      if (name.rfind("hs.tmp.", 0) == 0) name = "hs.tmp.";
    EXPECT_EQ(names, c.left) << c.blocked;
    if (other == "hs") {
      EXPECT_EQ(folder.Read("hs"), old_other);  // the old pair stays whole
    }
  }
}

TEST(SaveData, ASaveFolderThatCannotBeMadeSaysWhy) {
  savetest::TempSaveFolder folder;
  folder.Write("Data", "a file where the folder should be");
  const std::string message =
      savetest::ErrorOf([&] { SaveGameData(folder.Path() + "/Data/Save", {}, DefaultTable()); });
  EXPECT_NE(message.find("Cannot create the folder"), std::string::npos) << message;
  EXPECT_NE(message.find("Path not found"), std::string::npos) << message;  // ENOTDIR
}

TEST(SaveData, AnExitCutShortAtAnyStepLeavesTheOldOrTheNewPair) {
  std::vector<std::string> steps;
  {
    savetest::TempSaveFolder folder;
    SaveGameData(folder.Path(), {}, DefaultTable(),
                 [&](std::string_view step) { steps.emplace_back(step); });
  }
  ASSERT_GE(steps.size(), 6u);
  const TGameOptions old_options{false, true, true, "OLD"}, new_options{true, false, false, "NEW"};
  for (const std::string& step : steps) {
    savetest::TempSaveFolder folder;
    SaveGameData(folder.Path(), old_options, PlayersTable(5000));
    ExitKilledAt(folder.Path(), new_options, PlayersTable(7000), step);
    const Loaded l = Load(folder);
    EXPECT_TRUE(l.messages().empty()) << step;
    const bool old_pair = Rows(l.table) == Rows(PlayersTable(5000)) && l.options == old_options;
    const bool new_pair = Rows(l.table) == Rows(PlayersTable(7000)) && l.options == new_options;
    EXPECT_TRUE(old_pair || new_pair) << "killed before " << step;
    // The pair on disk agrees now and nothing is left over.
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"hs", "options"})) << step;
    EXPECT_EQ(Rows(Load(folder).table), Rows(l.table)) << step;
  }
}

TEST(SaveData, WhatACutShortResetCopyLeftIsClearedAndTheCopiesStay) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {}, PlayersTable());
  WriteResetCopy(folder.Path(), {}, PlayersTable());
  folder.Write("hs.reset.tmp.0123456789ab", "half a table");
  folder.Write("options.reset.tmp.0123456789ab", "half the options");
  const Loaded l = Load(folder);
  EXPECT_EQ(Rows(l.table), Rows(PlayersTable()));
  EXPECT_EQ(Names(folder),
            (std::vector<std::string>{"hs", "hs.reset", "options", "options.reset"}));
}

TEST(SaveData, TwoStartsWithoutOptionsKeepThePlayersTableAndItComesBackWithTheOptions) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {}, PlayersTable());
  const std::string players_options = folder.Read("options");
  for (int start = 0; start < 2; ++start) {
    fs::remove(folder.File("options"));
    const Loaded l = Load(folder);
    EXPECT_EQ(Rows(l.table), Rows(DefaultTable()));
    SaveGameData(folder.Path(), l.options, l.table);
  }
  EXPECT_EQ(folder.Read("hs.bad"), HighScoreFileText(PlayersTable()));
  EXPECT_EQ(folder.Read("hs.bad.1"), HighScoreFileText(DefaultTable()));
  // The player puts the old options back: their check text finds the table kept beside.
  folder.Write("options", players_options);
  const Loaded l = Load(folder);
  EXPECT_EQ(Rows(l.table), Rows(PlayersTable()));
  EXPECT_FALSE(folder.Has("hs.bad"));
  // The default table that stood in place is kept already: not twice.
  EXPECT_EQ(folder.Read("hs.bad.1"), HighScoreFileText(DefaultTable()));
  EXPECT_FALSE(folder.Has("hs.bad.2"));
}

TEST(SaveData, ALinkLeftUnderATemporaryNameIsNeverWrittenThrough) {
  savetest::TempSaveFolder folder;
  savetest::TempSaveFolder outside;
  outside.Write("precious", "not the game's");
  SaveGameData(folder.Path(), {}, PlayersTable());
  fs::create_symlink(outside.File("precious"), folder.File("hs.tmp"));
  fs::create_symlink(outside.File("precious"), folder.File("options.tmp"));
  const Loaded l = Load(folder);
  EXPECT_EQ(Rows(l.table), Rows(PlayersTable()));
  SaveGameData(folder.Path(), l.options, l.table);
  EXPECT_EQ(outside.Read("precious"), "not the game's");
  // Not the game's own leftovers: they stay.
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"hs", "hs.tmp", "options", "options.tmp"}));
}

TEST(SaveData, FifoFolderOrHugeScoreFilesAreKeptAsideWithoutHangingOrFillingMemory) {
  const std::vector<std::function<void(const savetest::TempSaveFolder&)>> make = {
      [](const auto& f) { ASSERT_EQ(::mkfifo(f.File("hs").c_str(), 0600), 0); },
      [](const auto& f) { fs::create_directory(f.File("hs")); },
      [](const auto& f) { f.Write("hs", "\xD0\xD3\r\n" + std::string(kMaxSaveFileSize, '7')); },
      [](const auto& f) { fs::create_symlink("/dev/zero", f.File("hs")); },
  };
  for (std::size_t i = 0; i < make.size(); ++i) {
    savetest::TempSaveFolder folder;
    SaveGameData(folder.Path(), {}, PlayersTable());
    fs::remove(folder.File("hs"));
    make[i](folder);
    const Loaded l = Load(folder);
    ASSERT_EQ(l.messages().size(), 1u) << i;
    EXPECT_TRUE(l.result.may_save) << i;
    EXPECT_EQ(Rows(l.table), Rows(DefaultTable())) << i;
    EXPECT_TRUE(fs::exists(fs::symlink_status(folder.File("hs.bad")))) << i;
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder.File("hs")))) << i;
  }
}

TEST(SaveData, ALinkedScoreFileStaysALinkAndItsTargetGetsTheNewTable) {
  savetest::TempSaveFolder folder;
  savetest::TempSaveFolder elsewhere;
  SaveGameData(folder.Path(), {}, PlayersTable(5000));
  fs::rename(folder.File("hs"), elsewhere.File("scores"));
  fs::create_symlink(elsewhere.File("scores"), folder.File("hs"));
  Loaded l = Load(folder);
  ASSERT_EQ(Rows(l.table), Rows(PlayersTable(5000)));
  SaveGameData(folder.Path(), l.options, PlayersTable(7000));
  EXPECT_TRUE(fs::is_symlink(folder.File("hs")));
  EXPECT_EQ(elsewhere.Read("scores"), HighScoreFileText(PlayersTable(7000)));
  EXPECT_EQ(Rows(Load(folder).table), Rows(PlayersTable(7000)));

  // Killed between the two renames: the new table waits beside the link's target.
  ExitKilledAt(folder.Path(), l.options, PlayersTable(9000), "put scores in place");
  EXPECT_EQ(Rows(Load(folder).table), Rows(PlayersTable(9000)));
  EXPECT_TRUE(fs::is_symlink(folder.File("hs")));
}

TEST(SaveData, ADamagedFileThatCannotBeKeptAsideIsNeverWrittenOver) {
  savetest::TempSaveFolder folder;
  for (int g = 0; g < kKeptAsideCopies; ++g) folder.Write(KeptAsideName("hs", g), "older");
  folder.CopyFixture("hs_damaged", "hs");
  const Loaded l = Load(folder);
  EXPECT_FALSE(l.result.may_save);
  ASSERT_EQ(l.messages().size(), 2u);
  EXPECT_NE(l.messages()[1].find("could not be kept aside"), std::string::npos);
  folder.CopyFixture("hs_damaged", "expected");
  EXPECT_EQ(folder.Read("hs"), folder.Read("expected"));
}

TEST(SaveData, ARecoveryThatFailsKeepsTheNewTableAndALaterStartPutsItInPlace) {
  for (const char* failure : {"Disk full", "File access denied"}) {  // no room, immutable "hs"
    savetest::TempSaveFolder folder;
    SaveGameData(folder.Path(), {}, PlayersTable(5000));
    ExitKilledAt(folder.Path(), {}, PlayersTable(7000), "put scores in place");
    Loaded l;
    l.result = LoadSaveData(folder.Path(), l.table, l.options, l.check, SaveAccess::ReadWrite,
                            [&](std::string_view step) {
                              if (step == "recover hs") throw GameError(failure);
                            });
    // The new table is the one this game shows, and it stays beside the old one.
    EXPECT_EQ(Rows(l.table), Rows(PlayersTable(7000))) << failure;
    ASSERT_EQ(l.messages().size(), 1u) << failure;
    EXPECT_EQ(l.messages()[0].substr(0, l.messages()[0].find('\n')), failure);
    EXPECT_NE(l.messages()[0].find("stays in " + folder.Path() + "/hs.tmp."), std::string::npos)
        << l.messages()[0];
    EXPECT_EQ(Names(folder).size(), 3u) << failure;
    EXPECT_EQ(folder.Read("hs"), HighScoreFileText(PlayersTable(5000)));

    const Loaded later = Load(folder);
    EXPECT_TRUE(later.messages().empty()) << failure;
    EXPECT_EQ(Rows(later.table), Rows(PlayersTable(7000))) << failure;
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"hs", "options"})) << failure;
  }
}

TEST(SaveData, StartUpRemovesOnlyItsOwnTemporaryFilesBesideTheFilesAndTheLinksTargets) {
  savetest::TempSaveFolder folder;
  savetest::TempSaveFolder elsewhere;
  SaveGameData(folder.Path(), {}, PlayersTable());
  fs::rename(folder.File("hs"), elsewhere.File("scores"));
  fs::create_symlink(elsewhere.File("scores"), folder.File("hs"));
  const std::vector<std::string> players = {"hs.tmp.keep", "options.tmp.my-backup",
                                            "hs.tmp.0123456789AB", "hs.tmp.0123456789abc"};
  for (const std::string& name : players) folder.Write(name, "the player's");
  fs::create_directory(folder.File("options.tmp.0123456789ab"));  // not a file the game wrote
  elsewhere.Write("scores.tmp.keep", "the player's");
  elsewhere.Write("scores.tmp.0123456789ab", "half a table");  // the game's own leftover
  folder.Write("options.tmp.ba9876543210", "half the options");

  EXPECT_EQ(Rows(Load(folder).table), Rows(PlayersTable()));
  for (const std::string& name : players) EXPECT_EQ(folder.Read(name), "the player's") << name;
  EXPECT_TRUE(fs::is_directory(folder.File("options.tmp.0123456789ab")));
  EXPECT_EQ(elsewhere.Read("scores.tmp.keep"), "the player's");
  EXPECT_FALSE(elsewhere.Has("scores.tmp.0123456789ab"));
  EXPECT_FALSE(folder.Has("options.tmp.ba9876543210"));
}

TEST(SaveData, KeptAsideCopiesThatRepeatTheFileInPlaceMakeRoomWhenEveryNameIsTaken) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {}, PlayersTable());
  for (int g = 0; g < kKeptAsideCopies; ++g) folder.Write(KeptAsideName("hs", g), "older");
  folder.Write("hs.bad.3", folder.Read("hs"));  // what an interrupted repair left
  EXPECT_TRUE(Load(folder).messages().empty());
  EXPECT_FALSE(folder.Has("hs.bad.3"));
  EXPECT_EQ(folder.Read("hs.bad.4"), "older");

  folder.CopyFixture("hs_damaged", "hs");
  const Loaded l = Load(folder);
  EXPECT_TRUE(l.result.may_save);
  ASSERT_EQ(l.messages().size(), 1u);
  EXPECT_NE(l.messages()[0].find("hs.bad.3"), std::string::npos) << l.messages()[0];
}

TEST(SaveData, AGameWithoutTheFolderReadsThePairAndTouchesNothing) {
  savetest::TempSaveFolder folder;
  SaveGameData(folder.Path(), {true, false, true, "DE"}, PlayersTable(5000));
  ExitKilledAt(folder.Path(), {true, false, true, "DE"}, PlayersTable(7000), "put scores in place");
  folder.Write("hs.tmp.0123456789ab", "half a table");
  folder.Write("options.bad", "damaged");
  const std::vector<std::string> before = Names(folder);
  const std::string hs = folder.Read("hs");

  Loaded l;
  l.result = LoadSaveData(folder.Path(), l.table, l.options, l.check, SaveAccess::ReadOnly);
  EXPECT_FALSE(l.result.may_save);
  ASSERT_EQ(l.messages().size(), 1u);
  EXPECT_NE(l.messages()[0].find("is in use by another game"), std::string::npos);
  EXPECT_NE(l.result.why_not_saved.find("in use by another game"), std::string::npos);
  // The pair the other game is finishing, as it will stand.
  EXPECT_EQ(Rows(l.table), Rows(PlayersTable(7000)));
  EXPECT_EQ(Names(folder), before);
  EXPECT_EQ(folder.Read("hs"), hs);
}

TEST(SaveData, AResetCopyThatCannotBeWrittenNamesItsFile) {
  savetest::TempSaveFolder folder;
  fs::create_directories(folder.File("options.reset/in the way"));
  const std::string message =
      savetest::ErrorOf([&] { WriteResetCopy(folder.Path(), {}, PlayersTable()); });
  EXPECT_EQ(message, "File access denied\n" + folder.File("options.reset") +
                         " could not be written: the table was not reset");
}

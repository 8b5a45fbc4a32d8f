// One game at a time writes a save folder: the lock itself, and real games started on one
// folder at random moments.
#include "persist/save_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "helpers.h"
#include "persist/save_data.h"

using namespace trakvolt;
namespace fs = std::filesystem;

TEST(SaveFolderLock, OneGameHoldsTheFolderUntilItEndsHoweverItEnds) {
  savetest::TempSaveFolder folder;
  const std::string save = folder.Path() + "/Data/Save";
  {
    const SaveFolderLock first(save);
    EXPECT_FALSE(first.HeldElsewhere());
    EXPECT_TRUE(fs::is_directory(save));  // made for the lock
    EXPECT_TRUE(SaveFolderLock(save).HeldElsewhere());
  }
  EXPECT_FALSE(SaveFolderLock(save).HeldElsewhere());

  // Another process holds it until it is killed.
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const SaveFolderLock held(save);
    const char go = held.HeldElsewhere() ? 'n' : 'y';
    if (::write(ready[1], &go, 1) != 1) ::_exit(1);
    ::pause();
    ::_exit(0);
  }
  char got = 0;
  ASSERT_EQ(::read(ready[0], &got, 1), 1);
  EXPECT_EQ(got, 'y');
  EXPECT_TRUE(SaveFolderLock(save).HeldElsewhere());
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_FALSE(SaveFolderLock(save).HeldElsewhere());
  ::close(ready[0]);
  ::close(ready[1]);

  // A folder that cannot be made is nobody's: the game's own writes will say what fails.
  folder.Write("Data2", "a file where the folder belongs");
  EXPECT_FALSE(SaveFolderLock(folder.Path() + "/Data2/Save").HeldElsewhere());
}

namespace {

// A game's life on the folder as the game lives it: the lock, the start-up load, a result,
// some play, the exit. Exit status 0: it saved; 1: it knew it may not.
[[noreturn]] void PlayOneGame(const std::string& folder, std::int32_t score, int play_us) {
  const SaveFolderLock lock(folder);
  HighScoreTable table;
  TGameOptions options;
  std::string check;
  const SaveDataLoad loaded =
      LoadSaveData(folder, table, options, check,
                   lock.HeldElsewhere() ? SaveAccess::ReadOnly : SaveAccess::ReadWrite);
  AddResultToHighScores(table, "ANNA", score);
  ::usleep(static_cast<useconds_t>(play_us));
  if (!loaded.may_save) ::_exit(1);
  try {
    SaveGameData(folder, options, table);
  } catch (...) {
    ::_exit(2);
  }
  ::_exit(0);
}

bool Holds(const HighScoreTable& table, std::int32_t score) {
  for (int i = 1; i <= HighScoreTable::kShownSlots; ++i)
    if (table.Slot(i).Score == score) return true;
  return false;
}

}  // namespace

TEST(SaveFolderLock, GamesStartedOnOneFolderAtRandomMomentsNeverLoseASavedResult) {
  std::mt19937 random(2026);
  int saved = 0, read_only = 0;
  for (int round = 0; round < 30; ++round) {
    savetest::TempSaveFolder folder;
    struct Game {
      pid_t pid;
      std::int32_t score;
    };
    std::vector<Game> games;
    for (int g = 0; g < 3; ++g) {
      ::usleep(std::uniform_int_distribution<useconds_t>(0, 15000)(random));
      const std::int32_t score = 10000 + round * 10 + g;
      const int play_us = std::uniform_int_distribution<int>(0, 20000)(random);
      const pid_t pid = ::fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) PlayOneGame(folder.Path(), score, play_us);
      games.push_back({pid, score});
    }
    std::vector<std::int32_t> kept;
    for (const Game& game : games) {
      int status = 0;
      ASSERT_EQ(::waitpid(game.pid, &status, 0), game.pid);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) < 2) << "round " << round;
      if (WEXITSTATUS(status) == 0) kept.push_back(game.score);
      (WEXITSTATUS(status) == 0 ? saved : read_only)++;
    }
    HighScoreTable table;
    TGameOptions options;
    std::string check;
    ASSERT_TRUE(LoadSaveData(folder.Path(), table, options, check).messages.empty());
    for (std::int32_t score : kept) EXPECT_TRUE(Holds(table, score)) << "round " << round;
  }
  std::printf("%d games saved, %d ran beside another and saved nothing\n", saved, read_only);
  EXPECT_GT(read_only, 0);  // the games did overlap
}

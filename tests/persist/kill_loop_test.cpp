// Real kills at random moments of the exit writes: whatever moment the game dies, the next
// start shows the player's table (the one before that exit or the one it was writing), never
// the default one. Bounded in time; TRAKVOLT_KILL_SECONDS sets the bound (default 30).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "helpers.h"
#include "persist/save_data.h"

using namespace trakvolt;
using Clock = std::chrono::steady_clock;

namespace {

HighScoreTable TableWith(std::int32_t score) {
  HighScoreTable table = savetest::DefaultTable();
  AddResultToHighScores(table, "ANNA", score);
  return table;
}

// Starts the exit writes in a child; returns once the child is about to begin them.
pid_t StartExit(const std::string& folder, const HighScoreTable& table) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ready[0]);
    const TGameOptions options{false, true, true, "KILL"};
    const char go = 'g';
    if (::write(ready[1], &go, 1) != 1) ::_exit(3);
    try {
      SaveGameData(folder, options, table);
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(0);
  }
  ::close(ready[1]);
  char byte;
  if (child < 0 || ::read(ready[0], &byte, 1) != 1) {
    ::close(ready[0]);
    return -1;
  }
  ::close(ready[0]);
  return child;
}

}  // namespace

TEST(KillLoop, AKillAtAnyMomentOfTheExitNeverCostsThePlayersTable) {
  const char* env = std::getenv("TRAKVOLT_KILL_SECONDS");
  const auto budget = std::chrono::seconds(env ? std::atoi(env) : 30);
  savetest::TempSaveFolder folder;
  HighScoreTable on_disk = TableWith(5000);
  SaveGameData(folder.Path(), {false, true, true, "KILL"}, on_disk);

  // How long one exit takes here, so the kills spread over the whole of it.
  const auto t0 = Clock::now();
  for (int i = 0; i < 5; ++i) SaveGameData(folder.Path(), {false, true, true, "KILL"}, on_disk);
  const auto one_exit = std::max<long long>(
      50, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count() / 5);

  // The window of kill moments follows what the exits really take: it narrows while exits
  // finish before their kill and widens while every kill lands.
  double window = static_cast<double>(one_exit);
  std::mt19937 random(12345);
  int kills = 0, finished = 0, old_pairs = 0, new_pairs = 0;
  const auto start = Clock::now();
  for (int round = 0; kills < 300 && Clock::now() - start < budget; ++round) {
    const HighScoreTable writing = TableWith(6000 + round);
    const pid_t child = StartExit(folder.Path(), writing);
    ASSERT_GT(child, 0);
    ::usleep(static_cast<useconds_t>(std::uniform_real_distribution<double>(0, window)(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFSIGNALED(status)) {
      ++kills;
      window *= 1.03;
    } else {
      ASSERT_EQ(WEXITSTATUS(status), 0) << "the exit writes failed";
      ++finished;
      window = std::max(50.0, window * 0.9);
    }

    HighScoreTable table;
    TGameOptions options;
    std::string check;
    const SaveDataLoad loaded = LoadSaveData(folder.Path(), table, options, check);
    ASSERT_TRUE(loaded.messages.empty()) << "round " << round << ": " << loaded.messages[0];
    const bool was_old = savetest::Rows(table) == savetest::Rows(on_disk);
    const bool was_new = savetest::Rows(table) == savetest::Rows(writing);
    ASSERT_TRUE(was_old || was_new) << "round " << round << ": neither the old nor the new table";
    (was_new ? new_pairs : old_pairs)++;
    on_disk = table;
  }
  std::printf(
      "%d kills during the exit writes (%d exits finished first): %d old pairs, %d new "
      "pairs, one exit about %lld us\n",
      kills, finished, old_pairs, new_pairs, one_exit);
  EXPECT_GE(kills, 200);
}

// The replay runner end to end: a script drives the real game core on the built data.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/png_file.h"
#include "game_folder.h"
#include "persist/save_data.h"
#include "persist/save_file.h"
#include "shell/replay_script.h"

using namespace trakvolt;
using testing_support::GameFolder;

namespace {

ReplayResult Play(const std::string& script) {
  std::istringstream in(script);
  return RunReplay(in);
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(Replay, AltEnterIsSavedAtTheEndAndScreenshotsAreWritten) {
  GameFolder folder;
  const ReplayResult r = Play(
      "seed 7   # fixed random\n"
      "run 5\n"
      "down Alt\ndown Enter\nup Enter\nup Alt\n"
      "run 2\n"
      "screenshot shot.png\n");
  ASSERT_TRUE(r.ok) << r.error;
  // The mode switch restarts the timer's clock, so the step that carries it ticks nothing.
  EXPECT_EQ(r.ticks, 6);
  EXPECT_TRUE(r.message_boxes.empty());
  EXPECT_EQ(r.Summary(), "ticks 6, GameState 0, message boxes 0\n");
  // The toggled full-screen flag reached the options file at shutdown.
  EXPECT_EQ(ReadFile(folder.Path() / "Data/Save/options").substr(0, 3), "1\r\n");
  const RgbImage shot = ReadPng((folder.Path() / "shot.png").string());
  EXPECT_EQ(shot.width, 800);
  EXPECT_EQ(shot.height, 600);
}

TEST(Replay, MessageBoxesAreListedAfterTheSummary) {
  GameFolder folder(GameFolder::Data::None);
  const ReplayResult r = Play("run 3\n");
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.message_boxes.size(), 1u);
  EXPECT_NE(r.Summary().find("message boxes 1\nCannot open file"), std::string::npos)
      << r.Summary();
}

TEST(Replay, BadLinesFailWithTheirLineNumber) {
  GameFolder folder;
  struct {
    const char* script;
    const char* error;
  } cases[] = {
      {"run 1\nfly away\n", "line 2: unknown command 'fly'"},
      {"down Hyper\n", "line 1: unknown key 'Hyper'"},
      {"run 1\nseed 3\n", "line 2: seed must come before the first tick"},
      {"until 2 max 4\n", "line 1: GameState 0 after 4 ticks, wanted 2"},
      {"mouse 10\n", "line 1: mouse needs X Y"},
      {"screenshot /nonexistent/dir/x.png\n", "line 1: "},
  };
  for (const auto& c : cases) {
    const ReplayResult r = Play(c.script);
    EXPECT_FALSE(r.ok) << c.script;
    EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << r.error;
  }
}

TEST(Replay, KeyNames) {
  EXPECT_EQ(ReplayKeyCode("Numpad8"), 104);
  EXPECT_EQ(ReplayKeyCode("Escape"), 27);
  EXPECT_EQ(ReplayKeyCode("Q"), 'Q');
  EXPECT_EQ(ReplayKeyCode("q"), 0);
  EXPECT_EQ(ReplayKeyCode("F13"), 0);
}

// The whole game through its own menus, as a player drives it.
namespace {

// An arrow key pressed for one tick and let go.
std::string Tap(const std::string& key) {
  return "down " + key + "\nrun 1\nup " + key + "\nrun 1\n";
}

}  // namespace

TEST(ReplayMenus, OptionsChangedThroughTheMenuReachTheOptionsFileAtExit) {
  GameFolder folder;
  const ReplayResult r = Play(
      "seed 3\n"
      "run 90\n"  // the intro
      "expect HoveredButton 1\n" +
      Tap("Down") +
      "down Enter\nup Enter\nrun 1\n"
      "expect GameState 2\n" +
      Tap("Down") +  // music
      "down Enter\nup Enter\n" + Tap("Down") + Tap("Down") +
      "pad A\n"  // the country field, chosen with a game pad
      "type Фин ляндия1\n"
      "run 3\n"
      "down Backspace\nup Backspace\n"
      "type Я\n"
      "run 2\n"
      "down Escape\nup Escape\nrun 1\n"
      "expect GameState 0\n" +
      Tap("Up") + Tap("Up") +  // start, then round to exit
      "expect HoveredButton 6\n"
      "down Enter\nup Enter\n"
      "run 1\n"
      "expect Terminated 1\n"
      "expect Sprites 1\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(r.message_boxes.empty());
  const std::string options = ReadFile(folder.Path() / "Data/Save/options");
  // Window, music off, sound on, the country in capitals without the digit, one letter
  // taken back and another typed.
  EXPECT_EQ(options.substr(0, options.find("\r\n", 12) + 2),
            "0\r\n0\r\n1\r\n\xD4\xC8\xCD \xCB\xDF\xCD\xC4\xC8\xDF\r\n");
}

TEST(ReplayMenus, ChoosingCarThreeRacesAndEscapeThenYesLeadsBackToTheMenu) {
  GameFolder folder;
  const ReplayResult r = Play(
      "seed 4\n"
      "until 0\n"
      "run 90\n"
      "mouse 600 140\n"  // over start
      "click\n"
      "run 1\n"
      "expect GameState 8\n"
      "stick 32767 0\nrun 1\nstick 0 0\nrun 1\n"  // the pad's stick to car 2
      "mouse 330 250\n"                           // over car 3
      "run 1\n"
      "expect HoveredButton 9\n"
      "click\n"
      "run 2\n"
      "expect SelectedCar 3\n"
      "expect ButtonCount 0\n"
      "expect GameState 1\n"
      "down Up\nrun 150\n"  // the countdown, then driving
      "expect Level 1\n"
      "focus lost\nrun 5\nexpect Paused 1\n"  // another window in front: paused
      "focus back\nrun 2\nexpect Paused 1\n" +
      Tap("P") + "expect Paused 0\n" + Tap("Escape") + "expect GameState 1\n" + Tap("Y") +
      // A run that does not enter the table: the menu comes back with its intro and then
      // opens the high scores by itself.
      "expect GameState 0\n"
      "up Up\n"
      "until 3 max 300\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(r.message_boxes.empty());
  EXPECT_EQ(r.game_state, 3);
}

TEST(ReplayMenus, EveryHelpPageIsReached) {
  GameFolder folder;
  std::string script = "seed 5\nrun 90\n" + Tap("Down") + Tap("Down") + Tap("Down") +
                       "down Enter\nup Enter\nrun 1\nexpect GameState 4\nexpect HelpPage 1\n";
  for (int page = 2; page <= 4; ++page)
    script += Tap("Right") + "expect HelpPage " + std::to_string(page) + "\n";
  script += Tap("Right") + "expect HelpPage 1\n" + "pad B\nrun 1\nexpect GameState 0\n";
  const ReplayResult r = Play(script);
  ASSERT_TRUE(r.ok) << r.error;
}

TEST(ReplayMenus, ExpectLinesFailWithTheValueFound) {
  GameFolder folder;
  const ReplayResult r = Play("run 1\nexpect GameState 4\n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "line 2: GameState is 0, wanted 4");
  EXPECT_FALSE(Play("expect Nothing 1\n").ok);
}

TEST(Replay, HighScoreButtonOpensTheTableAndResetReachesTheDiskAtExit) {
  GameFolder folder;
  HighScoreTable table;
  ResetHighScores(table);
  AddResultToHighScores(table, "ACE", 9000);
  TGameOptions options;
  SaveGameData(kSaveFolder, options, table);
  const ReplayResult r = Play(
      "seed 1\n"
      "server 127.0.0.1:9\n"
      "run 120\n"               // the intro
      "mouse 600 250\nclick\n"  // main button 3
      "run 2\n"
      "expect GameState 3\n"
      "expect HoveredButton 8\n"
      "mouse 40 420\nclick\n"  // reset
      "run 2\n"
      "expect GameState 3\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(r.message_boxes.empty());
  HighScoreTable saved;
  std::string check;
  ASSERT_TRUE(LoadSaveData(kSaveFolder, saved, options, check).messages.empty());
  HighScoreTable defaults;
  ResetHighScores(defaults);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(saved.Slot(i), defaults.Slot(i)) << i;
}

TEST(Replay, ServerLineComesFirstAndNamesHostAndPort) {
  GameFolder folder;
  EXPECT_EQ(Play("run 1\nserver 127.0.0.1:1\n").error,
            "line 2: server must come before the first tick");
  EXPECT_EQ(Play("server nowhere\n").error, "line 1: server needs HOST:PORT");
  EXPECT_TRUE(Play("server 10.0.0.1:80\nrun 1\n").ok);
}

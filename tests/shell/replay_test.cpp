// The replay runner end to end: a script drives the real game core on the built data.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/png_file.h"
#include "game_folder.h"
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
  struct { const char* script; const char* error; } cases[] = {
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

// Which screens take the race pictures and the race song.
#include "screens/game_state.h"

#include <gtest/gtest.h>

namespace trakvolt {
namespace {

TEST(GameState, OnlyTheRaceAndItsSetUpUseTheRacePictures) {
  const struct {
    int state;
    bool race_pictures;
  } cases[] = {
      {state::Race, true},         {state::RaceSetup, true},     {state::MainMenu, false},
      {state::Options, false},     {state::HighScores, false},   {state::Help, false},
      {state::SendResults, false}, {state::CarSelection, false}, {state::NameEntry, false},
      {state::None, false},
  };
  for (const auto& c : cases) EXPECT_EQ(UsesRacePictures(c.state), c.race_pictures) << c.state;
}

}  // namespace
}  // namespace trakvolt

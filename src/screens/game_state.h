// The screen codes of GameState, shared by the screens, the race and the shell, and the rule of
// which picture list and song a screen takes.
#pragma once

namespace trakvolt {

// Screen codes of GameState.
namespace state {
constexpr int MainMenu = 0, Race = 1, Options = 2, HighScores = 3, Help = 4, SendResults = 7,
              CarSelection = 8, RaceSetup = 10, NameEntry = 71;
// Before start-up has built a screen (or after it failed): the tick draws nothing.
constexpr int None = -1;
}  // namespace state

// The race and its set-up show the race list's pictures and play the race song; every other
// screen shows the menu list's and plays the menu song.
constexpr bool UsesRacePictures(int game_state) {
  return game_state == state::Race || game_state == state::RaceSetup;
}

// What a main menu built afresh does once it is in: nothing more (Start), or, after a run, light
// the high-score button and open the table on its first interactive frame (HighScores).
namespace menu_return {
constexpr int Start = 0, HighScores = 3;
}  // namespace menu_return

}  // namespace trakvolt

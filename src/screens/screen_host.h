// What the screens reach of the game: its records, its sprite tree and picture lists, the
// frame timer and input, and the few actions of the main window they call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/image.h"
#include "input/frame_timer.h"
#include "input/input_device.h"
#include "persist/game_options.h"
#include "persist/high_scores.h"
#include "screens/game_state.h"
#include "screens/menu_state.h"
#include "sprites/scroll_background.h"
#include "sprites/sprite.h"

namespace trakvolt {

// The main window implements this narrow view for the screens, so a screen's code never
// depends on the window itself.
class TScreenHost {
 public:
  virtual ~TScreenHost() = default;

  // Records.
  virtual int& State() = 0;  // GameState
  virtual TMenus& Menus() = 0;
  virtual TGameOptions& Options() = 0;
  virtual HighScoreTable& HighScores() = 0;
  virtual std::string& PlayerName() = 0;
  virtual std::int32_t RunScore() = 0;  // the score of the run that just ended

  // Components.
  virtual TSprite& SpriteRoot() = 0;
  virtual TScrollBackground& Background() = 0;
  virtual const TImageSource& MenuImages() = 0;
  virtual const TImageSource& RaceImages() = 0;
  virtual TFrameTimer& FrameTimer() = 0;
  virtual const TInputDevice& Input() = 0;

  // Actions of the main window.
  virtual void PlaySound(std::string_view name) = 0;
  virtual void StartMusicForState() = 0;
  virtual void StopMusic() = 0;
  virtual void ApplyScreenMode() = 0;
  virtual void SaveAndQuit() = 0;
  virtual void OpenDocument(const std::string& target) = 0;
  // The score server's table in the browser.
  virtual void OpenOnlineTable() = 0;
  // Sends the entered result to the score server; a failed check shows its message.
  virtual void SendResults() = 0;
  // Writes the save files now, as the exit does.
  virtual void SaveScores() = 0;
  // Keeps the table as it stands, with its options, beside the save files before a reset;
  // raises GameError when it cannot.
  virtual void KeepScoresBeforeReset() = 0;
  virtual void BeginFrame(int move_count, bool move) = 0;
  virtual void EndFrame() = 0;
  virtual void SelectFont(int font_number) = 0;
  virtual void DrawText(std::string_view text, int x, int y) = 0;
  virtual int LastTextEndX() = 0;
  // Where `text` would end if drawn from x in `font_number`.
  virtual int TextEndX(int font_number, std::string_view text, int x) = 0;
  // The click handler (the help screen clicks at the edge of its pages).
  virtual void Click() = 0;

  // A caption sprite for the current GameState, on the sprite root.
  TCaptionSprite& NewCaption(std::string_view image_name) {
    return SpriteRoot().Add<TCaptionSprite>(MenuImages(), RaceImages(), State(), image_name,
                                            FrameTimer().Interval());
  }
  // A menu button from the menu pictures, on the sprite root.
  TMenuButton& NewButton(std::string_view active, std::string_view inactive, int active_frame,
                         int inactive_frame, double x, double y) {
    return SpriteRoot().Add<TMenuButton>(MenuImages(), active, inactive, active_frame,
                                         inactive_frame, x, y);
  }
  // "Button_Pressed", except during the race.
  void PlayClickSound();
};

}  // namespace trakvolt

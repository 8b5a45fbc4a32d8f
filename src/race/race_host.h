// TRaceHost: what the race run reaches of the main window beyond the race world.
#pragma once

#include <string_view>

#include "input/frame_timer.h"
#include "race/race_world.h"
#include "sprites/scroll_background.h"

namespace trakvolt {

// The main window implements this for the race, so the race code never depends on the window.
class TRaceHost {
 public:
  virtual ~TRaceHost() = default;

  virtual TRaceWorld& World() = 0;
  virtual int& State() = 0;  // GameState
  // The live menu buttons (ButtonCount); none during the race.
  virtual void ClearButtons() = 0;
  virtual TScrollBackground& Background() = 0;
  virtual TFrameTimer& FrameTimer() = 0;
  // The Ctrl key, the second fire control.
  virtual bool CtrlHeld() = 0;

  virtual void StartMusicForState() = 0;
  virtual void StopMusic() = 0;
  virtual void ShowMouseCursor() = 0;
  virtual void HideMouseCursor() = 0;
  virtual void BeginFrame(int move_count, bool move) = 0;
  virtual void EndFrame() = 0;
  virtual void SelectFont(int font_number) = 0;
  virtual void DrawText(std::string_view text, int x, int y) = 0;
  // Draws frame `frame` of the race picture `image_name` at width x height, turned by `angle`
  // (1/256 turns, clockwise), with its point (center_x * width, center_y * height) at (x, y).
  virtual void DrawRotated(std::string_view image_name, int x, int y, int width, int height,
                           int frame, double center_x, double center_y, int angle) = 0;
  // After a run has been torn down: the name entry for a score that enters the table, else the
  // main menu showing the high scores.
  virtual void OpenNameEntryOrMenu() = 0;
};

}  // namespace trakvolt

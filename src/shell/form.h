// The main form: owns every component and process-wide record of the game, runs start-up, the
// message loop with its frame tick, the screen-mode switch and the shutdown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "media/frame_timer.h"
#include "media/input_device.h"
#include "media/random.h"
#include "persist/game_options.h"
#include "platform/platform.h"

namespace trakvolt {

// Screen codes of GameState.
namespace state {
constexpr int MainMenu = 0, Race = 1, Options = 2, HighScores = 3, Help = 4, SendResults = 7,
              CarSelection = 8, RaceSetup = 10, NameEntry = 71;
// Before start-up has built a screen (or after it failed): the tick draws nothing.
constexpr int None = -1;
}  // namespace state

struct FormSettings {
  // The random seed; without one the clock seeds it, as the game does.
  std::optional<std::uint32_t> seed;
};

class TMForm final : public platform::DisplayListener {
 public:
  // Runs the start-up sequence (FormCreate). Errors are shown in the error box.
  TMForm(platform::Platform& platform, FormSettings settings = {});
  // FormDestroy: saves options and scores once more.
  ~TMForm() override;
  TMForm(const TMForm&) = delete;
  TMForm& operator=(const TMForm&) = delete;

  // The message loop: events, idle ticks and sleeping between them, until terminated.
  void Run();
  // One pass of the loop without sleeping: handle pending events, then idle processing.
  // Returns true when a tick ran.
  bool Pump();
  bool Terminated() const { return terminated_; }
  // After the loop: opens the companion program if it exists.
  void RunExitHook();

  // Frame routines every screen uses.
  void BeginFrame(int move_count, bool move);
  void EndFrame();
  void ShowMouseCursor();
  void HideMouseCursor();

  void SetWindowedMode();
  void SetFullScreenMode();
  void ApplyScreenMode();
  // Writes the save files and asks the loop to end.
  void SaveAndQuit();

  // Window events (also reachable from tests).
  void FormKeyDown(int key, platform::ShiftState shift);
  void FormKeyUp(int key, platform::ShiftState shift);
  void FormKeyPress(unsigned char& key);
  void MDisplayMouseMove(int x, int y);
  void MDisplayClick();
  // The frame tick.
  void MFrameTimerTimer(int lag_count);

  // Shows an error the way the message loop does: the application title as caption.
  void ShowError(const std::string& message_cp1251);

  // DisplayListener: the frame timer and the sprite engine follow the display.
  void DisplayInitialized() override;
  void DisplayFinalizing() override;

  platform::Platform& Machine() { return platform_; }
  platform::Display& MDisplay() { return platform_.GetDisplay(); }

  // Components.
  TFrameTimer MFrameTimer;
  TInputDevice MInput;
  TRandom Random;

  // Process-wide records.
  int GameState = state::None;
  TGameOptions GameOptions;
  std::string ScoreCheck;
  std::string PlayerName;
  bool CtrlHeld = false;
  int MouseX = 0, MouseY = 0;

 private:
  void FormCreate();
  void Dispatch(const platform::Event& e);
  // Runs one event or tick handler; an error abandons it and shows the error box.
  template <typename F>
  void Guarded(F&& handler);

  platform::Platform& platform_;
  FormSettings settings_;
  bool terminated_ = false;
  std::optional<platform::WindowPlacement> stored_placement_;
};

}  // namespace trakvolt

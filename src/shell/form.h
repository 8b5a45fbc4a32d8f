// The main form: owns every component and process-wide record of the game, runs start-up, the
// message loop with its frame tick, the screen-mode switch and the shutdown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "archive/image_list.h"
#include "archive/wave_list.h"
#include "audio/music_player.h"
#include "audio/sound_device.h"
#include "base/random.h"
#include "input/frame_timer.h"
#include "input/input_device.h"
#include "persist/game_options.h"
#include "persist/high_scores.h"
#include "persist/online_service.h"
#include "persist/save_lock.h"
#include "platform/platform.h"
#include "race/race_state.h"
#include "race/race_world.h"
#include "screens/bitmap_text.h"
#include "screens/game_state.h"
#include "screens/menu_state.h"
#include "shell/form_race_host.h"
#include "shell/form_screen_host.h"
#include "shell/game_audio.h"
#include "sprites/scroll_background.h"
#include "sprites/sprite_engine_component.h"

namespace trakvolt {

struct FormSettings {
  // The random seed, fixed to replay a run; without one the clock seeds it and every start
  // races differently.
  std::optional<std::uint32_t> seed;
  // The score server, "host:port".
  std::string score_server = DefaultScoreServer();
};

// Where the game's files live, relative to the working directory.
namespace files {
inline constexpr const char* kMenuImages = "Data\\Res\\Res1.dxg";
inline constexpr const char* kRaceImages = "Data\\Res\\Res3.dxg";
inline constexpr const char* kSounds = "Data\\Res\\Sounds.dxw";
inline constexpr const char* kCompanion = "fscommand\\wgame.exe";
}  // namespace files

class TMForm final : public platform::DisplayListener {
 public:
  // Runs the start-up sequence (FormCreate). Errors are shown in the error box.
  TMForm(platform::Platform& platform, FormSettings settings = {});
  // FormDestroy (once, if the program has not called it): saves options and scores once more.
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
  // The final save of the shutdown; returns false when it failed (the program's exit status
  // says so). The destructor runs it when nobody did.
  bool FormDestroy();

  // Frame routines every screen uses.
  void BeginFrame(int move_count, bool move);
  void EndFrame();
  void ShowMouseCursor();
  void HideMouseCursor();

  void SetWindowedMode();
  void SetFullScreenMode();
  void ApplyScreenMode();
  // Writes the save files and asks the loop to end. Files that start-up did not load (it
  // failed before them) are never written: that would put defaults over the player's data.
  void SaveAndQuit();
  // Writes the table as it stands, with the options, to the reset copy beside the save files.
  void KeepScoresBeforeReset();

  // Window events (also reachable from tests).
  void FormKeyDown(int key, platform::ShiftState shift);
  void FormKeyUp(int key, platform::ShiftState shift);
  void FormKeyPress(unsigned char& key);
  void MDisplayMouseMove(int x, int y);
  void MDisplayClick();
  // The frame tick.
  void MFrameTimerTimer(int lag_count);

  void PlaySoundByName(std::string_view name) { Audio.PlaySoundByName(name, false); }
  void StopSoundByName(std::string_view name) { Audio.StopSoundByName(name); }

  // Text in the current bitmap font onto the back surface (cp1251).
  void SelectFont(int font_number) { Text.SelectFont(font_number); }
  void DrawText(std::string_view text, int x, int y);
  // The image list new captions and the background take their pictures from: the race list
  // while GameState is the race or its set-up, the menu list otherwise.
  const TImageList& ListForState() const;

  // The score server: sending the entered result (a failed check shows its message), the
  // server's address, and saving right after a result was entered.
  void SendResults();
  const std::string& ScoreServer() const { return settings_.score_server; }
  void SaveScores();
  // A GET on a worker thread while this thread keeps taking the window's events.
  std::string FetchWhileWaiting(const std::string& url);

  // Shows an error the way the message loop does: the application title as caption.
  void ShowError(const std::string& message_cp1251);

  // DisplayListener: the frame timer and the sprite engine follow the display.
  void DisplayInitialized() override;
  void DisplayFinalizing() override;

  platform::Platform& Machine() { return platform_; }
  platform::Display& MDisplay() { return platform_.GetDisplay(); }

  // Components.
  TImageList MImageList;   // the menu pictures and the fonts
  TImageList MImageList3;  // the race pictures
  TWaveList MWaveList;
  TSoundDevice MSound;
  TMusicPlayer MMusic;
  TFrameTimer MFrameTimer;
  TInputDevice MInput;
  TSpriteEngineComponent MSpriteEngine;
  TRandom Random;

  // Process-wide records.
  int GameState = state::None;
  TRaceState RaceState;
  TGameOptions GameOptions;
  std::string ScoreCheck;
  HighScoreTable HighScores;
  std::string PlayerName;
  BitmapText Text;
  // The one background of the whole run, created at start-up (none if start-up failed early).
  TScrollBackground* ScrollBackground = nullptr;
  bool CtrlHeld = false;
  int MouseX = 0, MouseY = 0;

  // Sound effects by name and the music of the current screen, as the options allow.
  TGameAudio Audio;
  // What the race code reaches of the above.
  TRaceWorld RaceWorld;
  // The button registry and the menus' sprites and settings.
  TMenus Menus;
  // The view of this form the screens work through.
  TFormScreenHost Screens{*this};
  // The view of this form the race works through.
  TFormRaceHost RaceHost{*this};

 private:
  void FormCreate();
  void Dispatch(const platform::Event& e);
  // While a request runs: key releases, activation and close only.
  void DispatchWhileWaiting(const platform::Event& e);
  // The frame of the current screen; unknown codes draw nothing.
  void ScreenFrame(int lag_count);
  // Begins a run with RaceState.SelectedCar once the car selection has torn the menu down.
  void StartRace();
  // The window went behind another one or came back: the game falls silent (and a running
  // race pauses), then plays on.
  void FormDeactivate();
  void FormActivate();
  // The exit's writes; returns the failure's message, empty when all went well.
  std::string WriteExitSave();
  // Runs one event or tick handler; an error abandons it and shows the error box.
  template <typename F>
  void Guarded(F&& handler);

  platform::Platform& platform_;
  FormSettings settings_;
  bool terminated_ = false;
  // The save folder is this game's for the whole run (another game on it only reads).
  std::optional<SaveFolderLock> save_lock_;
  // The save files were read at start-up and may be written at exit; why not, when not.
  bool save_loaded_ = false;
  bool save_allowed_ = false;
  std::string why_not_saved_;
  // How the exit's last save failed (empty: it did not, or it has not run): one failure is one
  // box, however often the exit tries.
  std::string last_exit_failure_;
  bool destroyed_ = false;
  bool final_save_ok_ = true;
  std::optional<platform::WindowPlacement> stored_placement_;
};

}  // namespace trakvolt

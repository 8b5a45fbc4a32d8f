// The main form's life: start-up, the message loop and its events, the tick, shutdown.
#include "shell/form.h"

#include <chrono>
#include <random>

#include "base/cp1251.h"
#include "base/game_error.h"
#include "persist/reset_copy.h"
#include "persist/save_data.h"
#include "persist/save_file.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "shell/error_text.h"

namespace trakvolt {
namespace {

// The wall clock mixed with the system's random source.
std::uint32_t FreshSeed() {
  std::uint64_t mixed =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  try {
    std::random_device device;
    mixed ^= (static_cast<std::uint64_t>(device()) << 32) | device();
  } catch (const std::exception&) {
    // no system source: the clock alone
  }
  mixed ^= mixed >> 33;
  mixed *= 0xff51afd7ed558ccdULL;
  mixed ^= mixed >> 33;
  return static_cast<std::uint32_t>(mixed);
}

}  // namespace

TMForm::TMForm(platform::Platform& platform, FormSettings settings)
    : MSound(platform.GetAudio()),
      MMusic(MSound),
      MFrameTimer([&platform] { return platform.GetEvents().NowMs(); }),
      MInput(platform.GetInput(), platform.GetWindow()),
      Audio(MSound, MWaveList, MMusic, GameOptions, GameState),
      RaceWorld{RaceState,
                MSpriteEngine.Engine(),
                MImageList3,
                Random,
                MInput,
                MFrameTimer,
                [this](std::string_view name) { PlaySoundByName(name); },
                [this](std::string_view name) { StopSoundByName(name); }},
      platform_(platform),
      settings_(settings) {
  MFrameTimer.SetInterval(30);
  MFrameTimer.SetOnTimer([this](int lag) { MFrameTimerTimer(lag); });
  MDisplay().SetListener(this);
  try {
    FormCreate();
  } catch (const std::exception& e) {
    // The rest of start-up is skipped; GameState stays without a screen so no tick runs into
    // the missing pieces. The window still opens, so the player can see and close it.
    ShowError(e.what());
    GameState = state::None;  // also when the menu was half built
    if (!MDisplay().Initialized()) Guarded([this] { ApplyScreenMode(); });
  }
}

TMForm::~TMForm() {
  FormDestroy();
  // Sprites go first, while the records some of them point into still exist.
  ScrollBackground = nullptr;
  MSpriteEngine.Engine().Clear();
  MDisplay().Finalize();
  MDisplay().SetListener(nullptr);
}

void TMForm::FormCreate() {
  MImageList.LoadArchive(platform::NativePath(files::kMenuImages));
  MImageList3.LoadArchive(platform::NativePath(files::kRaceImages));
  MWaveList.LoadArchive(platform::NativePath(files::kSounds));
  MSound.Prepare(MWaveList.Items);
  // A fixed seed replays a run; otherwise every start races differently.
  Random.Seed(settings_.seed ? *settings_.seed : FreshSeed());
  // A missing or damaged save file does not stop the game: it starts with the defaults and
  // the damaged file is kept aside; what start-up found is told in one box.
  save_lock_.emplace(kSaveFolder);
  const SaveDataLoad loaded =
      LoadSaveData(kSaveFolder, HighScores, GameOptions, ScoreCheck,
                   save_lock_->HeldElsewhere() ? SaveAccess::ReadOnly : SaveAccess::ReadWrite);
  save_loaded_ = true;
  save_allowed_ = loaded.may_save;
  why_not_saved_ = loaded.why_not_saved;
  if (!loaded.messages.empty()) {
    std::string text;
    for (const std::string& message : loaded.messages) text += (text.empty() ? "" : "\n") + message;
    ShowError(text);
  }
  ApplyScreenMode();
  Text.InitGlyphWidths();
  ScrollBackground = &MSpriteEngine.Engine().Add<TScrollBackground>(
      ListForState(), "MainMenuBackground", RaceState.RoadSpeed);
  BuildMainMenu(Screens, true, menu_return::Start);
}

const TImageList& TMForm::ListForState() const {
  return UsesRacePictures(GameState) ? MImageList3 : MImageList;
}

void TMForm::DrawText(std::string_view text, int x, int y) {
  Text.DrawText(MImageList, MDisplay().BackSurface(), text, x, y);
}

template <typename F>
void TMForm::Guarded(F&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

void TMForm::ShowError(const std::string& message_cp1251) {
  platform_.GetDesktop().MessageBox(kApplicationTitle, Cp1251ToUtf8(ErrorBoxText(message_cp1251)),
                                    platform::Desktop::BoxKind::Error);
}

void TMForm::Run() {
  auto& events = platform_.GetEvents();
  while (!terminated_) {
    Pump();
    if (terminated_) break;
    // Sleep until the next tick is due or an event arrives, instead of spinning a core.
    events.Wait(MFrameTimer.MillisecondsUntilDue());
  }
}

bool TMForm::Pump() {
  platform::Event e;
  auto& events = platform_.GetEvents();
  while (!terminated_ && events.Poll(e)) Dispatch(e);
  if (terminated_) return false;
  try {
    return MFrameTimer.Idle();
  } catch (const std::exception& error) {
    // Only the tick itself throws: it ran, and its error abandons the rest of it.
    ShowError(error.what());
    return true;
  }
}

void TMForm::Dispatch(const platform::Event& e) {
  using K = platform::Event::Kind;
  switch (e.kind) {
    case K::Quit:
      // A qualifying result whose name was still being typed is not lost with the window.
      if (!terminated_) Guarded([&] { KeepResultOnClose(Screens); });
      terminated_ = true;
      break;
    case K::Activate:
      MFrameTimer.SetApplicationActive(true);
      Guarded([&] { FormActivate(); });
      break;
    case K::Deactivate:
      MFrameTimer.SetApplicationActive(false);
      Guarded([&] { FormDeactivate(); });
      break;
    case K::MouseMove:
      Guarded([&] { MDisplayMouseMove(e.x, e.y); });
      break;
    case K::Click:
    case K::DoubleClick:
      // A click acts on the highlight as it stands: only real pointer moves move it, so a
      // button chosen with the arrow keys is the one a click without a pointer move chooses.
      Guarded([&] { MDisplayClick(); });
      break;
    case K::KeyDown:
      Guarded([&] { FormKeyDown(e.key, e.shift); });
      break;
    case K::KeyUp:
      Guarded([&] { FormKeyUp(e.key, e.shift); });
      break;
    case K::KeyPress:
      Guarded([&] {
        unsigned char ch = e.ch;
        FormKeyPress(ch);
      });
      break;
  }
}

void TMForm::MFrameTimerTimer(int lag_count) {
  Audio.CheckMusicLoop();
  MInput.Update();
  ScreenFrame(lag_count);
}

void TMForm::FormKeyDown(int key, platform::ShiftState shift) {
  if (key == vk::Ctrl) CtrlHeld = true;
  if (shift.alt && key == vk::Enter) {
    GameOptions.FullScreen = !GameOptions.FullScreen;
    ApplyScreenMode();
  }
}

void TMForm::FormKeyUp(int key, platform::ShiftState) {
  if (key == vk::Ctrl) CtrlHeld = false;
}

void TMForm::SaveAndQuit() {
  // Ask the loop to end first, so that a failed save cannot keep the player from leaving.
  terminated_ = true;
  const std::string failure = WriteExitSave();
  if (!failure.empty()) throw GameError(failure);
}

std::string TMForm::WriteExitSave() {
  if (!save_loaded_) return {};
  std::string failure;
  try {
    if (!save_allowed_)
      throw GameError("The settings and scores were not saved: " + why_not_saved_);
    SaveGameData(kSaveFolder, GameOptions, HighScores);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  last_exit_failure_ = failure;
  return failure;
}

void TMForm::KeepScoresBeforeReset() {
  // A game that may not write keeps no copy either: its reset never reaches the disk.
  if (!save_loaded_ || !save_allowed_) return;
  WriteResetCopy(kSaveFolder, GameOptions, HighScores);
}

bool TMForm::FormDestroy() {
  if (destroyed_) return final_save_ok_;
  destroyed_ = true;
  terminated_ = true;
  // The exit button saved already and showed its failure: the same failure again is not a
  // second box.
  const std::string told = last_exit_failure_;
  const std::string failure = WriteExitSave();
  final_save_ok_ = failure.empty();
  if (!failure.empty() && failure != told) ShowError(failure);
  return final_save_ok_;
}

void TMForm::RunExitHook() {
  auto& desktop = platform_.GetDesktop();
  if (desktop.FileExists(files::kCompanion))
    desktop.Launch(platform::NativePath(files::kCompanion), "target=_blank");
}

}  // namespace trakvolt

// The main form's life: start-up, the message loop and its events, the tick, shutdown.
#include "shell/form.h"

#include "media/cp1251.h"
#include "media/game_error.h"
#include "shell/error_text.h"

namespace trakvolt {

TMForm::TMForm(platform::Platform& platform, FormSettings settings)
    : MFrameTimer([&platform] { return platform.GetEvents().NowMs(); }),
      MInput(platform.GetInput(), platform.GetWindow()),
      platform_(platform),
      settings_(settings) {
  MFrameTimer.SetInterval(30);
  MFrameTimer.SetOnTimer([this](int lag) { MFrameTimerTimer(lag); });
  MDisplay().SetListener(this);
  Guarded([this] { FormCreate(); });
}

TMForm::~TMForm() {
  Guarded([this] { SaveAndQuit(); });
  MDisplay().SetListener(nullptr);
}

void TMForm::FormCreate() {
  // Seed the random source from the clock unless a run asked for a fixed seed.
  Random.Seed(settings_.seed ? *settings_.seed : platform_.GetEvents().NowMs());
  ApplyScreenMode();
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
      terminated_ = true;
      break;
    case K::Activate:
      MFrameTimer.SetApplicationActive(true);
      break;
    case K::Deactivate:
      MFrameTimer.SetApplicationActive(false);
      break;
    case K::MouseMove:
      Guarded([&] { MDisplayMouseMove(e.x, e.y); });
      break;
    case K::Click:
    case K::DoubleClick:
      Guarded([&] {
        MDisplayMouseMove(e.x, e.y);
        MDisplayClick();
      });
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
  MInput.Update();
  switch (GameState) {
    case state::RaceSetup:
      BeginFrame(lag_count, true);
      EndFrame();
      break;
    default:
      break;  // no screen under this code: the last picture stays
  }
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

void TMForm::FormKeyPress(unsigned char&) {}

void TMForm::MDisplayMouseMove(int x, int y) {
  MouseX = x;
  MouseY = y;
}

void TMForm::MDisplayClick() {}

void TMForm::SaveAndQuit() { terminated_ = true; }

void TMForm::RunExitHook() {
  const std::string hook = "fscommand\\wgame.exe";
  auto& desktop = platform_.GetDesktop();
  if (desktop.FileExists(hook)) desktop.Launch(platform::NativePath(hook), "target=_blank");
}

}  // namespace trakvolt

// Switching between the window and full screen. The display is finalised first and initialised
// last, so the frame timer is off for the whole switch.
#include "shell/form.h"

namespace trakvolt {

void TMForm::SetWindowedMode() {
  auto& display = MDisplay();
  auto& window = platform_.GetWindow();
  display.Finalize();
  window.SetBorder(true);
  // Back from full screen the window returns to where it was; otherwise it is centred.
  if (stored_placement_) {
    window.SetPlacement(*stored_placement_);
    stored_placement_.reset();
  } else {
    window.Center();
  }
  display.SetFullScreenOption(false);
  display.Initialize();
}

void TMForm::SetFullScreenMode() {
  auto& display = MDisplay();
  auto& window = platform_.GetWindow();
  display.Finalize();
  stored_placement_ = window.Placement();
  window.SetBorder(false);
  display.SetFullScreenOption(true);
  display.Initialize();
}

void TMForm::ApplyScreenMode() {
  if (GameOptions.FullScreen)
    SetFullScreenMode();
  else
    SetWindowedMode();
}

void TMForm::DisplayInitialized() {
  MImageList.Initialize();
  MImageList3.Initialize();
  MSpriteEngine.DisplayInitialized(MDisplay().BackSurface());
  MFrameTimer.SetEnabled(true);
}

void TMForm::DisplayFinalizing() {
  MFrameTimer.SetEnabled(false);
  MSpriteEngine.DisplayFinalizing();
  MImageList.Finalize();
  MImageList3.Finalize();
}

}  // namespace trakvolt

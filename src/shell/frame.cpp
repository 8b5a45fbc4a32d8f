// The two calls that open and close every frame, and the mouse cursor count.
#include "base/surface.h"
#include "shell/form.h"

namespace trakvolt {

void TMForm::BeginFrame(int move_count, bool move) {
  auto& display = MDisplay();
  if (!display.Initialized()) return;
  Fill(display.BackSurface(), 0);
  if (move) MSpriteEngine.Move(move_count);
  MSpriteEngine.Draw();
}

void TMForm::EndFrame() { MDisplay().Flip(); }

void TMForm::ShowMouseCursor() { platform_.GetWindow().ShowCursor(true); }
void TMForm::HideMouseCursor() { platform_.GetWindow().ShowCursor(false); }

}  // namespace trakvolt

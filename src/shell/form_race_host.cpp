// The race's view of the main form.
#include "shell/form_race_host.h"

#include "screens/name_entry.h"
#include "shell/form.h"

namespace trakvolt {

TRaceWorld& TFormRaceHost::World() { return form_.RaceWorld; }
int& TFormRaceHost::State() { return form_.GameState; }
void TFormRaceHost::ClearButtons() { form_.Menus.ButtonCount = 0; }
TScrollBackground& TFormRaceHost::Background() { return form_.Screens.Background(); }
TFrameTimer& TFormRaceHost::FrameTimer() { return form_.MFrameTimer; }
bool TFormRaceHost::CtrlHeld() { return form_.CtrlHeld; }
void TFormRaceHost::StartMusicForState() { form_.Audio.StartMusicForState(); }
void TFormRaceHost::StopMusic() { form_.Audio.StopMusic(); }
void TFormRaceHost::ShowMouseCursor() { form_.ShowMouseCursor(); }
void TFormRaceHost::HideMouseCursor() { form_.HideMouseCursor(); }
void TFormRaceHost::BeginFrame(int move_count, bool move) { form_.BeginFrame(move_count, move); }
void TFormRaceHost::EndFrame() { form_.EndFrame(); }
void TFormRaceHost::SelectFont(int font_number) { form_.SelectFont(font_number); }
void TFormRaceHost::DrawText(std::string_view text, int x, int y) { form_.DrawText(text, x, y); }

void TFormRaceHost::DrawRotated(std::string_view image_name, int x, int y, int width, int height,
                                int frame, double center_x, double center_y, int angle) {
  if (!form_.MDisplay().Initialized()) return;
  form_.MImageList3.FindItem(image_name)
      .DrawRotated(form_.MDisplay().BackSurface(), x, y, width, height, frame, center_x, center_y,
                   angle);
}

void TFormRaceHost::OpenNameEntryOrMenu() {
  // A score that enters the table goes to the name entry; any other run returns to the menu,
  // which then shows the table.
  ShowRunResult(form_.Screens);
}

}  // namespace trakvolt

// The main form as the race sees it: a thin forwarder to its records, components and actions.
#pragma once

#include "race/race_host.h"

namespace trakvolt {

class TMForm;

class TFormRaceHost final : public TRaceHost {
 public:
  explicit TFormRaceHost(TMForm& form) : form_(form) {}

  TRaceWorld& World() override;
  int& State() override;
  void ClearButtons() override;
  TScrollBackground& Background() override;
  TFrameTimer& FrameTimer() override;
  bool CtrlHeld() override;
  void StartMusicForState() override;
  void StopMusic() override;
  void ShowMouseCursor() override;
  void HideMouseCursor() override;
  void BeginFrame(int move_count, bool move) override;
  void EndFrame() override;
  void SelectFont(int font_number) override;
  void DrawText(std::string_view text, int x, int y) override;
  void DrawRotated(std::string_view image_name, int x, int y, int width, int height, int frame,
                   double center_x, double center_y, int angle) override;
  void OpenNameEntryOrMenu() override;

 private:
  TMForm& form_;
};

}  // namespace trakvolt

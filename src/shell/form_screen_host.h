// The main form as the screens see it: a thin forwarder to its records, components and actions.
#pragma once

#include "screens/screen_host.h"

namespace trakvolt {

class TMForm;

class TFormScreenHost final : public TScreenHost {
 public:
  explicit TFormScreenHost(TMForm& form) : form_(form) {}

  int& State() override;
  TMenus& Menus() override;
  TGameOptions& Options() override;
  HighScoreTable& HighScores() override;
  std::string& PlayerName() override;
  std::int32_t RunScore() override;
  TSprite& SpriteRoot() override;
  TScrollBackground& Background() override;
  const TImageSource& MenuImages() override;
  const TImageSource& RaceImages() override;
  TFrameTimer& FrameTimer() override;
  const TInputDevice& Input() override;
  void PlaySound(std::string_view name) override;
  void StartMusicForState() override;
  void StopMusic() override;
  void ApplyScreenMode() override;
  void SaveAndQuit() override;
  void OpenDocument(const std::string& target) override;
  void OpenOnlineTable() override;
  void SendResults() override;
  void SaveScores() override;
  void KeepScoresBeforeReset() override;
  void BeginFrame(int move_count, bool move) override;
  void EndFrame() override;
  void SelectFont(int font_number) override;
  void DrawText(std::string_view text, int x, int y) override;
  int LastTextEndX() override;
  int TextEndX(int font_number, std::string_view text, int x) override;
  void Click() override;

 private:
  TMForm& form_;
};

}  // namespace trakvolt

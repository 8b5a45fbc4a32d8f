// The screens' view of the main form.
#include "shell/form_screen_host.h"

#include "base/game_error.h"
#include "persist/online_service.h"
#include "shell/form.h"

namespace trakvolt {

int& TFormScreenHost::State() { return form_.GameState; }
TMenus& TFormScreenHost::Menus() { return form_.Menus; }
TGameOptions& TFormScreenHost::Options() { return form_.GameOptions; }
HighScoreTable& TFormScreenHost::HighScores() { return form_.HighScores; }
std::string& TFormScreenHost::PlayerName() { return form_.PlayerName; }
std::int32_t TFormScreenHost::RunScore() { return form_.RaceState.Score; }
TSprite& TFormScreenHost::SpriteRoot() { return form_.MSpriteEngine.Engine(); }
TScrollBackground& TFormScreenHost::Background() {
  if (form_.ScrollBackground == nullptr) throw GameError("The background does not exist");
  return *form_.ScrollBackground;
}
const TImageSource& TFormScreenHost::MenuImages() { return form_.MImageList; }
const TImageSource& TFormScreenHost::RaceImages() { return form_.MImageList3; }
TFrameTimer& TFormScreenHost::FrameTimer() { return form_.MFrameTimer; }
const TInputDevice& TFormScreenHost::Input() { return form_.MInput; }
void TFormScreenHost::PlaySound(std::string_view name) { form_.PlaySoundByName(name); }
void TFormScreenHost::StartMusicForState() { form_.Audio.StartMusicForState(); }
void TFormScreenHost::StopMusic() { form_.Audio.StopMusic(); }
void TFormScreenHost::ApplyScreenMode() { form_.ApplyScreenMode(); }
void TFormScreenHost::SaveAndQuit() { form_.SaveAndQuit(); }
void TFormScreenHost::OpenDocument(const std::string& target) {
  form_.Machine().GetDesktop().OpenDocument(target);
}
void TFormScreenHost::OpenOnlineTable() { OpenDocument(OnlineTableUrl(form_.ScoreServer())); }
void TFormScreenHost::SendResults() { form_.SendResults(); }
void TFormScreenHost::SaveScores() { form_.SaveScores(); }
void TFormScreenHost::KeepScoresBeforeReset() { form_.KeepScoresBeforeReset(); }
void TFormScreenHost::BeginFrame(int move_count, bool move) { form_.BeginFrame(move_count, move); }
void TFormScreenHost::EndFrame() { form_.EndFrame(); }
void TFormScreenHost::SelectFont(int font_number) { form_.SelectFont(font_number); }
void TFormScreenHost::DrawText(std::string_view text, int x, int y) { form_.DrawText(text, x, y); }
int TFormScreenHost::LastTextEndX() { return form_.Text.LastTextEndX(); }
int TFormScreenHost::TextEndX(int font_number, std::string_view text, int x) {
  return form_.Text.TextEndX(form_.MImageList, font_number, text, x);
}
void TFormScreenHost::Click() { form_.MDisplayClick(); }

}  // namespace trakvolt

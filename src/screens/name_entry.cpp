// The name entry: its caption, the name in the big font, the blinking cursor and the typing.
#include "screens/name_entry.h"

#include "persist/high_scores.h"
#include "platform/virtual_keys.h"
#include "screens/main_menu.h"
#include "screens/send_results.h"
#include "screens/sub_screen.h"
#include "screens/text_field.h"

namespace trakvolt {
namespace {

constexpr int kNameFont = 4;
constexpr int kNameX = 400, kNameY = 243;
constexpr int kFieldEnd = 579;
constexpr double kCursorLeftmost = 398, kCursorY = 265;
constexpr const char* kDefaultName = "NONAME";

}  // namespace

void ShowRunResult(TScreenHost& host) {
  if (QualifiesForHighScores(host.HighScores(), host.RunScore()))
    OpenNameEntry(host);
  else
    BuildMainMenu(host, true, menu_return::HighScores);
}

void OpenNameEntry(TScreenHost& host) {
  TMenus& m = host.Menus();
  host.State() = state::NameEntry;
  // The race has stopped its music; the next main menu starts the menu's again.
  host.StopMusic();
  host.Background().SetImage(&host.MenuImages().Find("MainMenuBackground"));
  m.MenuCaption = &host.NewCaption("EnterYourName");
  m.MenuCaption->X = 200;
  m.MenuCaption->Y = 160;
  m.CursorSprite = &host.NewCaption("Cursor");
  m.CursorSprite->X = kCursorLeftmost;
  m.CursorSprite->Y = kCursorY;
  m.CursorSprite->SetZ(5);
  m.CursorSprite->Visible = true;
  host.PlayerName() = kDefaultName;
  PlaceNameCursor(host);
  m.CursorBlinkTimer = kBlinkMs;
  host.FrameTimer().SetEnabled(true);
}

void NameEntryFrame(TScreenHost& host, int lag_count) {
  BlinkCursor(host);
  host.BeginFrame(lag_count, true);
  host.SelectFont(kNameFont);
  host.DrawText(host.PlayerName(), kNameX, kNameY);
  PlaceNameCursor(host);
  host.EndFrame();
}

void PlaceNameCursor(TScreenHost& host) {
  TCaptionSprite& cursor = *host.Menus().CursorSprite;
  const int end = host.LastTextEndX();
  if (end <= kFieldEnd - cursor.Width) cursor.X = end > kCursorLeftmost ? end : kCursorLeftmost;
  // Drawing an empty name leaves the text's end where the last text ended.
  if (host.PlayerName().empty()) cursor.X = kCursorLeftmost;
}

void FinishNameEntry(TScreenHost& host) {
  TMenus& m = host.Menus();
  AddResultToHighScores(host.HighScores(), host.PlayerName(), host.RunScore());
  FreeCaption(m.MenuCaption);
  FreeCaption(m.CursorSprite);
  // On disk now, so that a crash before the exit cannot lose the new result.
  host.SaveScores();
}

void KeepResultOnClose(TScreenHost& host) {
  if (host.State() != state::NameEntry) return;
  // The name as it stands, without the question: nothing is sent from a closing game.
  FinishNameEntry(host);
  host.FrameTimer().SetEnabled(false);
}

void NameEntryKey(TScreenHost& host, unsigned char key) {
  std::string& name = host.PlayerName();
  if (key == key_char::Enter) {
    FinishNameEntry(host);
    OpenSendResults(host);
  } else if (key == key_char::Backspace) {
    name = DeleteLastChar(name);
  } else {
    TypeIntoField(host, name, CyrillicCapital(key), kNameFont, kNameX, kFieldEnd);
  }
}

}  // namespace trakvolt

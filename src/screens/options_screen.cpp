// The options screen: its rows, the three toggles and the country field with its cursor.
#include "screens/options_screen.h"

#include "platform/virtual_keys.h"
#include "screens/button_navigation.h"
#include "screens/sub_screen.h"
#include "screens/text_field.h"

namespace trakvolt {
namespace {

constexpr int kScreenModeButton = 7, kCountryButton = 10;
constexpr int kLabelX = 35, kCountryX = 265;
constexpr int kCountryFieldEnd = 500;
constexpr double kCursorLeftmost = 264, kCursorY = 312;
constexpr int kLabelFont = 4, kInactiveFont = 2, kActiveFont = 3;

constexpr double kRowButtonY[] = {140, 188, 236, 284};
constexpr int kRowTextY[] = {145, 193, 241, 289};

// A row of two values: the chosen one in the lit font, the other and the slash in the dim one.
struct ValueRow {
  const char* first;  // cp1251
  int first_x;
  int slash_x;
  const char* second;
  int second_x;
};
// "ОКНО" / "ПОЛНЫЙ ЭКРАН" and "ВКЛ" / "ВЫКЛ".
constexpr ValueRow kScreenRow{"\xCE\xCA\xCD\xCE", 265, 329,
                              "\xCF\xCE\xCB\xCD\xDB\xC9 \xDD\xCA\xD0\xC0\xCD", 343};
constexpr ValueRow kOnOffRow{"\xC2\xCA\xCB", 265, 313, "\xC2\xDB\xCA\xCB", 327};

void DrawValueRow(TScreenHost& host, const ValueRow& row, bool second_chosen, int y) {
  host.SelectFont(second_chosen ? kInactiveFont : kActiveFont);
  host.DrawText(row.first, row.first_x, y);
  host.SelectFont(kInactiveFont);
  host.DrawText("/", row.slash_x, y);
  host.SelectFont(second_chosen ? kActiveFont : kInactiveFont);
  host.DrawText(row.second, row.second_x, y);
}

}  // namespace

void OpenOptions(TScreenHost& host) {
  EnterSubScreen(host, state::Options, 10, kScreenModeButton, kCountryButton, kScreenModeButton);
  TMenus& m = host.Menus();
  for (int i = 0; i < 4; ++i)
    m.Buttons[static_cast<std::size_t>(kScreenModeButton + i)] =
        &host.NewButton("OptionButton_Active", "OptionButton_Inactive", 0, 0, 22, kRowButtonY[i]);
  m.OptionsBackgroundSprite = &NewScreenPanel(host, "OptionsBackground");
  m.CursorSprite = &host.NewCaption("Cursor");
  m.CursorSprite->Visible = false;
  m.CursorSprite->X = kCursorLeftmost;
  m.CursorBlinkTimer = 0;
  m.CountryEditing = false;
}

void CloseOptions(TScreenHost& host) {
  TMenus& m = host.Menus();
  FreeButtons(m, kScreenModeButton, kCountryButton);
  FreeCaption(m.OptionsBackgroundSprite);
  FreeCaption(m.CursorSprite);
  m.CountryEditing = false;
  host.FrameTimer().SetEnabled(false);
}

void OptionsFrame(TScreenHost& host, int lag_count) {
  TMenus& m = host.Menus();
  UpdateButtonHighlight(host);
  NavigateUpDown(host, true);
  KeepMainButtonLit(m, button::Options);
  ReturnToMenuIfLeft(host, button::Options, CloseOptions);
  host.BeginFrame(lag_count, true);
  // A screen closed on this frame draws no text over the menu.
  if (host.State() == state::Options) {
    if (m.CountryEditing) {
      PlaceCountryCursor(host);
      BlinkCursor(host);
    }
    DrawOptionsText(host);
  }
  host.EndFrame();
}

void DrawOptionsText(TScreenHost& host) {
  const TGameOptions& o = host.Options();
  host.SelectFont(kLabelFont);
  host.DrawText("\xDD\xCA\xD0\xC0\xCD:", kLabelX, kRowTextY[0]);      // ЭКРАН:
  host.DrawText("\xCC\xD3\xC7\xDB\xCA\xC0:", kLabelX, kRowTextY[1]);  // МУЗЫКА:
  host.DrawText("\xC7\xC2\xD3\xCA:", kLabelX, kRowTextY[2]);          // ЗВУК:
  DrawValueRow(host, kScreenRow, o.FullScreen, kRowTextY[0]);
  DrawValueRow(host, kOnOffRow, !o.MusicOn, kRowTextY[1]);
  DrawValueRow(host, kOnOffRow, !o.SoundOn, kRowTextY[2]);
  host.SelectFont(kLabelFont);
  host.DrawText("\xC2\xC0\xD8\xC0 \xD1\xD2\xD0\xC0\xCD\xC0:", kLabelX,
                kRowTextY[3]);  // ВАША СТРАНА:
  // Last, so that LastTextEndX is where the country ends (or, empty, where the label ends).
  host.DrawText(o.Country, kCountryX, kRowTextY[3]);
}

void ToggleFullScreen(TScreenHost& host) {
  TGameOptions& o = host.Options();
  o.FullScreen = !o.FullScreen;
  host.ApplyScreenMode();
  host.PlayClickSound();
}

void ToggleMusic(TScreenHost& host) {
  TGameOptions& o = host.Options();
  o.MusicOn = !o.MusicOn;
  if (o.MusicOn)
    host.StartMusicForState();
  else
    host.StopMusic();
  host.PlayClickSound();
}

void ToggleSound(TScreenHost& host) {
  TGameOptions& o = host.Options();
  o.SoundOn = !o.SoundOn;
  host.PlayClickSound();  // heard only when sound is now on
}

void StartCountryEditing(TScreenHost& host) {
  TMenus& m = host.Menus();
  PlaceCountryCursor(host);
  m.CursorSprite->Y = kCursorY;
  m.CursorBlinkTimer = kBlinkMs;
  m.CountryEditing = true;
  host.PlayClickSound();
}

void StopCountryEditing(TScreenHost& host) {
  TMenus& m = host.Menus();
  m.CountryEditing = false;
  if (m.CursorSprite != nullptr) m.CursorSprite->Visible = false;
}

void PlaceCountryCursor(TScreenHost& host) {
  TCaptionSprite& cursor = *host.Menus().CursorSprite;
  const int end = host.LastTextEndX();
  if (end <= kCountryFieldEnd - cursor.Width)
    cursor.X = end > kCursorLeftmost ? end : kCursorLeftmost;
}

void TypeIntoCountry(TScreenHost& host, unsigned char ch) {
  std::string& country = host.Options().Country;
  if (ch == key_char::Backspace) {
    country = DeleteLastChar(country);
    return;
  }
  TypeIntoField(host, country, ch, kLabelFont, kCountryX, kCountryFieldEnd);
}

}  // namespace trakvolt

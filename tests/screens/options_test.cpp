// The options screen: toggles, fonts of the values, the country field and its cursor.
#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "screen_fixture.h"

using namespace trakvolt;
using K = platform::Event::Kind;

namespace {

class Options : public testing_support::ScreenTest {
 protected:
  void SetUp() override {
    OpenFromMenu(button::Options);
    ASSERT_EQ(form.GameState, state::Options);
  }
  // Clicks option row button `i` (7..10) as a player would: point, click.
  void ClickRow(int i) {
    PointAt(i);
    form.MDisplayClick();
    Tick();
  }
  // Pixels of the lit value font (cream to orange) in a box of the shown picture.
  int LitPixels(int x0, int x1, int y0, int y1) {
    int n = 0;
    const Surface& shown = machine.display.Shown();
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const auto p = shown.At(x, y);
        const int r = (p >> 11) << 3, b = (p & 31) << 3;
        n += r - b > 100;
      }
    return n;
  }
  std::string Country() const { return Cp1251ToUtf8(form.GameOptions.Country); }
};

TEST_F(Options, OpensWithItsRowsAndTheHighlightOnTheScreenMode) {
  EXPECT_EQ(form.Menus.HoveredButton, 7);
  EXPECT_EQ(form.Menus.ButtonCount, 10);
  for (int i = 7; i <= 10; ++i) {
    ASSERT_NE(form.Menus.Buttons[static_cast<std::size_t>(i)], nullptr);
    EXPECT_EQ(form.Menus.Buttons[static_cast<std::size_t>(i)]->X, 22);
  }
  EXPECT_EQ(form.Menus.Buttons[10]->Y, 284);
  EXPECT_FALSE(form.Menus.MenuCaption->Visible);
}

TEST_F(Options, TheScreenModeValuesSwapFontsAndTheDisplaySwitches) {
  ASSERT_FALSE(form.GameOptions.FullScreen);
  Tick();
  // "ОКНО" at 265..329 is lit, "ПОЛНЫЙ ЭКРАН" from 343 is dim.
  EXPECT_GT(LitPixels(265, 325, 145, 171), 100);
  EXPECT_LT(LitPixels(343, 520, 145, 171), 20);
  ClickRow(7);
  Tick();
  EXPECT_TRUE(form.GameOptions.FullScreen);
  EXPECT_TRUE(machine.display.FullScreenOption());
  EXPECT_LT(LitPixels(265, 325, 145, 171), 20);
  EXPECT_GT(LitPixels(343, 520, 145, 171), 100);
}

TEST_F(Options, MusicOffStopsAtOnceAndOnRestartsTheSongFromItsStart) {
  ASSERT_TRUE(form.GameOptions.MusicOn);
  ASSERT_NE(form.Audio.CurrentSong, 0);
  machine.audio.Pull(44100 * 3);  // the song moves on
  ClickRow(8);
  EXPECT_FALSE(form.GameOptions.MusicOn);
  EXPECT_EQ(form.Audio.CurrentSong, 0);
  ClickRow(8);
  EXPECT_TRUE(form.GameOptions.MusicOn);
  ASSERT_NE(form.Audio.CurrentSong, 0);
  EXPECT_EQ(form.MMusic.SongGetOrder(form.Audio.CurrentSong), 0);
}

TEST_F(Options, TogglingSoundMakesExactlyOneClickEitherWay) {
  for (bool now_on : {false, true}) {
    form.GameOptions.SoundOn = true;
    form.StopSoundByName("Button_Pressed");  // no click left from before
    form.GameOptions.SoundOn = !now_on;
    ClickRow(9);
    EXPECT_EQ(form.GameOptions.SoundOn, now_on);
    // Switched off: the click handler's click, heard before the switch. Switched on: the
    // toggle's own click, the handler's having been silent.
    EXPECT_TRUE(Playing("Button_Pressed")) << now_on;
  }
}

TEST_F(Options, ADoubleClickTogglesTwice) {
  const bool music = form.GameOptions.MusicOn;
  PointAt(8);
  Send(K::Click);
  Send(K::DoubleClick);
  EXPECT_EQ(form.GameOptions.MusicOn, music);
  Send(K::Click);
  EXPECT_NE(form.GameOptions.MusicOn, music);
}

TEST_F(Options, EnterOnTheOptionsButtonReopensAfreshAndEscapeClosesForGood) {
  ClickRow(10);
  ASSERT_TRUE(form.Menus.CountryEditing);
  PointAt(button::Options);
  Tick();
  Type(13);
  EXPECT_EQ(form.GameState, state::Options);
  EXPECT_EQ(form.Menus.HoveredButton, 7);
  EXPECT_FALSE(form.Menus.CountryEditing);
  Type(27);
  EXPECT_EQ(form.GameState, state::MainMenu);
  EXPECT_EQ(form.Menus.Buttons[7], nullptr);
  EXPECT_EQ(form.Menus.CursorSprite, nullptr);
  Tick();
  EXPECT_EQ(form.GameState, state::MainMenu);
}

TEST_F(Options, TheEmptyCountryCursorStandsAt264AndFollowsTheText) {
  form.GameOptions.Country.clear();
  Tick();
  ClickRow(10);
  ASSERT_TRUE(form.Menus.CountryEditing);
  EXPECT_EQ(form.Menus.CursorSprite->X, 264);
  EXPECT_EQ(form.Menus.CursorSprite->Y, 312);
  EXPECT_FALSE(form.Menus.CursorSprite->Visible);
  Tick(17);  // half a second later it shows
  EXPECT_TRUE(form.Menus.CursorSprite->Visible);
  Type('a');
  Tick(2);
  EXPECT_EQ(Country(), "A");
  EXPECT_EQ(form.Menus.CursorSprite->X, 265 + 21 - 2);  // after the big "A"
  // Enter on the country row ends editing and hides the cursor.
  Type(13);
  EXPECT_FALSE(form.Menus.CountryEditing);
  EXPECT_FALSE(form.Menus.CursorSprite->Visible);
}

TEST_F(Options, TypingStoresCapitalsAndIgnoresTheRest) {
  form.GameOptions.Country.clear();
  ClickRow(10);
  for (unsigned char c : Utf8ToCp1251("аbц1 z!ёЯ")) Type(c);
  EXPECT_EQ(Country(), "АBЦ ZЯ");
  Type(8);
  EXPECT_EQ(Country(), "АBЦ Z");
  // Away from the country row typing is ignored, though editing goes on.
  Press(vk::Up);
  Type('k');
  EXPECT_EQ(Country(), "АBЦ Z");
  EXPECT_TRUE(form.Menus.CountryEditing);
}

TEST_F(Options, TheCountryStaysInsideItsFieldHoweverFastTheKeysCome) {
  form.GameOptions.Country.clear();
  ClickRow(10);
  const int limit = 500 - form.Menus.CursorSprite->Width;
  // A burst: forty key presses between two ticks.
  for (int i = 0; i < 40; ++i) {
    platform::Event e;
    e.kind = K::KeyPress;
    e.ch = 'W';
    machine.events.Push(e);
  }
  Tick();
  const std::string full = form.GameOptions.Country;
  ASSERT_GT(full.size(), 5u);
  // The last letter was taken while the country before it ended left of the limit.
  EXPECT_LT(form.Text.TextEndX(form.MImageList, 4, full.substr(0, full.size() - 1), 265), limit);
  EXPECT_GE(form.Text.TextEndX(form.MImageList, 4, full, 265), limit);
  Tick(2);
  EXPECT_LE(form.Menus.CursorSprite->X + form.Menus.CursorSprite->Width, 500);
  // Typed slowly the limit is the same.
  form.GameOptions.Country.clear();
  for (int i = 0; i < 40; ++i) {
    Type('w');
    Tick();
  }
  EXPECT_EQ(form.GameOptions.Country, full);
  // Backspace is always taken, and makes room for one more.
  Type(8);
  EXPECT_EQ(form.GameOptions.Country.size(), full.size() - 1);
  Type('w');
  EXPECT_EQ(form.GameOptions.Country, full);
}

}  // namespace

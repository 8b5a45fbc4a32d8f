// How much the two typed fields hold, the player's name and the country, whether the keys come
// one a frame or many within one frame, and where the cursor stands after the last letter.
#include <gtest/gtest.h>

#include <string>

#include "input/input_device.h"
#include "platform/headless/headless_platform.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "shell/form.h"
#include "shell/game_folder.h"

using namespace trakvolt;
using K = platform::Event::Kind;

namespace {

constexpr unsigned char kBackspace = 8;

enum class Field { Name, Country };

struct FieldPlace {
  int text_x;      // where the text is drawn, in the big font
  int field_end;   // the limit x of the typing rule
  int cursor_min;  // the cursor's place before any text
};
constexpr FieldPlace kName{400, 579, 398};
constexpr FieldPlace kCountry{265, 500, 264};

// A fresh game with one field open and empty, editing on: the name entry after a qualifying
// run with "NONAME" deleted, or the options' country row.
class FieldGame {
 public:
  explicit FieldGame(Field field) : field_(field) {
    for (int i = 0; i < 200 && form.Menus.MenuPhase != menu_phase::Interactive; ++i) Tick();
    if (field == Field::Name) {
      TearDownMainMenu(form.Screens);
      form.RaceState.Score = 1000;
      ShowRunResult(form.Screens);
      for (int i = 0; i < 6; ++i) Type(kBackspace);
    } else {
      Point(button::Options);
      form.MDisplayClick();
      Tick();
      form.GameOptions.Country.clear();
      Point(10);
      form.MDisplayClick();
    }
    Tick(2);
  }
  bool Editing() {
    return field_ == Field::Name ? form.GameState == state::NameEntry && form.PlayerName.empty()
                                 : form.Menus.CountryEditing && form.GameOptions.Country.empty();
  }
  const FieldPlace& Place() const { return field_ == Field::Name ? kName : kCountry; }
  const std::string& Text() const {
    return field_ == Field::Name ? form.PlayerName : form.GameOptions.Country;
  }
  int EndOf(const std::string& text) {
    return form.Text.TextEndX(form.MImageList, 4, text, Place().text_x);
  }
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      machine.events.Advance(30);
      form.Pump();
    }
  }
  void Type(unsigned char ch) { form.FormKeyPress(ch); }
  // Keys as the desktop delivers them: each a frame after the last, or all before the next
  // frame.
  void TypeKeys(char letter, int count, bool burst) {
    for (int i = 0; i < count; ++i) {
      if (burst) {
        platform::Event e;
        e.kind = K::KeyPress;
        e.ch = static_cast<unsigned char>(letter);
        machine.events.Push(e);
      } else {
        Type(static_cast<unsigned char>(letter));
        Tick();
      }
    }
    Tick(2);
  }

  testing_support::GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form{machine};

 private:
  void Point(int i) {
    const TMenuButton& b = *form.Menus.Button(i);
    form.MDisplayMouseMove(static_cast<int>(b.X) + b.Width / 2,
                           static_cast<int>(b.Y) + b.Height / 2);
  }
  Field field_;
};

TEST(TextFields, EachFieldHoldsAsManyLettersAtOneKeyAFrameAsInABurst) {
  const struct {
    Field field;
    char letter;
    int holds;
  } cases[] = {
      {Field::Name, 'A', 9},
      {Field::Name, 'W', 6},
      {Field::Country, 'A', 12},
  };
  for (const auto& c : cases) {
    for (const bool burst : {false, true}) {
      SCOPED_TRACE(std::string(1, c.letter) + (c.field == Field::Name ? " name" : " country") +
                   (burst ? ", burst" : ", one a frame"));
      FieldGame game(c.field);
      ASSERT_TRUE(game.Editing());
      game.TypeKeys(c.letter, 30, burst);
      const std::string typed = game.Text();
      EXPECT_EQ(typed, std::string(static_cast<std::size_t>(c.holds), c.letter));
      ASSERT_FALSE(typed.empty());
      const std::string before_last = typed.substr(0, typed.size() - 1);
      const TCaptionSprite& cursor = *game.form.Menus.CursorSprite;
      const int limit = game.Place().field_end - cursor.Width;
      // The last letter was taken because the text before it ended left of the limit; the
      // text with it reaches past the limit.
      EXPECT_LT(game.EndOf(before_last), limit);
      EXPECT_GT(game.EndOf(typed), limit);
      EXPECT_EQ(game.form.Text.LastTextEndX(), game.EndOf(typed));
      // So the cursor has not followed the last letter: one key a frame leaves it over that
      // letter, a burst between two frames where the empty field had it.
      EXPECT_EQ(cursor.X, burst ? game.Place().cursor_min : game.EndOf(before_last));
      EXPECT_LE(cursor.X + cursor.Width, game.Place().field_end);
      // Backspace makes room for the same letter again, and for one only.
      game.Type(kBackspace);
      game.TypeKeys(c.letter, 3, burst);
      EXPECT_EQ(game.Text(), typed);
    }
  }
}

}  // namespace

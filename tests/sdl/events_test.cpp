// SDL's events as the game's window events, from hand-made SDL event structs: no SDL_Init, no
// window.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "platform/sdl/sdl_events.h"
#include "sdl/key_event.h"

namespace trakvolt::platform {
namespace {

using K = Event::Kind;

// ---- SDL's side ----

SDL_Event Text(const char* utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
  return e;
}

SDL_Event Down(SDL_Scancode sc, SDL_Keycode label, Uint16 mod = KMOD_NONE) {
  return KeySdlEvent(SDL_KEYDOWN, sc, label, mod);
}
SDL_Event Up(SDL_Scancode sc, SDL_Keycode label, Uint16 mod = KMOD_NONE) {
  return KeySdlEvent(SDL_KEYUP, sc, label, mod);
}

SDL_Event Button(Uint32 type, Uint8 button, Uint8 clicks, int x, int y) {
  SDL_Event e{};
  e.type = type;
  e.button.type = type;
  e.button.button = button;
  e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = clicks;
  e.button.x = x;
  e.button.y = y;
  return e;
}

SDL_Event Motion(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  return e;
}

SDL_Event Window(Uint8 what) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = what;
  return e;
}

SDL_Event Of(Uint32 type) {
  SDL_Event e{};
  e.type = type;
  return e;
}

SDL_Event Pad(Uint32 type, Uint8 button) {
  SDL_Event e{};
  e.type = type;
  e.cbutton.button = button;
  e.cbutton.state = type == SDL_CONTROLLERBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  return e;
}

// ---- the game's side ----

Event Made(K kind, int x = 0, int y = 0, int key = 0, unsigned char ch = 0, ShiftState s = {}) {
  Event e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.key = key;
  e.ch = ch;
  e.shift = s;
  return e;
}
Event KeyDown(int key, ShiftState s = {}) { return Made(K::KeyDown, 0, 0, key, 0, s); }
Event KeyUp(int key, ShiftState s = {}) { return Made(K::KeyUp, 0, 0, key, 0, s); }
Event Press(unsigned char ch) { return Made(K::KeyPress, 0, 0, 0, ch); }
Event At(K kind, int x, int y) { return Made(kind, x, y); }
Event Only(K kind) { return Made(kind); }

constexpr ShiftState kShift{true, false, false};
constexpr ShiftState kAlt{false, true, false};
constexpr ShiftState kCtrl{false, false, true};

std::string Describe(const Event& e) {
  static const char* const kNames[] = {"MouseMove", "Click",    "DoubleClick", "KeyDown", "KeyUp",
                                       "KeyPress",  "Activate", "Deactivate",  "Quit"};
  char text[96];
  std::snprintf(text, sizeof text, "%s x=%d y=%d key=%d ch=%d%s%s%s",
                kNames[static_cast<int>(e.kind)], e.x, e.y, e.key, e.ch,
                e.shift.shift ? " shift" : "", e.shift.alt ? " alt" : "",
                e.shift.ctrl ? " ctrl" : "");
  return text;
}

// ---- the cases ----

// The texture path in a 1920 x 1080 full screen: the renderer has mapped positions already.
constexpr PointerSpace kRendererMaps{false, 1920, 1080};
// The window path in the same full screen: the picture is 1440 x 1080 from x = 240.
constexpr PointerSpace kWide{true, 1920, 1080};
// The window path in a tall window: the picture is 800 x 600 from y = 200.
constexpr PointerSpace kTall{true, 800, 1000};

struct EventCase {
  const char* name;
  std::vector<SDL_Event> sdl;
  std::vector<Event> game;
  bool reopen_pad = false;
  PointerSpace pointer = kRendererMaps;
};

void PrintTo(const EventCase& c, std::ostream* os) { *os << c.name; }

const EventCase kCases[] = {
    {"TextIsOneKeyPressPerCharacter", {Text("ab")}, {Press('a'), Press('b')}},
    {"CyrillicTextInCp1251", {Text("Жя")}, {Press(0xC6), Press(0xFF)}},
    {"CharacterWithoutCp1251IsDropped", {Text("x中y")}, {Press('x'), Press('y')}},
    {"TextOfOnlyUnmappableCharactersIsNothing", {Text("中")}, {}},
    {"EnterDownIsKeyDownAndCharacter",
     {Down(SDL_SCANCODE_RETURN, SDLK_RETURN)},
     {KeyDown(13), Press('\r')}},
    {"EscapeDownIsKeyDownAndCharacter",
     {Down(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE)},
     {KeyDown(27), Press('\x1b')}},
    {"BackspaceDownIsKeyDownAndCharacter",
     {Down(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE)},
     {KeyDown(8), Press('\b')}},
    {"RepeatedEnterIsKeyDownAndCharacterAgain",
     {Down(SDL_SCANCODE_RETURN, SDLK_RETURN),
      KeySdlEvent(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE, true)},
     {KeyDown(13), Press('\r'), KeyDown(13), Press('\r')}},
    {"AltEnterIsOnlyKeyDown",
     {Down(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT)},
     {KeyDown(13, kAlt)}},
    {"AltEscapeIsOnlyKeyDown",
     {Down(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_RALT)},
     {KeyDown(27, kAlt)}},
    {"KeyUpIsKeyUpWithoutCharacter",
     {Up(SDL_SCANCODE_RETURN, SDLK_RETURN), Up(SDL_SCANCODE_LEFT, SDLK_LEFT)},
     {KeyUp(13), KeyUp(37)}},
    {"LetterKeyByItsLatinLabel",
     {Down(SDL_SCANCODE_Z, SDLK_y), Up(SDL_SCANCODE_Z, SDLK_y)},
     {KeyDown('Y'), KeyUp('Y')}},
    {"LetterKeyWithCyrillicLabelByPlace",
     {Down(SDL_SCANCODE_Q, 0x0439), Up(SDL_SCANCODE_Q, 0x0439)},
     {KeyDown('Q'), KeyUp('Q')}},
    // The player switches to German while holding the Z place: it comes up as it went down.
    {"KeyUpNamesTheKeyItsDownNamed",
     {Down(SDL_SCANCODE_Z, SDLK_z), Up(SDL_SCANCODE_Z, SDLK_y)},
     {KeyDown('Z'), KeyUp('Z')}},
    {"KeyWithoutCodeIsNothing", {Down(SDL_SCANCODE_F13, SDLK_F13)}, {}},
    {"ShiftAltAndCtrlState",
     {Down(SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT), Down(SDL_SCANCODE_B, SDLK_b, KMOD_RALT),
      Down(SDL_SCANCODE_C, SDLK_c, KMOD_RCTRL), Up(SDL_SCANCODE_A, SDLK_a, KMOD_RSHIFT),
      Down(SDL_SCANCODE_D, SDLK_d, KMOD_LSHIFT | KMOD_LCTRL | KMOD_NUM)},
     {KeyDown('A', kShift), KeyDown('B', kAlt), KeyDown('C', kCtrl), KeyUp('A', kShift),
      KeyDown('D', {true, false, true})}},
    {"LeftSingleClickOnButtonUp",
     {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 10, 20),
      Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 11, 21)},
     {At(K::Click, 11, 21)}},
    {"DoubleClickOnSecondPress",
     {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 10, 20),
      Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 10, 20),
      Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 12, 22),
      Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2, 12, 22)},
     {At(K::Click, 10, 20), At(K::DoubleClick, 12, 22)}},
    {"RightButtonIsNothing",
     {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 10, 20),
      Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 10, 20),
      Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2, 10, 20)},
     {}},
    {"MotionAsTheRendererMappedIt", {Motion(799, 599)}, {At(K::MouseMove, 799, 599)}},
    {"MotionThroughTheLetterbox",
     {Motion(960, 540), Motion(240, 0), Motion(1679, 1079), Motion(0, 0)},
     {At(K::MouseMove, 400, 300), At(K::MouseMove, 0, 0), At(K::MouseMove, 799, 599),
      At(K::MouseMove, -134, 0)},
     false,
     kWide},
    {"ClicksThroughTheLetterbox",
     {Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 960, 540),
      Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 1680, 1079)},
     {At(K::Click, 400, 300), At(K::DoubleClick, 800, 599)},
     false,
     kWide},
    {"MotionThroughBarsAboveAndBelow",
     {Motion(10, 200), Motion(799, 799), Motion(5, 100)},
     {At(K::MouseMove, 10, 0), At(K::MouseMove, 799, 599), At(K::MouseMove, 5, -100)},
     false,
     kTall},
    {"FocusGainedAndLost",
     {Window(SDL_WINDOWEVENT_FOCUS_GAINED), Window(SDL_WINDOWEVENT_RESIZED),
      Window(SDL_WINDOWEVENT_FOCUS_LOST), Window(SDL_WINDOWEVENT_FOCUS_GAINED)},
     {Only(K::Activate), Only(K::Deactivate), Only(K::Activate)}},
    {"Quit", {Of(SDL_QUIT)}, {Only(K::Quit)}},
    {"PadADownIsEnterDownAndCharacter",
     {Pad(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_A)},
     {KeyDown(13), Press('\r')}},
    {"PadBDownIsEscapeDownAndCharacter",
     {Pad(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_B)},
     {KeyDown(27), Press('\x1b')}},
    {"PadAAndBUpAreKeyUps",
     {Pad(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_A),
      Pad(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_B)},
     {KeyUp(13), KeyUp(27)}},
    {"OtherPadButtonsAreNothing",
     {Pad(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_X),
      Pad(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_START)},
     {}},
    {"JoystickAddedReopensThePad", {Of(SDL_JOYDEVICEADDED)}, {}, true},
    {"JoystickRemovedReopensThePad", {Of(SDL_JOYDEVICEREMOVED)}, {}, true},
    {"ControllerAddedReopensThePad", {Of(SDL_CONTROLLERDEVICEADDED)}, {}, true},
    {"ControllerRemovedReopensThePad", {Of(SDL_CONTROLLERDEVICEREMOVED)}, {}, true},
    {"OtherEventsAskNothing", {Of(SDL_KEYMAPCHANGED), Of(SDL_MOUSEWHEEL)}, {}},
};

class SdlEventTranslation : public testing::TestWithParam<EventCase> {};

TEST_P(SdlEventTranslation, MakesTheGamesEvents) {
  const EventCase& c = GetParam();
  HeldKeys keys;
  EventTranslator translator(keys);
  bool reopen_pad = false;
  for (const SDL_Event& e : c.sdl) reopen_pad |= translator.Feed(e, c.pointer).reopen_pad;
  EXPECT_EQ(reopen_pad, c.reopen_pad);
  EXPECT_EQ(translator.Waiting(), !c.game.empty());
  std::vector<std::string> made, expected;
  for (Event e; translator.Next(e);) made.push_back(Describe(e));
  for (const Event& e : c.game) expected.push_back(Describe(e));
  EXPECT_EQ(made, expected);
  EXPECT_FALSE(translator.Waiting());
}

INSTANTIATE_TEST_SUITE_P(Cases, SdlEventTranslation, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<EventCase>& c) {
                           return std::string(c.param.name);
                         });

}  // namespace
}  // namespace trakvolt::platform

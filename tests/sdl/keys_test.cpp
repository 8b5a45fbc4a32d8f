// SDL key events and keyboard state as the game's virtual-key codes: letters by the layout's
// Latin label, by position where the layout has none; everything else by position. Pure
// translations over synthetic events: no window, no display.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/sdl/sdl_keys.h"
#include "sdl/key_event.h"

namespace trakvolt::platform {
namespace {

struct KeyCase {
  const char* layout;
  SDL_Scancode scancode;  // where the key is
  SDL_Keycode label;      // what the layout prints on it
  int vk;
};

std::string Describe(const KeyCase& c) {
  char label[16];
  std::snprintf(label, sizeof label, "U+%04X", static_cast<unsigned>(c.label));
  return std::string(c.layout) + " key " + SDL_GetScancodeName(c.scancode) + " labelled " + label;
}

SDL_KeyboardEvent KeyEvent(Uint32 type, SDL_Scancode sc, SDL_Keycode label, bool repeat = false) {
  return KeySdlEvent(type, sc, label, KMOD_NONE, repeat).key;
}

// SDL's keyboard state with only `sc` down.
std::array<Uint8, SDL_NUM_SCANCODES> StateWith(SDL_Scancode sc) {
  std::array<Uint8, SDL_NUM_SCANCODES> state{};
  state[static_cast<std::size_t>(sc)] = 1;
  return state;
}

constexpr KeyCase kKeys[] = {
    {"QWERTY", SDL_SCANCODE_P, SDLK_p, 'P'},
    {"QWERTY", SDL_SCANCODE_Y, SDLK_y, 'Y'},
    {"QWERTY", SDL_SCANCODE_N, SDLK_n, 'N'},
    {"QWERTY", SDL_SCANCODE_Z, SDLK_z, 'Z'},
    {"QWERTY", SDL_SCANCODE_A, SDLK_a, 'A'},
    // German: Y and Z trade places.
    {"QWERTZ", SDL_SCANCODE_Z, SDLK_y, 'Y'},
    {"QWERTZ", SDL_SCANCODE_Y, SDLK_z, 'Z'},
    {"QWERTZ", SDL_SCANCODE_P, SDLK_p, 'P'},
    {"QWERTZ", SDL_SCANCODE_N, SDLK_n, 'N'},
    // French: A and Q, Z and W trade places; M sits right of L and its old key is the comma.
    {"AZERTY", SDL_SCANCODE_Q, SDLK_a, 'A'},
    {"AZERTY", SDL_SCANCODE_A, SDLK_q, 'Q'},
    {"AZERTY", SDL_SCANCODE_W, SDLK_z, 'Z'},
    {"AZERTY", SDL_SCANCODE_Z, SDLK_w, 'W'},
    {"AZERTY", SDL_SCANCODE_SEMICOLON, SDLK_m, 'M'},
    {"AZERTY", SDL_SCANCODE_M, SDLK_COMMA, 188},
    {"AZERTY", SDL_SCANCODE_P, SDLK_p, 'P'},
    {"AZERTY", SDL_SCANCODE_Y, SDLK_y, 'Y'},
    {"AZERTY", SDL_SCANCODE_N, SDLK_n, 'N'},
    {"AZERTY", SDL_SCANCODE_1, SDLK_AMPERSAND, '1'},
    // Russian: no Latin labels, so every key stays where it is.
    {"ЙЦУКЕН", SDL_SCANCODE_P, 0x0437, 'P'},          // з
    {"ЙЦУКЕН", SDL_SCANCODE_Y, 0x043D, 'Y'},          // н
    {"ЙЦУКЕН", SDL_SCANCODE_N, 0x0442, 'N'},          // т
    {"ЙЦУКЕН", SDL_SCANCODE_Z, 0x044F, 'Z'},          // я
    {"ЙЦУКЕН", SDL_SCANCODE_Q, 0x0439, 'Q'},          // й
    {"ЙЦУКЕН", SDL_SCANCODE_SEMICOLON, 0x0436, 186},  // ж
    // Digits and the special keys, whatever the layout.
    {"any", SDL_SCANCODE_1, SDLK_1, '1'},
    {"any", SDL_SCANCODE_0, SDLK_0, '0'},
    {"any", SDL_SCANCODE_RETURN, SDLK_RETURN, 13},
    {"any", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 13},
    {"any", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27},
    {"any", SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 8},
    {"any", SDL_SCANCODE_SPACE, SDLK_SPACE, 32},
    {"any", SDL_SCANCODE_LCTRL, SDLK_LCTRL, 17},
    {"any", SDL_SCANCODE_LEFT, SDLK_LEFT, 37},
    {"any", SDL_SCANCODE_UP, SDLK_UP, 38},
    {"any", SDL_SCANCODE_RIGHT, SDLK_RIGHT, 39},
    {"any", SDL_SCANCODE_DOWN, SDLK_DOWN, 40},
    {"any", SDL_SCANCODE_KP_8, SDLK_KP_8, 104},
    {"any", SDL_SCANCODE_KP_0, SDLK_KP_0, 96},
    {"any", SDL_SCANCODE_F1, SDLK_F1, 112},
};

TEST(SdlKeyCodes, KeyDownKeyUpAndThePolledTableNameTheKeyAsTheLayoutLabelsIt) {
  for (const KeyCase& c : kKeys) {
    HeldKeys keys;
    EXPECT_EQ(VirtualKeyFromEvent(KeyEvent(SDL_KEYDOWN, c.scancode, c.label)), c.vk) << Describe(c);
    // Held before the game saw the press: the table reads the label as it is.
    const auto state = StateWith(c.scancode);
    const auto unseen = keys.Table(state, [&](SDL_Scancode) { return c.label; });
    EXPECT_EQ(unseen[static_cast<std::size_t>(c.vk)], 0x80) << Describe(c);
    EXPECT_EQ(keys.Press(KeyEvent(SDL_KEYDOWN, c.scancode, c.label)), c.vk) << Describe(c);
    const auto held = keys.Table(state, [&](SDL_Scancode) { return c.label; });
    std::array<std::uint8_t, 256> only{};
    only[static_cast<std::size_t>(c.vk)] = 0x80;
    EXPECT_EQ(held, only) << Describe(c);
    EXPECT_EQ(keys.Release(KeyEvent(SDL_KEYUP, c.scancode, c.label)), c.vk) << Describe(c);
  }
}

// The player switches from English to German while holding the key at the Z place.
TEST(SdlKeyCodes, AKeyHeldThroughALayoutChangeComesUpAsTheKeyItWentDownAs) {
  const auto qwerty = [](SDL_Scancode) { return static_cast<SDL_Keycode>(SDLK_z); };
  const auto qwertz = [](SDL_Scancode) { return static_cast<SDL_Keycode>(SDLK_y); };
  const auto state = StateWith(SDL_SCANCODE_Z);
  HeldKeys keys;
  ASSERT_EQ(keys.Table(state, qwerty)['Z'], 0x80);
  ASSERT_EQ(keys.Press(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_z)), 'Z');
  // Now the layout labels that key Y: it is still Z for the table, for its repeats and when it
  // comes up, so neither Z nor Y is left down.
  const auto during = keys.Table(state, qwertz);
  EXPECT_EQ(during['Z'], 0x80);
  EXPECT_EQ(during['Y'], 0);
  EXPECT_EQ(keys.Press(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_y, true)), 'Z');
  EXPECT_EQ(keys.Release(KeyEvent(SDL_KEYUP, SDL_SCANCODE_Z, SDLK_y)), 'Z');
  // Up in SDL's state, so down nowhere.
  EXPECT_EQ(keys.Table(std::array<Uint8, SDL_NUM_SCANCODES>{}, qwertz),
            (std::array<std::uint8_t, 256>{}));
  // The next press reads the new label.
  EXPECT_EQ(keys.Press(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_y)), 'Y');
  EXPECT_EQ(keys.Table(state, qwertz)['Y'], 0x80);
  EXPECT_EQ(keys.Release(KeyEvent(SDL_KEYUP, SDL_SCANCODE_Z, SDLK_y)), 'Y');
}

}  // namespace
}  // namespace trakvolt::platform

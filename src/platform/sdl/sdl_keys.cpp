// SDL keys to the Windows virtual-key codes the game's key tables use.
#include "platform/sdl/sdl_keys.h"

namespace trakvolt::platform {

int VirtualKeyFromScancode(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return 112 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return 97 + (sc - SDL_SCANCODE_KP_1);
  switch (sc) {
    case SDL_SCANCODE_0:
      return '0';
    case SDL_SCANCODE_KP_0:
      return 96;
    case SDL_SCANCODE_BACKSPACE:
      return 8;
    case SDL_SCANCODE_TAB:
      return 9;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
      return 13;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
      return 16;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
      return 17;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
      return 18;
    case SDL_SCANCODE_PAUSE:
      return 19;
    case SDL_SCANCODE_CAPSLOCK:
      return 20;
    case SDL_SCANCODE_ESCAPE:
      return 27;
    case SDL_SCANCODE_SPACE:
      return 32;
    case SDL_SCANCODE_PAGEUP:
      return 33;
    case SDL_SCANCODE_PAGEDOWN:
      return 34;
    case SDL_SCANCODE_END:
      return 35;
    case SDL_SCANCODE_HOME:
      return 36;
    case SDL_SCANCODE_LEFT:
      return 37;
    case SDL_SCANCODE_UP:
      return 38;
    case SDL_SCANCODE_RIGHT:
      return 39;
    case SDL_SCANCODE_DOWN:
      return 40;
    case SDL_SCANCODE_INSERT:
      return 45;
    case SDL_SCANCODE_DELETE:
      return 46;
    case SDL_SCANCODE_KP_MULTIPLY:
      return 106;
    case SDL_SCANCODE_KP_PLUS:
      return 107;
    case SDL_SCANCODE_KP_MINUS:
      return 109;
    case SDL_SCANCODE_KP_PERIOD:
      return 110;
    case SDL_SCANCODE_KP_DIVIDE:
      return 111;
    case SDL_SCANCODE_SEMICOLON:
      return 186;
    case SDL_SCANCODE_EQUALS:
      return 187;
    case SDL_SCANCODE_COMMA:
      return 188;
    case SDL_SCANCODE_MINUS:
      return 189;
    case SDL_SCANCODE_PERIOD:
      return 190;
    case SDL_SCANCODE_SLASH:
      return 191;
    case SDL_SCANCODE_GRAVE:
      return 192;
    case SDL_SCANCODE_LEFTBRACKET:
      return 219;
    case SDL_SCANCODE_BACKSLASH:
      return 220;
    case SDL_SCANCODE_RIGHTBRACKET:
      return 221;
    case SDL_SCANCODE_APOSTROPHE:
      return 222;
    default:
      return 0;
  }
}

namespace {

// The US key that carries a sign, for a sign that labels a letter key on another Latin layout
// (the comma on a French keyboard's M key); SDL_SCANCODE_UNKNOWN for signs without a key code.
SDL_Scancode UsKeyOfSign(SDL_Keycode key) {
  if (key >= '1' && key <= '9') return static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (key - '1'));
  switch (key) {
    case '0':
      return SDL_SCANCODE_0;
    case ';':
      return SDL_SCANCODE_SEMICOLON;
    case '=':
      return SDL_SCANCODE_EQUALS;
    case ',':
      return SDL_SCANCODE_COMMA;
    case '-':
      return SDL_SCANCODE_MINUS;
    case '.':
      return SDL_SCANCODE_PERIOD;
    case '/':
      return SDL_SCANCODE_SLASH;
    case '`':
      return SDL_SCANCODE_GRAVE;
    case '[':
      return SDL_SCANCODE_LEFTBRACKET;
    case '\\':
      return SDL_SCANCODE_BACKSLASH;
    case ']':
      return SDL_SCANCODE_RIGHTBRACKET;
    case '\'':
      return SDL_SCANCODE_APOSTROPHE;
    default:
      return SDL_SCANCODE_UNKNOWN;
  }
}

}  // namespace

int VirtualKeyFromKey(SDL_Scancode sc, SDL_Keycode key) {
  if (key >= 'a' && key <= 'z') return 'A' + (key - 'a');
  // A letter key that the layout labels with another ASCII sign is that sign, not the letter
  // at its place, which some other key carries. Labels from other scripts (Cyrillic) leave
  // letter keys at their places.
  const bool letter_place = sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z;
  if (letter_place && key > ' ' && key < 0x7f) return VirtualKeyFromScancode(UsKeyOfSign(key));
  return VirtualKeyFromScancode(sc);
}

int VirtualKeyFromEvent(const SDL_KeyboardEvent& e) {
  return VirtualKeyFromKey(e.keysym.scancode, e.keysym.sym);
}

int HeldKeys::Press(const SDL_KeyboardEvent& e) {
  const auto sc = static_cast<std::size_t>(e.keysym.scancode);
  if (sc >= codes_.size()) return VirtualKeyFromEvent(e);
  // A fresh press reads the label as it is now; a repeat is still the key that was pressed.
  if (!e.repeat || codes_[sc] == kUp) codes_[sc] = VirtualKeyFromEvent(e);
  return codes_[sc];
}

int HeldKeys::Release(const SDL_KeyboardEvent& e) {
  const auto sc = static_cast<std::size_t>(e.keysym.scancode);
  if (sc >= codes_.size()) return VirtualKeyFromEvent(e);
  const int code = codes_[sc] != kUp ? codes_[sc] : VirtualKeyFromEvent(e);
  codes_[sc] = kUp;
  return code;
}

int HeldKeys::Held(SDL_Scancode sc, SDL_Keycode key) const {
  const auto i = static_cast<std::size_t>(sc);
  if (i < codes_.size() && codes_[i] != kUp) return codes_[i];
  return VirtualKeyFromKey(sc, key);
}

}  // namespace trakvolt::platform

// SDL keys to the Windows virtual-key codes the game's key tables use.
#include "platform/sdl/sdl_keys.h"

#include "platform/virtual_keys.h"

namespace trakvolt::platform {

int VirtualKeyFromScancode(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return vk::Letter('A') + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return vk::Digit('1') + (sc - SDL_SCANCODE_1);
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return vk::F1 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9)
    return vk::NumpadDigit(1) + (sc - SDL_SCANCODE_KP_1);
  switch (sc) {
    case SDL_SCANCODE_0:
      return vk::Digit('0');
    case SDL_SCANCODE_KP_0:
      return vk::Numpad0;
    case SDL_SCANCODE_BACKSPACE:
      return vk::Backspace;
    case SDL_SCANCODE_TAB:
      return vk::Tab;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
      return vk::Enter;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
      return vk::Shift;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
      return vk::Ctrl;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
      return vk::Alt;
    case SDL_SCANCODE_PAUSE:
      return vk::Pause;
    case SDL_SCANCODE_CAPSLOCK:
      return vk::CapsLock;
    case SDL_SCANCODE_ESCAPE:
      return vk::Escape;
    case SDL_SCANCODE_SPACE:
      return vk::Space;
    case SDL_SCANCODE_PAGEUP:
      return vk::PageUp;
    case SDL_SCANCODE_PAGEDOWN:
      return vk::PageDown;
    case SDL_SCANCODE_END:
      return vk::End;
    case SDL_SCANCODE_HOME:
      return vk::Home;
    case SDL_SCANCODE_LEFT:
      return vk::Left;
    case SDL_SCANCODE_UP:
      return vk::Up;
    case SDL_SCANCODE_RIGHT:
      return vk::Right;
    case SDL_SCANCODE_DOWN:
      return vk::Down;
    case SDL_SCANCODE_INSERT:
      return vk::Insert;
    case SDL_SCANCODE_DELETE:
      return vk::Delete;
    case SDL_SCANCODE_KP_MULTIPLY:
      return vk::Multiply;
    case SDL_SCANCODE_KP_PLUS:
      return vk::Add;
    case SDL_SCANCODE_KP_MINUS:
      return vk::Subtract;
    case SDL_SCANCODE_KP_PERIOD:
      return vk::Decimal;
    case SDL_SCANCODE_KP_DIVIDE:
      return vk::Divide;
    case SDL_SCANCODE_SEMICOLON:
      return vk::Semicolon;
    case SDL_SCANCODE_EQUALS:
      return vk::Equals;
    case SDL_SCANCODE_COMMA:
      return vk::Comma;
    case SDL_SCANCODE_MINUS:
      return vk::Minus;
    case SDL_SCANCODE_PERIOD:
      return vk::Period;
    case SDL_SCANCODE_SLASH:
      return vk::Slash;
    case SDL_SCANCODE_GRAVE:
      return vk::Grave;
    case SDL_SCANCODE_LEFTBRACKET:
      return vk::LeftBracket;
    case SDL_SCANCODE_BACKSLASH:
      return vk::Backslash;
    case SDL_SCANCODE_RIGHTBRACKET:
      return vk::RightBracket;
    case SDL_SCANCODE_APOSTROPHE:
      return vk::Apostrophe;
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

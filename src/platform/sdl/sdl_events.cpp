// SDL's events as the game's window events.
#include "platform/sdl/sdl_events.h"

#include "base/cp1251.h"
#include "platform/present_choice.h"
#include "platform/virtual_keys.h"

namespace trakvolt::platform {

namespace {

ShiftState ShiftFromMod(Uint16 mod) {
  return ShiftState{(mod & KMOD_SHIFT) != 0, (mod & KMOD_ALT) != 0, (mod & KMOD_CTRL) != 0};
}

Event PointerEvent(Event::Kind kind, int x, int y, const PointerSpace& pointer) {
  Event out;
  out.kind = kind;
  out.x = x;
  out.y = y;
  PointerToScreen(pointer, out.x, out.y);
  return out;
}

Event KindOnly(Event::Kind kind) {
  Event out;
  out.kind = kind;
  return out;
}

}  // namespace

void PointerToScreen(const PointerSpace& space, int& x, int& y) {
  if (!space.letterboxed) return;
  if (space.window_w == kScreenWidth && space.window_h == kScreenHeight) return;
  WindowToPicture(LetterboxIn(space.window_w, space.window_h, kScreenWidth, kScreenHeight),
                  kScreenWidth, kScreenHeight, x, y);
}

bool EventTranslator::Next(Event& out) {
  if (waiting_.empty()) return false;
  out = waiting_.front();
  waiting_.pop_front();
  return true;
}

void EventTranslator::PushChar(unsigned char ch) {
  Event press;
  press.kind = Event::Kind::KeyPress;
  press.ch = ch;
  waiting_.push_back(press);
}

EventRequests EventTranslator::Feed(const SDL_Event& e, const PointerSpace& pointer) {
  using K = Event::Kind;
  switch (e.type) {
    case SDL_QUIT:
      waiting_.push_back(KindOnly(K::Quit));
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) waiting_.push_back(KindOnly(K::Activate));
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) waiting_.push_back(KindOnly(K::Deactivate));
      break;
    case SDL_MOUSEMOTION:
      waiting_.push_back(PointerEvent(K::MouseMove, e.motion.x, e.motion.y, pointer));
      break;
    case SDL_MOUSEBUTTONDOWN:
      // The second press of a double click is the double click; a first press does nothing
      // until the button comes up.
      if (e.button.button == SDL_BUTTON_LEFT && e.button.clicks >= 2)
        waiting_.push_back(PointerEvent(K::DoubleClick, e.button.x, e.button.y, pointer));
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT && e.button.clicks == 1)
        waiting_.push_back(PointerEvent(K::Click, e.button.x, e.button.y, pointer));
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const bool down = e.type == SDL_KEYDOWN;
      Event out;
      out.kind = down ? K::KeyDown : K::KeyUp;
      out.key = down ? keys_.Press(e.key) : keys_.Release(e.key);
      out.shift = ShiftFromMod(e.key.keysym.mod);
      if (out.key == 0) break;
      waiting_.push_back(out);
      // Enter, Escape and Backspace also arrive as characters: the screens read them as key
      // presses, and SDL sends no text for them. Not with Alt, so Alt+Enter only switches
      // between window and full screen.
      if (down && (out.key == vk::Enter || out.key == vk::Escape || out.key == vk::Backspace) &&
          !out.shift.alt)
        PushChar(static_cast<unsigned char>(out.key));
      break;
    }
    case SDL_TEXTINPUT:
      // Characters cp1251 has no byte for cannot be typed into the game's fields.
      for (const char ch : Utf8ToCp1251(e.text.text, '\0'))
        if (ch != '\0') PushChar(static_cast<unsigned char>(ch));
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      // In the menus a pad's A chooses like Enter and B goes back like Escape.
      const Uint8 b = e.cbutton.button;
      if (b != SDL_CONTROLLER_BUTTON_A && b != SDL_CONTROLLER_BUTTON_B) break;
      const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
      Event out;
      out.kind = down ? K::KeyDown : K::KeyUp;
      out.key = b == SDL_CONTROLLER_BUTTON_A ? vk::Enter : vk::Escape;
      waiting_.push_back(out);
      if (down) PushChar(static_cast<unsigned char>(out.key));
      break;
    }
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
      return EventRequests{.reopen_pad = true};
    default:
      break;
  }
  return {};
}

}  // namespace trakvolt::platform

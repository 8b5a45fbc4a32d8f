// SDL's events as the game's window events: typed text as cp1251 key presses, keys as
// virtual-key codes, clicks and pointer positions on the 800 x 600 picture, a pad's A and B as
// Enter and Escape. A pure step over the event structs, so it runs without a window.
#pragma once

#include <SDL.h>

#include <deque>

#include "platform/platform.h"
#include "platform/sdl/sdl_keys.h"

namespace trakvolt::platform {

// How the window's pointer positions lie over the picture when an event comes in. The
// renderer maps positions to the picture itself; the window path shows the picture in a
// letterbox of the window's size, so the game maps them.
struct PointerSpace {
  bool letterboxed = false;
  int window_w = kScreenWidth, window_h = kScreenHeight;
};

// A pointer position in the window as a position on the 800 x 600 picture (outside the
// letterbox it lies outside the picture).
void PointerToScreen(const PointerSpace& space, int& x, int& y);

// What the platform has to do for an event besides handing on the game's events.
struct EventRequests {
  bool reopen_pad = false;  // a joystick or controller came or went: open the first one again
};

// Turns SDL's events, one at a time, into the game's events and keeps them until taken.
class EventTranslator {
 public:
  // The key events keep `keys` up to date and take their codes from it.
  explicit EventTranslator(HeldKeys& keys) : keys_(keys) {}

  EventRequests Feed(const SDL_Event& e, const PointerSpace& pointer);
  // Takes the oldest waiting event; false when none is waiting.
  bool Next(Event& out);
  bool Waiting() const { return !waiting_.empty(); }

 private:
  void PushChar(unsigned char ch);

  HeldKeys& keys_;
  std::deque<Event> waiting_;
};

}  // namespace trakvolt::platform

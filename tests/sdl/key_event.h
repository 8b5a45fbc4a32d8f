// A hand-made SDL key event, as SDL would deliver it, for the tests of the key table and the
// event translator.
#pragma once

#include <SDL.h>

namespace trakvolt::platform {

inline SDL_Event KeySdlEvent(Uint32 type, SDL_Scancode sc, SDL_Keycode label,
                             Uint16 mod = KMOD_NONE, bool repeat = false) {
  SDL_Event e{};
  e.type = type;
  e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.scancode = sc;
  e.key.keysym.sym = label;
  e.key.keysym.mod = mod;
  return e;
}

}  // namespace trakvolt::platform

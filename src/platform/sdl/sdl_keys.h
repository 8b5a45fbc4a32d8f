// SDL keys as the Windows virtual-key codes the game's key tables use.
#pragma once

#include <SDL.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace trakvolt::platform {

// Windows virtual-key code of a key by its position on a US keyboard (0 for keys the game has
// no code for).
int VirtualKeyFromScancode(SDL_Scancode sc);

// Windows virtual-key code of a key as the player's layout labels it (`key`, SDL's keycode)
// at its position (`sc`). Letters go by their Latin label, so Y and Z swap on a German keyboard
// and A, Q, W and Z move on a French one, whose key at the US M is its comma; a letter key with
// a label from another script (Cyrillic) is the letter at its position, and every other key
// goes by its position.
int VirtualKeyFromKey(SDL_Scancode sc, SDL_Keycode key);
int VirtualKeyFromEvent(const SDL_KeyboardEvent& e);

// The code each held key was pressed as. A key keeps it until it comes up, even when the
// layout changes meanwhile, so its key-up and the polled key table name the key its key-down
// named and nothing stays down.
class HeldKeys {
 public:
  HeldKeys() { codes_.fill(kUp); }

  // The code of a key-down; a repeat keeps the code of its press.
  int Press(const SDL_KeyboardEvent& e);
  // The code of a key-up: the one the key was pressed as.
  int Release(const SDL_KeyboardEvent& e);
  // The code of a key that the keyboard state shows down; `key` is its label now, for a key
  // whose press has not been seen.
  int Held(SDL_Scancode sc, SDL_Keycode key) const;

  // The key table the input device polls (a key is down when its high bit is set) from SDL's
  // keyboard state, indexed by scancode; `key_of` gives a scancode's label now.
  template <typename KeyOf>
  std::array<std::uint8_t, 256> Table(std::span<const Uint8> state, KeyOf key_of) const {
    std::array<std::uint8_t, 256> table{};
    for (std::size_t i = 0; i < state.size(); ++i) {
      if (!state[i]) continue;
      const auto sc = static_cast<SDL_Scancode>(i);
      const int vk = Held(sc, key_of(sc));
      if (vk > 0 && vk < 256) table[static_cast<std::size_t>(vk)] = 0x80;
    }
    return table;
  }

 private:
  static constexpr int kUp = -1;  // not pressed, as far as the events tell
  std::array<int, SDL_NUM_SCANCODES> codes_;
};

}  // namespace trakvolt::platform

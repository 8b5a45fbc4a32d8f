// The input component: keyboard and joystick turned into 36 logical states once per tick.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "platform/platform.h"
#include "platform/virtual_keys.h"

namespace trakvolt {

// Logical input states, ordinals 0..35.
enum class InputState : int {
  Up = 0,
  Down,
  Left,
  Right,
  Button1,
  Button2,
  Button3,
  Button4,
  Button5,
  Button6,
  Button7,
  Button8,
  Button9,
  Button10,
  Button11,
  Button12,
  Button13,
  Button14,
  Button15,
  Button16,
  Button17,
  Button18,
  Button19,
  Button20,
  Button21,
  Button22,
  Button23,
  Button24,
  Button25,
  Button26,
  Button27,
  Button28,
  Button29,
  Button30,
  Button31,
  Button32,
};
constexpr int kInputStateCount = 36;
using InputStates = std::bitset<kInputStateCount>;

// Three virtual-key codes per state (0: no key).
using KeyAssigns = std::array<std::array<std::int32_t, 3>, kInputStateCount>;

// The game's table: arrows (and numeric-pad 8 for Up), Z X C, P pause, Esc quit question,
// Y / N answers, Space fire.
KeyAssigns DefaultAssigns();

// Windows virtual-key codes the game uses.
class TInputDevice {
 public:
  TInputDevice(platform::InputDevices& devices, platform::Window& window);

  // Polls the joystick and the keyboard and refreshes the states.
  void Update();
  const InputStates& ActiveStates() const { return active_; }
  bool IsOn(InputState s) const { return active_.test(static_cast<std::size_t>(s)); }

  KeyAssigns Assigns;
  bool ActiveOnly = true;

  // Joystick axis in -32768..32767 to -1000..1000, the central half of the travel read as 0.
  static int ScaleAxis(int raw);

 private:
  InputStates KeyboardStates(const std::array<std::uint8_t, 256>& keys) const;
  static InputStates JoystickStates(const platform::JoystickReading& j);

  platform::InputDevices& devices_;
  platform::Window& window_;
  InputStates active_;
  InputStates previous_;
};

}  // namespace trakvolt

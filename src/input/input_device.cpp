// Keyboard and joystick polling into the logical input states.
#include "input/input_device.h"

#include <algorithm>
#include <cstdlib>

namespace trakvolt {

KeyAssigns DefaultAssigns() {
  KeyAssigns a{};
  auto set = [&a](InputState s, std::int32_t k0, std::int32_t k1 = 0, std::int32_t k2 = 0) {
    a[static_cast<std::size_t>(s)] = {k0, k1, k2};
  };
  set(InputState::Up, vk::Up, 0, vk::Numpad8);
  set(InputState::Down, vk::Down);
  set(InputState::Left, vk::Left);
  set(InputState::Right, vk::Right);
  set(InputState::Button1, vk::Letter('Z'));
  set(InputState::Button2, vk::Letter('X'));
  set(InputState::Button3, vk::Letter('C'));
  set(InputState::Button4, vk::Letter('P'));
  set(InputState::Button5, vk::Escape);
  set(InputState::Button6, vk::Letter('Y'));
  set(InputState::Button7, vk::Letter('N'));
  set(InputState::Button8, vk::Space);
  return a;
}

TInputDevice::TInputDevice(platform::InputDevices& devices, platform::Window& window)
    : Assigns(DefaultAssigns()), devices_(devices), window_(window) {}

int TInputDevice::ScaleAxis(int raw) {
  const int v = std::clamp(raw, -32767, 32767) * 1000 / 32767;
  const int magnitude = std::abs(v);
  if (magnitude <= 500) return 0;  // dead zone: half of the travel on either side
  const int scaled = (magnitude - 500) * 2;
  return v < 0 ? -scaled : scaled;
}

InputStates TInputDevice::KeyboardStates(const std::array<std::uint8_t, 256>& keys) const {
  InputStates s;
  for (std::size_t state = 0; state < Assigns.size(); ++state)
    for (std::int32_t code : Assigns[state])
      if (code >= 1 && code <= 255 && (keys[static_cast<std::size_t>(code)] & 0x80)) {
        s.set(state);
        break;
      }
  return s;
}

InputStates TInputDevice::JoystickStates(const platform::JoystickReading& j) {
  InputStates s;
  if (!j.present) return s;
  const int x = ScaleAxis(j.x), y = ScaleAxis(j.y);
  s.set(static_cast<std::size_t>(InputState::Left), x < 0);
  s.set(static_cast<std::size_t>(InputState::Right), x > 0);
  s.set(static_cast<std::size_t>(InputState::Up), y < 0);
  s.set(static_cast<std::size_t>(InputState::Down), y > 0);
  for (int b = 0; b < 32; ++b)
    if (j.buttons & (1u << b)) s.set(static_cast<std::size_t>(InputState::Button1) + b);
  return s;
}

void TInputDevice::Update() {
  // Nothing is read while another window has the foreground: every state goes off.
  const bool readable = !ActiveOnly || window_.IsForeground();
  InputStates now;
  if (readable) now = JoystickStates(devices_.Joystick()) | KeyboardStates(devices_.KeyTable());
  // States that went on since the last update are added, those that went off removed; the
  // game never edits the set itself, so it follows the devices.
  active_ |= now & ~previous_;
  active_ &= ~(~now & previous_);
  previous_ = now;
}

}  // namespace trakvolt

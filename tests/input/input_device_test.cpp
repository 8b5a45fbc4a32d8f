// Keyboard and joystick into the logical input states.
#include "input/input_device.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

using namespace trakvolt;

namespace {

struct InputRig {
  platform::HeadlessPlatform machine;
  TInputDevice input{machine.input, machine.window};
};

}  // namespace

struct KeyCase {
  int key;
  InputState state;
};
class KeysToStates : public testing::TestWithParam<KeyCase> {};

TEST_P(KeysToStates, EachAssignedKeyTurnsOnItsStateAlone) {
  InputRig r;
  r.machine.input.SetKey(GetParam().key, true);
  r.input.Update();
  InputStates expected;
  expected.set(static_cast<std::size_t>(GetParam().state));
  EXPECT_EQ(r.input.ActiveStates(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeysToStates,
    testing::Values(KeyCase{vk::Up, InputState::Up}, KeyCase{vk::Numpad8, InputState::Up},
                    KeyCase{vk::Down, InputState::Down}, KeyCase{vk::Left, InputState::Left},
                    KeyCase{vk::Right, InputState::Right}, KeyCase{'Z', InputState::Button1},
                    KeyCase{'P', InputState::Button4}, KeyCase{vk::Escape, InputState::Button5},
                    KeyCase{'Y', InputState::Button6}, KeyCase{'N', InputState::Button7},
                    KeyCase{vk::Space, InputState::Button8}));

TEST(InputDevice, UpAndDownTogetherAreBothOn) {
  InputRig r;
  r.machine.input.SetKey(vk::Up, true);
  r.machine.input.SetKey(vk::Down, true);
  r.input.Update();
  EXPECT_TRUE(r.input.IsOn(InputState::Up));
  EXPECT_TRUE(r.input.IsOn(InputState::Down));
  r.machine.input.SetKey(vk::Up, false);
  r.input.Update();
  EXPECT_FALSE(r.input.IsOn(InputState::Up));
  EXPECT_TRUE(r.input.IsOn(InputState::Down));
}

TEST(InputDevice, CodesZeroOrAbove255NeverTurnAStateOn) {
  InputRig r;
  r.input.Assigns[static_cast<std::size_t>(InputState::Button9)] = {0, 256, -1};
  for (int k = 0; k < 256; ++k) r.machine.input.SetKey(k, true);
  r.input.Update();
  EXPECT_FALSE(r.input.IsOn(InputState::Button9));
  EXPECT_TRUE(r.input.IsOn(InputState::Button8));
}

TEST(InputDevice, LosingTheForegroundTurnsEveryStateOff) {
  InputRig r;
  r.machine.input.SetKey(vk::Left, true);
  r.machine.input.SetJoystick({true, 0, 32767, 1u << 3});
  r.input.Update();
  EXPECT_TRUE(r.input.IsOn(InputState::Left));
  EXPECT_TRUE(r.input.IsOn(InputState::Down));
  EXPECT_TRUE(r.input.IsOn(InputState::Button4));
  r.machine.window.SetForeground(false);
  r.input.Update();
  EXPECT_TRUE(r.input.ActiveStates().none());
  r.machine.window.SetForeground(true);
  r.input.Update();
  EXPECT_TRUE(r.input.IsOn(InputState::Left));
}

TEST(InputDevice, JoystickCentreHalfIsDead) {
  struct {
    int raw, scaled;
  } cases[] = {{0, 0}, {16000, 0}, {-16383, 0}, {32767, 1000}, {-32768, -1000}, {24575, 498}};
  for (auto c : cases) EXPECT_EQ(TInputDevice::ScaleAxis(c.raw), c.scaled) << c.raw;
  InputRig r;
  r.machine.input.SetJoystick({true, 16000, -16000, 0});
  r.input.Update();
  EXPECT_TRUE(r.input.ActiveStates().none());
  r.machine.input.SetJoystick({true, -30000, 0, 0});
  r.input.Update();
  EXPECT_TRUE(r.input.IsOn(InputState::Left));
}

// A whole game on the headless machine over the built data, with the player's hands: ticks,
// held keys, typed characters, pointer moves and clicks.
#pragma once

#include <gtest/gtest.h>

#include "input/input_device.h"
#include "platform/headless/headless_platform.h"
#include "shell/form.h"
#include "shell/game_folder.h"

namespace trakvolt::testing_support {

class ScreenTest : public ::testing::Test {
 protected:
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      machine.events.Advance(30);
      form.Pump();
    }
  }
  // Ticks until the main menu's intro has played.
  void UntilInteractive() {
    for (int i = 0; i < 200 && (form.GameState != state::MainMenu ||
                                form.Menus.MenuPhase != menu_phase::Interactive);
         ++i)
      Tick();
    ASSERT_EQ(form.Menus.MenuPhase, menu_phase::Interactive);
  }
  // An arrow key held for one frame and let go for one.
  void Press(int vk) {
    machine.input.SetKey(vk, true);
    Tick();
    machine.input.SetKey(vk, false);
    Tick();
  }
  void Type(unsigned char ch) { form.FormKeyPress(ch); }
  // The pointer moves over the middle of live button `i`.
  void PointAt(int i) {
    const TMenuButton* b = form.Menus.Button(i);
    ASSERT_NE(b, nullptr) << "button " << i;
    form.MDisplayMouseMove(static_cast<int>(b->X) + b->Width / 2,
                           static_cast<int>(b->Y) + b->Height / 2);
  }
  // Window events through the message loop, as the desktop delivers them.
  void Send(platform::Event::Kind kind, int x = 0, int y = 0) {
    platform::Event e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    machine.events.Push(e);
    form.Pump();
  }
  // The main menu with its intro played, then the screen of main button `i` opened by a click.
  void OpenFromMenu(int i) {
    UntilInteractive();
    PointAt(i);
    form.MDisplayClick();
    Tick();
  }
  bool Playing(const char* wave) { return form.MSound.ItemPlaying(form.MWaveList.Find(wave)); }

  GameFolder folder;
  platform::HeadlessPlatform machine;
  TMForm form{machine};
};

}  // namespace trakvolt::testing_support

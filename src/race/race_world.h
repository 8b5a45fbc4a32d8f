// TRaceWorld: what the race code reaches of the game, handed over by the form.
#pragma once

#include <functional>
#include <string_view>

#include "base/image.h"
#include "base/random.h"
#include "input/frame_timer.h"
#include "input/input_device.h"
#include "race/race_state.h"
#include "sprites/sprite_engine.h"

namespace trakvolt {

// References into the form: the race record, the sprite root every race sprite hangs from, the
// race pictures, the random source, the input states of this tick, the frame timer and the
// sound routines. The race reads nothing else (no clock, no unordered containers), so a seed
// and an input script always give the same race.
struct TRaceWorld {
  TRaceState& Race;
  TSpriteEngine& Sprites;
  const TImageSource& Images;
  TRandom& Random;
  const TInputDevice& Input;
  const TFrameTimer& Timer;
  std::function<void(std::string_view)> PlaySound;
  std::function<void(std::string_view)> StopSound;

  // The frame length in ms; every race timer steps by it once per frame.
  int Interval() const { return Timer.Interval(); }
  // n frames per second, as frames per move step.
  double FramesPerStep(double per_second) const { return Interval() / 1000.0 * per_second; }
  bool IsDown(InputState s) const { return Input.IsOn(s); }
};

}  // namespace trakvolt

// CarParameters: the driving figures, pictures and turbo colours of the selectable cars.
#pragma once

#include "race/race_state.h"

namespace trakvolt {

struct TCarParameters {
  const char* Image;
  double MaxSpeed;
  double TurboMaxSpeed;
  double Accel;
  double TurboAccel;
  double BrakeDecel;
  double SteerDivisor;
  double SteerMax;
  int TurboColour;  // 1 blue, 2 red, 3 yellow
};

inline constexpr int kSelectableCars = 4;

// The row of car 1..4; any other number raises a GameError (the table reserves rows up to 10,
// but only four cars exist).
const TCarParameters& CarParameters(int car_number);
// "TurboBlue", "TurboRed" or "TurboYellow".
const char* TurboIconName(int turbo_colour);

}  // namespace trakvolt

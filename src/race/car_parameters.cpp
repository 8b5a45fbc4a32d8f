// The four cars: equal in driving, different in picture and turbo colour.
#include "race/car_parameters.h"

#include "base/game_error.h"

namespace trakvolt {
namespace {

constexpr TCarParameters Row(const char* image, int turbo_colour) {
  return {image, Speed14(250), Speed14(300), 0.1, 0.2, 0.2, 1.8, 12, turbo_colour};
}

constexpr OneBased<TCarParameters, kSelectableCars> kCars{
    {Row("Car1", 2), Row("Car2", 1), Row("Car3", 3), Row("Car4", 2)}};

}  // namespace

const TCarParameters& CarParameters(int car_number) {
  if (car_number < 1 || car_number > kSelectableCars)
    throw GameError(Format("There is no car %d", car_number));
  return kCars[car_number];
}

const char* TurboIconName(int turbo_colour) {
  switch (turbo_colour) {
    case 1:
      return "TurboBlue";
    case 2:
      return "TurboRed";
    case 3:
      return "TurboYellow";
    default:
      throw GameError(Format("There is no turbo colour %d", turbo_colour));
  }
}

}  // namespace trakvolt

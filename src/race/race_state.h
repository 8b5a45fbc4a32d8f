// The race record. The race screens fill it in; outside the race the road stands still.
#pragma once

namespace trakvolt {

struct TRaceState {
  // Pixels per frame the road (and the background) scrolls down; 0 outside the race.
  double RoadSpeed = 0.0;
  // The player's car, 1..4, chosen on the car selection.
  int SelectedCar = 1;
};

}  // namespace trakvolt

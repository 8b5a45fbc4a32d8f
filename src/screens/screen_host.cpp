// The screens' shared sound: the click of a chosen button.
#include "screens/screen_host.h"

namespace trakvolt {

void TScreenHost::PlayClickSound() {
  constexpr int kStateRace = 1;  // the race has its own sounds for its keys
  if (State() != kStateRace) PlaySound("Button_Pressed");
}

}  // namespace trakvolt

// The screens' shared sound: the click of a chosen button.
#include "screens/screen_host.h"

namespace trakvolt {

void TScreenHost::PlayClickSound() {
  // The race has its own sounds for its keys.
  if (State() != state::Race) PlaySound("Button_Pressed");
}

}  // namespace trakvolt

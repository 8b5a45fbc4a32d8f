// The car selection over the main menu: four car cards in a row; choosing one starts a run.
#pragma once

#include "screens/screen_host.h"

namespace trakvolt {

void OpenCarSelection(TScreenHost& host);
void CloseCarSelection(TScreenHost& host);
void CarSelectionFrame(TScreenHost& host, int lag_count);

}  // namespace trakvolt

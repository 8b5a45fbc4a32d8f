// The question after the name entry: send the result to the score server, OK or Cancel.
#pragma once

#include "screens/screen_host.h"

namespace trakvolt {

void OpenSendResults(TScreenHost& host);
void CloseSendResults(TScreenHost& host);
void SendResultsFrame(TScreenHost& host, int lag_count);
// A click (or any key): OK sends, Cancel does not; both end in a fresh main menu that opens
// the high scores.
void SendResultsClick(TScreenHost& host);

}  // namespace trakvolt

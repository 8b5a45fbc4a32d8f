// The highlight of the menu buttons: pointer hit test, the per-frame highlight with its sound,
// and the keyboard cursor.
#pragma once

#include "screens/menu_state.h"
#include "screens/screen_host.h"

namespace trakvolt {

// The first live button whose rectangle holds the pointer (edges included) becomes the
// highlighted one; over no button the highlight stays where it was.
void FindHoveredButton(TMenus& menus, int mouse_x, int mouse_y);
// Every frame: the other buttons go plain, and the highlighted one lights up with
// "Button_Activated" when the highlight has just arrived on it.
void UpdateButtonHighlight(TScreenHost& host);
// Keeps a screen's main-menu button lit without marking it highlighted, so the highlight's
// sound still plays when the highlight itself arrives there.
void KeepMainButtonLit(TMenus& menus, int index);

// One cursor step forward or back, wrapping at the ends of the range or, without wrap,
// refusing at them (NavAtEdge). Either way the cursor waits for the keys to be let go.
void NextButton(TMenus& menus, bool wrap);
void PreviousButton(TMenus& menus, bool wrap);
// One step per press of Up/Down (Up first) or Right/Left (Right first).
void NavigateUpDown(TScreenHost& host, bool wrap);
void NavigateLeftRight(TScreenHost& host, bool wrap);

}  // namespace trakvolt

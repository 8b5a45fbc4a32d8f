// The result-sending question: its caption, the OK and Cancel buttons and what they do.
#include "screens/send_results.h"

#include "screens/button_navigation.h"
#include "screens/main_menu.h"
#include "screens/sub_screen.h"

namespace trakvolt {
namespace {

constexpr int kOkButton = 1, kCancelButton = 2;

}  // namespace

void OpenSendResults(TScreenHost& host) {
  TMenus& m = host.Menus();
  host.State() = state::SendResults;
  m.ButtonCount = 2;
  m.FirstNavButton = kOkButton;
  m.LastNavButton = kCancelButton;
  m.HoveredButton = kOkButton;
  m.MenuCaption = &host.NewCaption("SendResults");
  m.MenuCaption->X = 200;
  m.MenuCaption->Y = 160;
  m.Buttons[kOkButton] = &host.NewButton("OkButton2", "OkButton2", 1, 0, 235, 305);
  m.Buttons[kCancelButton] = &host.NewButton("CancelButton2", "CancelButton2", 1, 0, 405, 305);
  host.Background().SetImage(&host.MenuImages().Find("MainMenuBackground"));
  host.FrameTimer().SetEnabled(true);
}

void CloseSendResults(TScreenHost& host) {
  TMenus& m = host.Menus();
  FreeButtons(m, 1, m.ButtonCount);
  m.ButtonCount = 0;
  FreeCaption(m.MenuCaption);
  host.FrameTimer().SetEnabled(false);
}

void SendResultsFrame(TScreenHost& host, int lag_count) {
  UpdateButtonHighlight(host);
  NavigateLeftRight(host, true);
  host.BeginFrame(lag_count, true);
  host.EndFrame();
}

void SendResultsClick(TScreenHost& host) {
  const int h = host.Menus().HoveredButton;
  if (h != kOkButton && h != kCancelButton) return;
  // A failed sending has shown its message already; the question closes either way.
  if (h == kOkButton) host.SendResults();
  CloseSendResults(host);
  BuildMainMenu(host, true, menu_return::HighScores);
}

}  // namespace trakvolt

// The help screen: its page, the two arrow buttons and the page turning at the cursor's edges.
#include "screens/help_screen.h"

#include "screens/button_navigation.h"
#include "screens/sub_screen.h"

namespace trakvolt {
namespace {

constexpr int kPreviousButton = 7, kNextButton = 8;
constexpr int kPageCount = 4;
constexpr const char* kHelpPageNames[kPageCount] = {"Help1", "Help2", "Help3", "Help4"};

}  // namespace

void OpenHelp(TScreenHost& host) {
  EnterSubScreen(host, state::Help, 8, kPreviousButton, kNextButton, kNextButton);
  TMenus& m = host.Menus();
  m.HelpPage = 1;
  m.HelpPageSprite = &NewScreenPanel(host, kHelpPageNames[0]);
  m.Buttons[kPreviousButton] = &host.NewButton("Previous", "Previous", 1, 0, 36, 428);
  m.Buttons[kNextButton] = &host.NewButton("Next", "Next", 1, 0, 462, 428);
}

void CloseHelp(TScreenHost& host) {
  CloseScreenPanel(host, host.Menus().HelpPageSprite, kPreviousButton, kNextButton);
}

void TurnHelpPage(TScreenHost& host, int step) {
  TMenus& m = host.Menus();
  m.HelpPage = (m.HelpPage - 1 + step + kPageCount) % kPageCount + 1;
  // Only the picture changes; the page keeps its place and size.
  const int width = m.HelpPageSprite->Width, height = m.HelpPageSprite->Height;
  m.HelpPageSprite->SetImage(&host.MenuImages().Find(kHelpPageNames[m.HelpPage - 1]));
  m.HelpPageSprite->Width = width;
  m.HelpPageSprite->Height = height;
}

void HelpFrame(TScreenHost& host, int lag_count) {
  TMenus& m = host.Menus();
  UpdateButtonHighlight(host);
  NavigateLeftRight(host, false);
  // Right on "Next" turns the page forward, Left on "Previous" back.
  if (m.NavAtEdge) {
    host.Click();
    m.NavAtEdge = false;
  }
  KeepMainButtonLit(m, button::Help);
  // The click above may have closed the screen already; it is closed only once.
  if (host.State() == state::Help) ReturnToMenuIfLeft(host, button::Help, CloseHelp);
  host.BeginFrame(lag_count, true);
  host.EndFrame();
}

}  // namespace trakvolt

// The car selection: opening, closing and its frame. The choice itself is the click handler's.
#include "screens/car_selection.h"

#include "screens/button_navigation.h"
#include "screens/sub_screen.h"

namespace trakvolt {
namespace {

constexpr int kFirstCar = 7, kLastCar = 10;

struct CarCard {
  const char* active;
  const char* inactive;
  double x;
};
constexpr CarCard kCards[] = {
    {"Car1_Active", "Car1", 41},
    {"Car2_Active", "Car2", 162},
    {"Car3_Active", "Car3", 282},
    {"Car4_Active", "Car4", 406},
};
constexpr double kCardY = 161;

}  // namespace

void OpenCarSelection(TScreenHost& host) {
  // Every opening starts on car 1.
  EnterSubScreen(host, state::CarSelection, 10, kFirstCar, kLastCar, kFirstCar);
  TMenus& m = host.Menus();
  m.StartGameBackgroundSprite = &NewScreenPanel(host, "StartGameBackground");
  for (int i = 0; i < 4; ++i)
    m.Buttons[static_cast<std::size_t>(kFirstCar + i)] =
        &host.NewButton(kCards[i].active, kCards[i].inactive, 0, 0, kCards[i].x, kCardY);
}

void CloseCarSelection(TScreenHost& host) {
  CloseScreenPanel(host, host.Menus().StartGameBackgroundSprite, kFirstCar, kLastCar);
}

void CarSelectionFrame(TScreenHost& host, int lag_count) {
  TMenus& m = host.Menus();
  NavigateLeftRight(host, true);
  UpdateButtonHighlight(host);
  KeepMainButtonLit(m, button::Start);
  ReturnToMenuIfLeft(host, button::Start, CloseCarSelection);
  host.BeginFrame(lag_count, true);
  host.EndFrame();
}

}  // namespace trakvolt

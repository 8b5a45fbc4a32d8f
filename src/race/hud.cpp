// The race HUD: needle, numbers, clock and bonus icons, drawn over every race picture.
#include "race/hud.h"

#include <cmath>
#include <string>

#include "race/player_car.h"
#include "screens/caption_sprite.h"

namespace trakvolt {
namespace {

constexpr int kSmallFont = 1;
// Where the needle's pivot sits on the speedometer, and where it lies in the needle picture.
constexpr int kNeedleX = 736, kNeedleY = 537;
constexpr double kNeedlePivotX = 20.0 / 23.0, kNeedlePivotY = 4.0 / 39.0;
constexpr int kNumbersRight = 55;
constexpr int kBonusTextX = 764, kBonusTextY = 430;

void Show(TCaptionSprite* sprite, bool visible) {
  if (sprite != nullptr) sprite->Visible = visible;
}

void DrawNumber(TRaceHost& host, std::int32_t value, int x, int y) {
  host.DrawText(std::to_string(value), x, y);
}

}  // namespace

int HudShift(std::int32_t value) {
  int limits_passed = 0;
  for (const std::int32_t limit : {99, 999, 9999}) limits_passed += value > limit ? 1 : 0;
  return 10 * limits_passed;
}

void DrawNeedle(TRaceHost& host) {
  TRaceState& race = host.World().Race;
  // The tremble steps -1, 0, 1, -1 ... at every second drawing (the timer is one interval).
  if (race.NeedleJitterTimer > 0) {
    race.NeedleJitterTimer -= host.World().Interval();
  } else {
    race.NeedleJitterTimer = 30;
    race.NeedleJitter = race.NeedleJitter < 1 ? race.NeedleJitter + 1 : -1;
  }
  const TCaptionSprite* holder = race.NeedleHolder;
  if (holder == nullptr) return;
  const int angle = static_cast<int>(std::trunc(race.RoadSpeed * 10)) + race.NeedleJitter;
  host.DrawRotated("Pointer", kNeedleX, kNeedleY, holder->Width, holder->Height, 0, kNeedlePivotX,
                   kNeedlePivotY, angle);
}

void DrawHudNumbers(TRaceHost& host) {
  const TRaceState& race = host.World().Race;
  host.SelectFont(kSmallFont);
  DrawNumber(host, race.Level, kNumbersRight - HudShift(race.Level), 90);
  DrawNumber(host, race.Score, kNumbersRight - HudShift(race.Score), 180);
  DrawNumber(host, race.Lives, kNumbersRight - HudShift(race.Lives), 360);
  // The clock as mm:ss, one digit at a time so the digits stay in their columns.
  const std::int32_t minutes = race.TimeLeft / 60, seconds = race.TimeLeft % 60;
  DrawNumber(host, minutes / 10, 35, 270);
  DrawNumber(host, minutes % 10, 50, 270);
  host.DrawText(":", 65, 270);
  DrawNumber(host, seconds / 10, 75, 270);
  DrawNumber(host, seconds % 10, 90, 270);
}

void DrawBonusHud(TRaceHost& host) {
  TRaceState& race = host.World().Race;
  const TMyCarSprite* car = race.PlayerCar;
  if (race.DriftActive) {
    Show(race.GunIcon, false);
    Show(race.TurboIcon, false);
    Show(race.NoBonusIcon, false);
    Show(race.DriftIcon, true);
    const double stun = car != nullptr ? car->StunTime : 0;
    DrawNumber(host, static_cast<std::int32_t>(std::trunc(stun)), kBonusTextX, kBonusTextY);
    if (stun == 0) race.DriftActive = false;
    return;
  }
  Show(race.GunIcon, race.GunActive);
  Show(race.TurboIcon, race.TurboActive);
  if (race.GunActive || race.TurboActive) {
    Show(race.NoBonusIcon, false);
    Show(race.DriftIcon, false);
    DrawNumber(host, car != nullptr ? car->BonusTime : 0, kBonusTextX, kBonusTextY);
  } else {
    host.SelectFont(kSmallFont);
    Show(race.NoBonusIcon, true);
    Show(race.DriftIcon, false);
  }
}

void DrawHud(TRaceHost& host) {
  DrawNeedle(host);
  DrawHudNumbers(host);
  DrawBonusHud(host);
}

}  // namespace trakvolt

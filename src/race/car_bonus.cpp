// The player's car: the gun and turbo bonuses with their overlay sprites, and the crash.
#include "race/explosion.h"
#include "race/player_car.h"
#include "screens/game_state.h"

namespace trakvolt {

void TMyCarSprite::SetTurboFlameVisible(bool visible) {
  if (world_.Race.TurboActive && BonusFlame != nullptr) BonusFlame->Visible = visible;
}

void TMyCarSprite::PlaceBonusOverlays() {
  if (BonusIcon == nullptr || BonusFlame == nullptr) return;
  TCaptionSprite& icon = *BonusIcon;
  TCaptionSprite& flame = *BonusFlame;
  icon.X = X + (Width - icon.Width) / 2.0;
  if (world_.Race.TurboActive) {
    // The icon on the rear bumper, the flame behind the car.
    flame.X = icon.X + 2;
    icon.Y = Y + Height - 0.9 * icon.Height;
    flame.Y = Y + Height + 0.1 * icon.Height;
  } else {
    // The muzzle flash ahead of the gun.
    flame.X = icon.X - 5;
    icon.Y = Y + 0.3 * Height;
    flame.Y = icon.Y - flame.Height;
  }
  icon.SetZ(Z() + 1);
  flame.SetZ(Z() + 1);
}

// The overlays are captions from the race pictures, whatever screen code is current.
TCaptionSprite& TMyCarSprite::AddOverlay(const char* image_name) {
  return world_.Sprites.Add<TCaptionSprite>(world_.Images, world_.Images, state::Race, image_name,
                                            world_.Interval());
}

void TMyCarSprite::FreeBonusOverlays() {
  if (BonusIcon != nullptr) BonusIcon->Free();
  if (BonusFlame != nullptr) BonusFlame->Free();
  BonusIcon = nullptr;
  BonusFlame = nullptr;
}

void TMyCarSprite::StartBonus() {
  TRaceState& race = world_.Race;
  BonusTime = 10;
  // A new bonus also ends the throttle lock after spikes.
  if (StunTime > 0) StunTime = 0;
  // Only one pair of overlays exists at a time.
  FreeBonusOverlays();
  if (!race.GunActive && !race.TurboActive) return;
  const bool gun = race.GunActive;
  BonusIcon = &AddOverlay(gun ? "Gun" : TurboIconName(Parameters().TurboColour));
  BonusFlame = &AddOverlay(gun ? "GunFire" : "TurboFire");
  BonusFlame->Visible = false;
  BonusFlame->FramePos = 0;
  BonusFlame->FrameLooped = true;
  BonusFlame->FrameSpeed = world_.FramesPerStep(gun ? 35 : 15);
  if (!gun) {
    MaxSpeed = Parameters().TurboMaxSpeed;
    Accel = Parameters().TurboAccel;
  }
  PlaceBonusOverlays();
}

void TMyCarSprite::EndBonus() {
  TRaceState& race = world_.Race;
  if (race.TurboActive) {
    MaxSpeed = Parameters().MaxSpeed;
    Accel = Parameters().Accel;
    BaseMaxSpeed = MaxSpeed;
    BaseAccel = Accel;
    // The car coasts down to its normal top speed.
    if (race.RoadSpeed > MaxSpeed) {
      DriveMode = DriveSlowing;
      TargetSpeed = MaxSpeed;
    }
  }
  if (race.GunActive || race.TurboActive) FreeBonusOverlays();
  // The drift ends with its throttle lock, but a crash being played out keeps the lock the
  // crash set: a car wrecked while drifting is held as long as any other.
  if (race.DriftActive && !race.RespawnPending) StunTime = 0;
  race.DriftActive = false;
  race.GunActive = false;
  race.TurboActive = false;
}

void TMyCarSprite::Crash() {
  TRaceState& race = world_.Race;
  if (race.Lives <= 0) return;
  race.Lives -= 1;
  race.RoadSpeed = 0;
  Controllable = false;
  TargetSpeed = 0;
  DriveMode = DriveFree;
  StunTime = 2;
  BonusTime = 0;
  race.RespawnPending = true;
  if (TExplosion* blast = race.BigExplosion) {
    blast->Visible = true;
    blast->FrameCount = blast->Image()->FrameCount();
    blast->FramePos = 0;
    blast->FrameSpeed = world_.FramesPerStep(20);
    blast->X = X;
    blast->Y = Y;
  }
}

}  // namespace trakvolt

// The race run: set-up, level start, game over, the car's return, pause, quit and tear-down.
#include "race/race_run.h"

#include <string>

#include "race/explosion.h"
#include "race/hud.h"
#include "race/object_removal.h"
#include "race/player_car.h"
#include "race/spawning.h"
#include "race/track_object.h"
#include "screens/caption_sprite.h"
#include "screens/game_state.h"

namespace trakvolt {
namespace {

constexpr double kRoadX = 124;
constexpr double kMarkerStartY = 322;
constexpr int kBannerMs = 2000;

TCaptionSprite& NewCaption(TRaceHost& host, std::string_view image_name, double x, double y,
                           int z) {
  TRaceWorld& w = host.World();
  TCaptionSprite& c =
      w.Sprites.Add<TCaptionSprite>(w.Images, w.Images, host.State(), image_name, w.Interval());
  c.X = x;
  c.Y = y;
  c.SetZ(z);
  return c;
}

// An icon of the bonus HUD, centred on (715, 440) and hidden until the HUD shows it.
TCaptionSprite& NewBonusIcon(TRaceHost& host, std::string_view image_name) {
  TCaptionSprite& icon = NewCaption(host, image_name, 0, 0, 4);
  icon.X = 715 - icon.Width / 2.0;
  icon.Y = 440 - icon.Height / 2.0;
  icon.Visible = false;
  return icon;
}

void FreeCaption(TCaptionSprite*& sprite) {
  if (sprite != nullptr) sprite->Free();
  sprite = nullptr;
}

void CreateBanner(TRaceHost& host, std::string_view image_name) {
  TRaceState& race = host.World().Race;
  FreeCaption(race.Banner);  // one banner at a time
  race.Banner = &NewCaption(host, image_name, 200, 220, 6);
}

// The crash explosion goes, ready for the next crash (the car is back, or the level starts
// again while a crash was playing out).
void HideCrashExplosion(TRaceState& race) {
  if (TExplosion* blast = race.BigExplosion) {
    blast->Visible = false;
    blast->FramePos = 0;
    blast->FrameSpeed = 0;
    blast->FrameSteps = 0;
    blast->LastFrame = 0;
  }
}

// The world stands still and falls silent (pause, the quit question).
void Freeze(TRaceHost& host) {
  host.StopMusic();
  host.World().StopSound("Engine");
  host.World().Race.RaceActive = false;
}

}  // namespace

void StartRace(TRaceHost& host) {
  TRaceWorld& w = host.World();
  TRaceState& race = w.Race;
  host.State() = state::RaceSetup;  // the sprites below take the race pictures
  host.StartMusicForState();
  host.ClearButtons();
  host.HideMouseCursor();
  TScrollBackground& road = host.Background();
  road.SetImage(&w.Images.Find("GroundLeft"));
  road.X = kRoadX;

  race.LeftPanel = &NewCaption(host, "LeftPanel", 0, 0, 3);
  race.RightPanel = &NewCaption(host, "RightPanel", 0, 0, 3);
  race.RightPanel->X = 799 - race.RightPanel->Width;
  race.ProgressMarker = &NewCaption(host, "CarSmall", 0, kMarkerStartY, 4);
  race.ProgressMarker->X = 734 - race.ProgressMarker->Width / 2.0;
  race.NeedleHolder = &NewCaption(host, "Pointer", 0, 533, 4);
  race.NeedleHolder->X = 740 - race.NeedleHolder->Width;
  race.NeedleJitter = 0;
  race.NeedleJitterTimer = -1;
  DrawNeedle(host);

  NewRun(host);

  race.GunIcon = &NewBonusIcon(host, "GunSmall");
  race.TurboIcon = &NewBonusIcon(host, "TurboSmall");
  race.NoBonusIcon = &NewCaption(host, "None", 692, 426, 4);
  race.NoBonusIcon->Visible = false;
  race.DriftIcon = &NewCaption(host, "Drifting", 689, 426, 4);
  race.DriftIcon->Visible = false;
  race.MicroExplosion = &w.Sprites.Add<TExplosion>(w, 400, 300, "ExplosionMicro");
  race.BigExplosion = &w.Sprites.Add<TExplosion>(w, 400, 300, "ExplosionBig");
  race.BigExplosion->SetZ(6);

  for (int i = 1; i <= kTrackSlotCount; ++i) race.TrackSlots[i].InUse = false;
  host.FrameTimer().SetEnabled(true);
  race.RaceActive = false;
}

void NewRun(TRaceHost& host) {
  TRaceWorld& w = host.World();
  TRaceState& race = w.Race;
  host.State() = state::Race;
  race.Score = 0;
  race.Lives = 3;
  race.PlayerCar = &w.Sprites.Add<TMyCarSprite>(w, race.SelectedCar);
  race.PlayerCar->Controllable = true;
  race.NeedleHolder->Visible = false;
  race.GunActive = false;
  race.TurboActive = false;
  race.DriftActive = false;
  race.PauseBannerDue = false;
  StartLevel(host, 1);
}

void StartLevel(TRaceHost& host, int level) {
  TRaceWorld& w = host.World();
  TRaceState& race = w.Race;
  w.PlaySound("EngineStart");
  w.PlaySound("Engine");
  race.LevelPhase = phase::Driving;
  race.Level = level;
  race.TimeLeft = LevelTime(level);
  race.RoadSpeed = 0;
  TMyCarSprite& car = *race.PlayerCar;
  car.LevelReset();
  race.Distance = 0;
  race.SecondTimer = 1000;
  race.RaceActive = false;
  race.Paused = false;
  race.QuitAsked = false;
  race.PreviousPause = false;
  race.PreviousQuit = false;
  race.CrashSlot = 0;
  race.ProgressMarker->Y = kMarkerStartY;
  car.EndBonus();
  RemoveAllObjects(w);
  race.RespawnPending = false;
  HideCrashExplosion(race);
  BuildSpawnChance(race, level);
  race.StartCountdown = 1000.0 / w.Interval() * 2;
  race.TimeOverShowing = false;
  race.GameOverShowing = false;
}

bool GameOverCheck(TRaceHost& host) {
  TRaceWorld& w = host.World();
  TRaceState& race = w.Race;
  if (race.Lives != 0) return false;
  w.PlaySound("GameOver");
  CreateBanner(host, "GameOverNB");
  race.GameOverShowing = true;
  race.GameOverTimer = kBannerMs;
  race.RaceActive = false;
  return true;
}

void StartTimeOver(TRaceHost& host) {
  TRaceWorld& w = host.World();
  TRaceState& race = w.Race;
  w.PlaySound("GameOver");
  CreateBanner(host, "TimeIsOverNB");
  race.TimeOverShowing = true;
  race.TimeOverTimer = kBannerMs;
  race.RaceActive = false;
}

void FreeBanner(TRaceHost& host) { FreeCaption(host.World().Race.Banner); }

void RestoreCar(TRaceHost& host) {
  if (GameOverCheck(host)) return;
  TRaceWorld& w = host.World();
  TRaceState& race = w.Race;
  TMyCarSprite& car = *race.PlayerCar;
  car.SetImage(&w.Images.Find("Car" + std::to_string(race.SelectedCar)));
  car.FramePos = 0;
  car.FrameSpeed = 0;
  car.Controllable = true;
  race.RespawnPending = false;
  race.CrashSlot = 0;
  HideCrashExplosion(race);
  car.SetZ(4);
}

void PauseRace(TRaceHost& host) {
  Freeze(host);
  host.World().Race.Paused = true;
}

void AskQuit(TRaceHost& host) {
  Freeze(host);
  host.World().Race.QuitAsked = true;
}

void ResumeRace(TRaceHost& host) {
  TRaceState& race = host.World().Race;
  host.StartMusicForState();
  host.World().PlaySound("Engine");
  race.RaceActive = true;
  race.Paused = false;
  race.QuitAsked = false;
}

void PauseForFocusLoss(TRaceHost& host) {
  PauseRace(host);
  host.World().Race.PauseBannerDue = true;
}

void RaceTeardown(TRaceHost& host) {
  TRaceWorld& w = host.World();
  TRaceState& race = w.Race;
  w.StopSound("Engine");
  host.StopMusic();
  host.ShowMouseCursor();
  host.FrameTimer().SetEnabled(false);
  host.Background().X = 0;
  host.Background().Y = 0;
  race.RaceActive = false;
  RemoveAllObjects(w);
  // The bonus overlays belong to the car's bonus: they go before the car does.
  if ((race.GunActive || race.TurboActive) && race.PlayerCar != nullptr) race.PlayerCar->EndBonus();
  if (race.PlayerCar != nullptr) race.PlayerCar->Free();
  for (TCaptionSprite** sprite :
       {&race.LeftPanel, &race.RightPanel, &race.ProgressMarker, &race.NeedleHolder, &race.GunIcon,
        &race.TurboIcon, &race.NoBonusIcon, &race.DriftIcon, &race.Banner})
    FreeCaption(*sprite);
  if (race.MicroExplosion != nullptr) race.MicroExplosion->Free();
  if (race.BigExplosion != nullptr) race.BigExplosion->Free();
  race.RoadSpeed = 0;
  race.PauseBannerDue = false;
}

void EndRun(TRaceHost& host) {
  RaceTeardown(host);
  host.OpenNameEntryOrMenu();
}

}  // namespace trakvolt

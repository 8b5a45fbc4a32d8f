// The race frame: the frozen picture, pause and quit, the countdown and banners, then the live
// picture with the level clock, the distance, the finish, the crash follow-up, spawning and
// the gun. A frame that shows no message and does not drive flips nothing.
#include <cmath>
#include <cstdint>
#include <string>

#include "race/explosion.h"
#include "race/gun.h"
#include "race/hud.h"
#include "race/object_removal.h"
#include "race/player_car.h"
#include "race/race_run.h"
#include "race/spawning.h"
#include "race/track_object.h"
#include "screens/caption_sprite.h"

namespace trakvolt {
namespace {

constexpr int kBigFont = 4;
constexpr double kMarkerStartY = 322, kMarkerTopY = 41, kMarkerClimb = 281;
constexpr int kBonusCountStepMs = 50;

void ShowMessage(TRaceHost& host, std::string_view text, int x, int y) {
  host.SelectFont(kBigFont);
  host.DrawText(text, x, y);
}

// "ПАУЗА", "ЗАКОНЧИТЬ ГОНКУ? Y/N", "УРОВЕНЬ ", "УРОВЕНЬ ПРОЙДЕН" in cp1251.
constexpr const char* kPauseText = "\xCF\xC0\xD3\xC7\xC0";
constexpr const char* kQuitText = "\xC7\xC0\xCA\xCE\xCD\xD7\xC8\xD2\xDC \xC3\xCE\xCD\xCA\xD3? Y/N";
constexpr const char* kLevelText = "\xD3\xD0\xCE\xC2\xC5\xCD\xDC ";
constexpr const char* kLevelDoneText = "\xD3\xD0\xCE\xC2\xC5\xCD\xDC \xCF\xD0\xCE\xC9\xC4\xC5\xCD";

void ShowPause(TRaceHost& host) {
  ShowMessage(host, kPauseText, 392, 250);
  host.EndFrame();
}

// The car rolls to a stop (clock run out, finish crossed).
void RollToStop(TMyCarSprite& car) {
  car.DriveMode = DriveSlowing;
  car.TargetSpeed = 0;
}

// One step of the level clock, with the bonus running down beside it.
void ClockStep(TRaceHost& host) {
  TRaceWorld& w = host.World();
  TRaceState& race = w.Race;
  TMyCarSprite& car = *race.PlayerCar;
  if (race.TimeLeft > 0) {
    race.TimeLeft -= 1;
    if (race.TimeLeft <= 10) w.PlaySound("Tick");
  }
  if (race.TimeLeft == 0) RollToStop(car);
  if (race.GunActive || race.TurboActive) {
    if (car.BonusTime > 1) {
      car.BonusTime -= 1;
    } else {
      w.PlaySound("BonusLost");
      car.EndBonus();
    }
  }
  race.SecondTimer = 1000;
}

// One step of the count that turns the seconds left into points; the step after the last
// second starts the next level.
void TimeBonusStep(TRaceHost& host) {
  TRaceWorld& w = host.World();
  TRaceState& race = w.Race;
  w.PlaySound("Tick");
  race.SecondTimer = kBonusCountStepMs;
  if (race.TimeLeft == 0) StartLevel(host, race.Level + 1);
  if (race.TimeLeft > 0) {
    race.TimeLeft -= 1;
    race.Score += 5;
  }
}

// The second timer runs down a frame at a time; once it has run out, `step` runs (and sets
// it again).
void OnSecondTimer(TRaceHost& host, void (*step)(TRaceHost&)) {
  TRaceWorld& w = host.World();
  if (w.Race.SecondTimer > 0)
    w.Race.SecondTimer -= w.Interval();
  else
    step(host);
}

// A frame of the time-over or game-over banner, with the world frozen; false once its time has
// run out.
bool BannerFrame(TRaceHost& host, std::int32_t& timer) {
  if (!(timer > 0)) return false;
  timer -= host.World().Interval();
  host.World().Race.RaceActive = false;
  host.EndFrame();
  return true;
}

// The crash explosion follows the car, drops behind it after one play, and gives the car back
// after the second.
void CrashFollowUp(TRaceHost& host) {
  TRaceState& race = host.World().Race;
  TExplosion* blast = race.BigExplosion;
  const TMyCarSprite* car = race.PlayerCar;
  if (blast == nullptr || car == nullptr) return;
  const int frame = static_cast<int>(std::trunc(blast->FramePos));
  if (frame != blast->LastFrame) {
    blast->LastFrame = frame;
    blast->FrameSteps += 1;
  }
  if (blast->FrameSteps == 0) blast->Y = car->Y;
  if (blast->FrameSteps == blast->FrameCount) blast->Y = car->Y + blast->Height / 4.0;
  if (blast->Visible && blast->FrameSteps == 2 * blast->FrameCount) RestoreCar(host);
}

// The last crash took the last life: the game-over banner, and the wreck and its object hidden.
void LastLifeLost(TRaceHost& host) {
  TRaceState& race = host.World().Race;
  GameOverCheck(host);
  if (race.BigExplosion != nullptr) race.BigExplosion->Visible = false;
  // CrashSlot is cleared when the crashed object goes, so a new object in its slot stays.
  if (race.CrashSlot >= 1 && race.CrashSlot <= kTrackSlotCount) {
    const TTrackSlot& slot = race.TrackSlots[race.CrashSlot];
    if (slot.InUse && slot.Object != nullptr) slot.Object->Visible = false;
  }
}

}  // namespace

void RaceFrame(TRaceHost& host, int lag_count) {
  TRaceWorld& w = host.World();
  TRaceState& race = w.Race;

  // The picture with the world frozen; only the banners let the sprites' steps run.
  host.BeginFrame(0, race.TimeOverShowing || race.GameOverShowing);
  DrawHud(host);
  if (race.PauseBannerDue) {
    race.PauseBannerDue = false;
    if (race.Paused) ShowPause(host);
  }

  // Pause and the quit question, on presses only and never during the countdown.
  const bool pause = w.IsDown(InputState::Button4), quit = w.IsDown(InputState::Button5);
  if (pause && !race.PreviousPause && race.StartCountdown == 0) {
    if (race.RaceActive) {
      ShowPause(host);
      PauseRace(host);
    } else if (!race.QuitAsked) {
      ResumeRace(host);
    }
  }
  if (quit && !race.PreviousQuit && race.StartCountdown == 0) {
    if (race.RaceActive) {
      ShowMessage(host, kQuitText, 282, 250);
      host.EndFrame();
      AskQuit(host);
    } else if (!race.Paused) {
      ResumeRace(host);
    }
  }
  race.PreviousPause = pause;
  race.PreviousQuit = quit;

  // The answer to the quit question.
  if (race.QuitAsked) {
    if (w.IsDown(InputState::Button6)) {
      EndRun(host);
      return;
    }
    if (w.IsDown(InputState::Button7)) ResumeRace(host);
  }

  // The level-start countdown, then normal driving.
  if (!race.Paused && !race.QuitAsked && race.LevelPhase == phase::Driving) {
    if (race.StartCountdown > 0) {
      race.StartCountdown -= 1;
      ShowMessage(host, std::string(kLevelText) + std::to_string(race.Level), 392, 250);
      host.EndFrame();
    } else {
      race.StartCountdown = 0;
      race.RaceActive = true;
      race.PlayerCar->Controllable = true;
    }
  }

  // A crash during the time-over banner that took the last life ends that banner at once, so
  // the game-over banner below runs its whole time.
  if (race.TimeOverShowing && race.Lives == 0) {
    race.TimeOverShowing = false;
    FreeBanner(host);
  }

  // Time over: the same level again, or the end of the run.
  if (race.TimeOverShowing && !BannerFrame(host, race.TimeOverTimer)) {
    race.TimeOverShowing = false;
    FreeBanner(host);
    if (race.Lives < 1) {
      EndRun(host);
      return;
    }
    StartLevel(host, race.Level);
  }

  // A crash took the last life in the previous frame.
  if (race.Lives == 0 && !race.GameOverShowing) LastLifeLost(host);

  // Game over.
  if (race.GameOverShowing && !BannerFrame(host, race.GameOverTimer)) {
    FreeBanner(host);
    EndRun(host);
    return;
  }

  // Level complete.
  if (race.LevelPhase == phase::LevelDone) {
    if (race.LevelDoneTimer > 0) {
      race.LevelDoneTimer -= w.Interval();
      race.RaceActive = false;
      ShowMessage(host, kLevelDoneText, 282, 250);
      host.EndFrame();
    } else {
      race.LevelPhase = phase::TimeBonus;
      race.RaceActive = true;
    }
  }

  // A frozen frame ends here; without a message the screen keeps its last picture.
  if (!race.RaceActive) return;

  // The live picture.
  host.BeginFrame(lag_count, true);
  DrawHud(host);
  TMyCarSprite& car = *race.PlayerCar;

  // The clock ran out and the car has come to a stop: a life goes. When a crash is what
  // stopped it, the crash has already taken that life.
  if (race.RoadSpeed == 0 && race.TimeLeft == 0 && race.LevelPhase < phase::FinishCrossed &&
      !race.TimeOverShowing) {
    if (!race.RespawnPending && race.Lives > 0) race.Lives -= 1;
    if (race.Lives == 0) {
      LastLifeLost(host);
      return;
    }
    StartTimeOver(host);
    return;
  }

  // The level clock runs until the finish is crossed; then the time-bonus count.
  if (race.LevelPhase < phase::FinishCrossed) OnSecondTimer(host, ClockStep);
  if (race.LevelPhase == phase::TimeBonus) OnSecondTimer(host, TimeBonusStep);

  // A crash being played out keeps every bonus off.
  if (race.RespawnPending) car.EndBonus();

  // The distance and the progress marker, which rests once it reaches the top.
  race.Distance += race.RoadSpeed;
  if (TCaptionSprite* marker = race.ProgressMarker; marker != nullptr && marker->Y > kMarkerTopY)
    marker->Y = kMarkerStartY - race.Distance * kMarkerClimb / LevelLength(race.Level);

  // The finish line, crossing it, and the car's stop behind it.
  if (race.Distance + 600 >= LevelLength(race.Level) && race.LevelPhase == phase::Driving) {
    race.LevelPhase = phase::FinishPlaced;
    SpawnObject(w, kind::FinishLine);
  }
  if (race.Distance >= LevelLength(race.Level) && race.LevelPhase == phase::FinishPlaced) {
    RollToStop(car);
    race.LevelPhase = phase::FinishCrossed;
  }
  if (race.RoadSpeed == 0 && race.LevelPhase == phase::FinishCrossed) {
    w.PlaySound("LevelFinish");
    race.LevelPhase = phase::LevelDone;
    race.LevelDoneTimer = 1000;
    car.Controllable = false;
    race.RaceActive = false;
    return;
  }

  // Finished objects go, the crash plays out, new objects come.
  SweepObjects(w);
  CrashFollowUp(host);
  if (race.RoadSpeed > 0 && race.LevelPhase == phase::Driving) SpawnStep(w);

  // The turbo roars at each press of the throttle.
  const bool up = w.IsDown(InputState::Up);
  if (up && !race.PreviousUp && race.TurboActive) w.PlaySound("EngineAccel");
  race.PreviousUp = up;

  // The gun, and the picture.
  FireGun(w, w.IsDown(InputState::Button8) || host.CtrlHeld());
  host.EndFrame();
}

}  // namespace trakvolt

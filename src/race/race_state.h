// The race record: level, score, lives, clock, road speed, phases, banners, bonus flags, the
// track slots and spawn chances, the road's lane borders and the race-wide sprites.
#pragma once

#include <cstdint>

#include "race/one_based.h"

namespace trakvolt {

class TMyCarSprite;
class TWallSprite;
class TExplosion;
class TCaptionSprite;

// Speeds of the race are pixels per frame, counted in fourteenths.
constexpr double Speed14(double fourteenths) { return fourteenths / 14; }

// The x of the lane borders: lane k (1..4) runs from LaneEdges[k] to LaneEdges[k + 1]. Lane 1
// is the dirt shoulder, lanes 2..4 are asphalt.
inline constexpr OneBased<int, 5> LaneEdges{{170, 283, 392, 502, 615}};

inline constexpr int kTrackSlotCount = 30;
// Kinds 1..34 are spawned by chance; 35 is the finish line, placed by the race.
inline constexpr int kSpawnKindCount = 34;

// The phases of a level.
namespace phase {
constexpr int Driving = 0, FinishPlaced = 1, FinishCrossed = 2, TimeBonus = 3, LevelDone = 25;
}  // namespace phase

// One place for a live track object; in use from a successful spawn until the object is freed.
struct TTrackSlot {
  TWallSprite* Object = nullptr;
  bool InUse = false;
};

// Level length in pixels: 30000 for levels 1-3, 42000 for 4-6, and so on.
constexpr std::int32_t LevelLength(std::int32_t level) {
  return 12000 * ((level - 1) / 3 + 1) + 18000;
}
// Seconds on the clock: 60 for level 1, 61 for 2-3, 91 for 4-6, 121 for 7-9.
constexpr std::int32_t LevelTime(std::int32_t level) {
  return 30 * ((level - 1) / 3 + 1) + 30 + (level != 1 ? 1 : 0);
}

// The one record of the race, owned by the form for the whole run of the program. Timers are
// milliseconds, counted down by the timer interval once per frame.
struct TRaceState {
  std::int32_t Level = 1;
  std::int32_t Score = 0;  // kept after a run for name entry and sending
  std::int32_t Lives = 0;
  std::int32_t TimeLeft = 0;     // seconds on the level clock
  std::int32_t SecondTimer = 0;  // ms to the next clock step
  double Distance = 0.0;         // pixels of road covered in this level
  // Pixels per frame the road (and the background) scrolls down; 0 outside the race.
  double RoadSpeed = 0.0;
  bool RaceActive = false;  // the world moves this frame
  std::int32_t LevelPhase = phase::Driving;
  double StartCountdown = 0.0;  // frames left of the level-start banner
  bool TimeOverShowing = false;
  std::int32_t TimeOverTimer = 0;
  bool GameOverShowing = false;
  std::int32_t GameOverTimer = 0;
  std::int32_t LevelDoneTimer = 0;
  bool Paused = false;
  bool QuitAsked = false;
  // Button states of the previous frame, to see presses.
  bool PreviousPause = false;
  bool PreviousQuit = false;
  bool PreviousUp = false;
  bool GunActive = false;
  bool TurboActive = false;
  bool DriftActive = false;
  std::int32_t SelectedCar = 1;  // 1..4
  bool RespawnPending = false;   // a crash is being played out
  std::int32_t CrashSlot = 0;    // slot of the object of the last crash, 0 = none
  OneBased<TTrackSlot, kTrackSlotCount> TrackSlots;
  OneBased<double, kSpawnKindCount> SpawnChance;  // chance per 600 px of road, by kind
  std::int32_t NeedleJitter = 0;
  std::int32_t NeedleJitterTimer = -1;
  // Paused because the window went behind another: "ПАУЗА" is shown at the next frame.
  bool PauseBannerDue = false;

  // The race-wide sprites, valid from race set-up to tear-down (none otherwise). Each clears
  // its own reference when it is freed.
  TMyCarSprite* PlayerCar = nullptr;
  TExplosion* BigExplosion = nullptr;
  TExplosion* MicroExplosion = nullptr;
  // The panels, the HUD pictures and the time-over or game-over banner, valid from race set-up
  // to tear-down (the banner only while it shows); the race frees them and clears these.
  TCaptionSprite* LeftPanel = nullptr;
  TCaptionSprite* RightPanel = nullptr;
  TCaptionSprite* ProgressMarker = nullptr;
  TCaptionSprite* NeedleHolder = nullptr;  // never drawn itself: its picture is the needle
  TCaptionSprite* GunIcon = nullptr;
  TCaptionSprite* TurboIcon = nullptr;
  TCaptionSprite* NoBonusIcon = nullptr;
  TCaptionSprite* DriftIcon = nullptr;
  TCaptionSprite* Banner = nullptr;
};

}  // namespace trakvolt

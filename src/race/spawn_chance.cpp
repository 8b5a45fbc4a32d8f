// The spawn chance tables of the ordinary and the traffic levels.
#include "race/one_based.h"
#include "race/spawning.h"

namespace trakvolt {
namespace {

struct TSpawnRow {
  double Base, Growth, TrafficBase, TrafficGrowth;
};

// By kind 1..34. On ordinary levels "BonusLive" does not grow; on traffic levels "WallRight"
// shrinks while "WallLeft" grows.
constexpr TSpawnRow kCar{0.1, 0.0, 0.1, 1.8};
constexpr OneBased<TSpawnRow, kSpawnKindCount> kSpawnTable{{{
    {0.4, 1.9, 0.0, 0.0},    // Wall05
    {0.4, 1.9, 0.0, 0.0},    // Wall10
    {0.1, 1.8, 0.0, 0.0},    // Spike10
    {0.15, 1.8, 0.0, 0.0},   // Water10
    {0.15, 1.8, 0.0, 0.0},   // Water05
    {0.2, 1.8, 0.0, 0.0},    // Stone05
    {0.2, 1.8, 0.0, 0.0},    // StoneSmall05
    {0.2, 1.8, 0.0, 0.0},    // Crack
    {0.15, 1.8, 0.0, 0.0},   // Rabbit
    {0.2, 1.8, 0.05, 1.1},   // Bonus10
    {0.1, 1.8, 0.05, 1.1},   // Bonus20
    {0.05, 1.8, 0.03, 1.1},  // Bonus50
    {0.05, 1.8, 0.02, 1.1},  // Bonus100
    {0.1, 1.8, 0.05, 1.1},   // BonusGun
    {0.15, 1.8, 0.08, 1.1},  // BonusTurbo
    {0.07, 1.0, 0.03, 1.1},  // BonusLive
    {0.2, 1.8, 0.2, 1.1},    // SignLeftBlue
    {0.2, 1.8, 0.2, 1.1},    // SignLeftRed
    {0.2, 1.8, 0.2, 1.1},    // SignRightBlue
    {0.2, 1.8, 0.2, 1.1},    // SignRightRed
    {0.2, 1.8, 0.2, 1.1},    // WallLeft
    {0.2, 1.8, 0.2, 0.1},    // WallRight
    kCar,
    kCar,
    kCar,
    kCar,
    kCar,
    kCar,  // Car5 .. Car10
    kCar,
    kCar,
    kCar,
    kCar,
    kCar,
    kCar,  // Car5_Inv .. Car10_Inv
}}};

// x ^ n by repeated multiplication; x ^ 0 is 1, also for x = 0.
double IntegerPower(double x, int n) {
  double result = 1;
  for (int i = 0; i < n; ++i) result *= x;
  return result;
}

}  // namespace

void BuildSpawnChance(TRaceState& race, int level) {
  const bool traffic = level % 3 == 0;
  for (int k = 1; k <= kSpawnKindCount; ++k) {
    const TSpawnRow& row = kSpawnTable[k];
    race.SpawnChance[k] = traffic ? row.TrafficBase * IntegerPower(row.TrafficGrowth, level / 3)
                                  : row.Base * IntegerPower(row.Growth, level / 3);
  }
}

}  // namespace trakvolt

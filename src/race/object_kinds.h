// The 35 kinds of track object: picture, group and whether the gun can hit them.
#pragma once

namespace trakvolt {

inline constexpr int kObjectKindCount = 35;

// Kind codes the race names directly.
namespace kind {
constexpr int Wall05 = 1, Wall10 = 2, Spike10 = 3, Water10 = 4, Water05 = 5, Stone05 = 6,
              StoneSmall05 = 7, Crack = 8, Rabbit = 9, Bonus10 = 10, Bonus20 = 11, Bonus50 = 12,
              Bonus100 = 13, BonusGun = 14, BonusTurbo = 15, BonusLive = 16, SignLeftBlue = 17,
              SignLeftRed = 18, SignRightBlue = 19, SignRightRed = 20, WallLeft = 21,
              WallRight = 22, FirstCar = 23, FirstOncomingCar = 29, LastCar = 34, FinishLine = 35;
}  // namespace kind

enum class ObjectGroup { Wall, Hazard, Bonus, Scenery, Traffic, OncomingTraffic };

struct TObjectKind {
  const char* Image;
  ObjectGroup Group;
  bool GunProof;
};

// The row of kind 1..35; any other code raises a GameError.
const TObjectKind& ObjectKind(int kind);

// Traffic cars: kinds 23..34.
constexpr bool IsTraffic(int k) { return k >= kind::FirstCar && k <= kind::LastCar; }
// Roadside signs and walls (17..22), which keep the road free of new objects while on it.
constexpr bool IsRoadside(int k) { return k >= kind::SignLeftBlue && k <= kind::WallRight; }

}  // namespace trakvolt

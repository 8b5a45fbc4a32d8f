// The table of track object kinds.
#include "race/object_kinds.h"

#include "base/game_error.h"
#include "race/one_based.h"

namespace trakvolt {
namespace {

using G = ObjectGroup;

constexpr OneBased<TObjectKind, kObjectKindCount> kKinds{{{
    {"Wall05", G::Wall, false},
    {"Wall10", G::Wall, false},
    {"Spike10", G::Hazard, true},
    {"Water10", G::Hazard, true},
    {"Water05", G::Hazard, true},
    {"Stone05", G::Hazard, true},
    {"StoneSmall05", G::Hazard, true},
    {"Crack", G::Hazard, true},
    {"Rabbit", G::Hazard, true},
    {"Bonus10", G::Bonus, false},
    {"Bonus20", G::Bonus, false},
    {"Bonus50", G::Bonus, false},
    {"Bonus100", G::Bonus, false},
    {"BonusGun", G::Bonus, false},
    {"BonusTurbo", G::Bonus, false},
    {"BonusLive", G::Bonus, false},
    {"SignLeftBlue", G::Scenery, true},
    {"SignLeftRed", G::Scenery, true},
    {"SignRightBlue", G::Scenery, true},
    {"SignRightRed", G::Scenery, true},
    {"WallLeft", G::Scenery, true},
    {"WallRight", G::Scenery, true},
    {"Car5", G::Traffic, false},
    {"Car6", G::Traffic, false},
    {"Car7", G::Traffic, false},
    {"Car8", G::Traffic, false},
    {"Car9", G::Traffic, false},
    {"Car10", G::Traffic, false},
    {"Car5_Inv", G::OncomingTraffic, false},
    {"Car6_Inv", G::OncomingTraffic, false},
    {"Car7_Inv", G::OncomingTraffic, false},
    {"Car8_Inv", G::OncomingTraffic, false},
    {"Car9_Inv", G::OncomingTraffic, false},
    {"Car10_Inv", G::OncomingTraffic, false},
    {"FinishLine", G::Scenery, true},
}}};

}  // namespace

const TObjectKind& ObjectKind(int kind) {
  if (kind < 1 || kind > kObjectKindCount)
    throw GameError(Format("There is no track object kind %d", kind));
  return kKinds[kind];
}

}  // namespace trakvolt

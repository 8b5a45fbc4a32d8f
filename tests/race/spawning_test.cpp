// Track spawning: the chance table, the per-frame trial, the factory, the placement rules, the
// finish line, the sweep and the clearing of the road.
#include <algorithm>
#include <map>
#include <string>

#include "race_fixture.h"

namespace trakvolt::testing_support {
namespace {

using SpawnTest = RaceWorldTest;

TEST(SpawnChance, GrowsEveryThreeLevelsAndTrafficLevelsUseTheirOwnTable) {
  TRaceState race;
  BuildSpawnChance(race, 1);
  EXPECT_EQ(race.SpawnChance[kind::Wall05], 0.4);
  EXPECT_EQ(race.SpawnChance[kind::BonusLive], 0.07);
  BuildSpawnChance(race, 4);
  EXPECT_DOUBLE_EQ(race.SpawnChance[kind::Wall05], 0.76);
  EXPECT_DOUBLE_EQ(race.SpawnChance[kind::BonusLive], 0.07);  // no growth on ordinary levels
  BuildSpawnChance(race, 8);
  EXPECT_DOUBLE_EQ(race.SpawnChance[kind::Wall05], 0.4 * 1.9 * 1.9);
  BuildSpawnChance(race, 3);
  EXPECT_EQ(race.SpawnChance[kind::Wall05], 0.0);
  EXPECT_DOUBLE_EQ(race.SpawnChance[kind::FirstCar], 0.18);
  EXPECT_DOUBLE_EQ(race.SpawnChance[kind::WallLeft], 0.22);
  EXPECT_DOUBLE_EQ(race.SpawnChance[kind::WallRight], 0.02);
  BuildSpawnChance(race, 6);
  EXPECT_DOUBLE_EQ(race.SpawnChance[kind::Bonus10], 0.05 * 1.1 * 1.1);
}

TEST(RaceState, LevelLengthAndTimeStepEveryThreeLevels) {
  struct Case {
    int level, length, time;
  } cases[] = {{1, 30000, 60}, {2, 30000, 61},  {3, 30000, 61}, {4, 42000, 91},
               {6, 42000, 91}, {7, 54000, 121}, {9, 54000, 121}};
  for (const Case& c : cases) {
    EXPECT_EQ(LevelLength(c.level), c.length) << c.level;
    EXPECT_EQ(LevelTime(c.level), c.time) << c.level;
  }
  TRaceState race;
  EXPECT_THROW(race.TrackSlots[0], GameError);
  EXPECT_THROW(race.SpawnChance[35], GameError);
}

TEST_F(SpawnTest, AStandingCarSpawnsNothingAndDrawsNothing) {
  spawning = true;
  const std::uint32_t seed = form.Random.SeedValue();
  Frames(200);
  EXPECT_EQ(UsedSlots(), 0);
  EXPECT_EQ(form.Random.SeedValue(), seed);
}

TEST_F(SpawnTest, EachKindOfTheLevelDrawsOneNumberPerFrameInOrder) {
  for (const int level : {1, 3}) {
    race.Level = level;
    race.RoadSpeed = 10;
    for (int k = 1; k <= kSpawnKindCount; ++k) race.SpawnChance[k] = 0;
    TRandom probe = form.Random;
    SpawnStep(world);
    for (int i = 0; i < (level == 3 ? 25 : 22); ++i) probe.Next(32768);
    EXPECT_EQ(form.Random.SeedValue(), probe.SeedValue()) << level;
  }
  race.LevelPhase = phase::FinishPlaced;  // the last stretch stays free
  const std::uint32_t seed = form.Random.SeedValue();
  SpawnStep(world);
  EXPECT_EQ(form.Random.SeedValue(), seed);
}

// Each kind is placed when its draw of the frame lands below f x chance, f being the road
// covered this frame in units of 600 px; a draw exactly on it or above places nothing.
TEST_F(SpawnTest, AKindIsPlacedWhenItsDrawLandsBelowTheRoadCoveredTimesItsChance) {
  struct Case {
    int level, kind;
    double speed;
    double scale;  // f x chance as a multiple of the kind's draw r / 32768
    bool placed;
  } cases[] = {
      {1, kind::Wall05, 250.0 / 14, 1 + 1e-9, true},
      {1, kind::Wall05, 250.0 / 14, 1 - 1e-9, false},
      {1, kind::Wall05, 600, 1, false},  // f is 1: the product is exactly the draw
      {1, kind::WallRight, 5, 1 + 1e-9, true},
      {1, kind::WallRight, 5, 1 - 1e-9, false},
      {3, kind::Bonus10, 12, 1 + 1e-9, true},
      {3, kind::Bonus10, 12, 1 - 1e-9, false},
      {3, kind::LastCar, 250.0 / 14, 1 + 1e-9, true},
      {3, kind::LastCar, 250.0 / 14, 1 - 1e-9, false},
  };
  for (const Case& c : cases) {
    race.Level = c.level;
    race.RoadSpeed = c.speed;
    // The kind's own draw: one number per kind of the level, in kind order.
    TRandom probe = form.Random;
    int r = 0;
    for (int k = c.level % 3 == 0 ? kind::Bonus10 : kind::Wall05; k <= c.kind; ++k)
      r = probe.Next(32768);
    ASSERT_GT(r, 0) << c.kind;
    const double f = c.speed / 600;
    for (int k = 1; k <= kSpawnKindCount; ++k) race.SpawnChance[k] = 0;
    race.SpawnChance[c.kind] = r / 32768.0 / f * c.scale;
    SpawnStep(world);
    EXPECT_EQ(UsedSlots(), c.placed ? 1 : 0) << c.kind << " at " << c.speed << " x" << c.scale;
    if (c.placed && UsedSlots() == 1) {
      EXPECT_EQ(race.TrackSlots[1].Object->Kind, c.kind);
    }
    RemoveAllObjects(world);
  }
}

// A new object may not overlap one on the road: its own edges may not lie inside the other,
// nor the other's edges inside it, ends included.
TEST_F(SpawnTest, AnAreaOverlappingAnObjectIsBlocked) {
  TWallSprite& o = Place(kind::Crack, 3, 0);
  o.X = 300;
  o.Y = 100;
  o.Width = 50;
  o.Height = 40;
  struct Case {
    const char* what;
    double x, y;
    int w, h;
    bool blocked;
  } cases[] = {
      {"inside it", 310, 115, 20, 10, true},
      {"around it", 290, 85, 80, 70, true},
      {"over its lower right corner", 340, 125, 30, 30, true},
      {"touching its right edge", 350, 125, 30, 30, true},
      {"touching its top left corner", 260, 70, 40, 30, true},
      {"a pixel right of it", 351, 125, 30, 30, false},
      {"a pixel below it", 310, 141, 20, 10, false},
      {"beside it above", 250, 60, 49, 39, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsAreaBlocked(world, c.x, c.y, c.w, c.h, 0, 10), c.blocked) << c.what;
}

// Drives a level at top speed with spawning on and checks the road after every frame.
class SpawnRun : public RaceWorldTest {
 protected:
  template <class Check>
  std::map<int, int> Drive(int level, int frames, Check check) {
    race.Level = level;
    BuildSpawnChance(race, level);
    race.RoadSpeed = 250.0 / 14;
    car->X = 166;             // out of the way in the dirt lane
    race.DriftActive = true;  // and not slowed there
    spawning = true;
    std::map<int, int> kinds;
    for (int f = 0; f < frames; ++f) {
      Frame();
      for (int i = 1; i <= kTrackSlotCount; ++i) {
        const TTrackSlot& s = race.TrackSlots[i];
        if (s.InUse && s.Object->Y == -s.Object->Height) ++kinds[s.Object->Kind];  // new
      }
      check();
    }
    return kinds;
  }
};

TEST_F(SpawnRun, OrdinaryLevelsNeverShareALaneBetweenTwoWalls) {
  const auto kinds = Drive(4, 3000, [this] {
    for (int i = 1; i <= kTrackSlotCount; ++i)
      for (int j = i + 1; j <= kTrackSlotCount; ++j) {
        const TTrackSlot &a = race.TrackSlots[i], &b = race.TrackSlots[j];
        if (a.InUse && b.InUse && a.Object->Kind == b.Object->Kind &&
            a.Object->Kind <= kind::Wall10) {
          ASSERT_NE(a.Object->X, b.Object->X) << "two walls in one lane";
        }
      }
  });
  for (const auto& [k, n] : kinds) EXPECT_LE(k, kind::WallRight);
  EXPECT_GT(kinds.count(kind::Wall05) + kinds.count(kind::Wall10), 0u);
}

TEST_F(SpawnRun, ObjectsOnAnOrdinaryLevelNeverOverlap) {
  std::string first_overlap;
  int most = 0;
  Drive(4, 3000, [&] {
    for (int i = 1; i <= kTrackSlotCount; ++i)
      for (int j = i + 1; j <= kTrackSlotCount; ++j) {
        const TTrackSlot &a = race.TrackSlots[i], &b = race.TrackSlots[j];
        if (!a.InUse || !b.InUse || !first_overlap.empty()) continue;
        const TWallSprite &p = *a.Object, &q = *b.Object;
        if (p.X < q.X + q.Width && q.X < p.X + p.Width && p.Y < q.Y + q.Height &&
            q.Y < p.Y + p.Height)
          first_overlap = "kinds " + std::to_string(p.Kind) + " at y " + std::to_string(p.Y) +
                          " and " + std::to_string(q.Kind) + " at y " + std::to_string(q.Y);
      }
    most = std::max(most, UsedSlots());
  });
  EXPECT_EQ(first_overlap, "");
  EXPECT_GT(most, 3);
}

TEST_F(SpawnRun, TrafficLevelsPlaceOnlyBonusesSceneryAndOneCarPerLane) {
  const auto kinds = Drive(3, 3000, [this] {
    std::map<int, int> per_lane;
    for (int i = 1; i <= kTrackSlotCount; ++i) {
      const TTrackSlot& s = race.TrackSlots[i];
      if (s.InUse && s.Object->Moving) {
        ASSERT_EQ(++per_lane[s.Object->Lane], 1);
      }
    }
  });
  for (const auto& [k, n] : kinds) EXPECT_GE(k, kind::Bonus10);
  int cars = 0;
  for (const auto& [k, n] : kinds) cars += IsTraffic(k) ? n : 0;
  EXPECT_GT(cars, 0);
}

TEST_F(SpawnTest, TheFactoryPlacesEachKindByItsRules) {
  struct Case {
    int kind;
    std::vector<int> lanes;  // lanes it may take
    double x;                // 0: centred in its lane
    int z;
  } cases[] = {
      {kind::Wall05, {2, 3, 4}, 0, 2},         {kind::BonusLive, {2, 3, 4}, 0, 2},
      {kind::SignLeftBlue, {2, 3, 4}, 140, 2}, {kind::WallRight, {2, 3, 4}, 630, 2},
      {kind::FirstCar + 5, {3, 4}, 0, 3},      {kind::FirstOncomingCar, {2, 3}, 0, 3},
  };
  for (const Case& c : cases) {
    for (int trial = 0; trial < 6; ++trial) {
      TRandom probe = form.Random;
      const int drawn_lane = 2 + probe.Next(3);
      TWallSprite* o = SpawnObject(world, c.kind);
      ASSERT_NE(o, nullptr) << c.kind;
      int lane = drawn_lane;
      if (IsTraffic(c.kind) && lane != 3) lane = c.kind < kind::FirstOncomingCar ? 4 : 2;
      EXPECT_EQ(o->Lane, lane) << c.kind;
      EXPECT_NE(std::find(c.lanes.begin(), c.lanes.end(), o->Lane), c.lanes.end());
      EXPECT_EQ(o->X, c.x != 0 ? c.x : LaneX(o->Lane, o->Width)) << c.kind;
      EXPECT_EQ(o->Y, -o->Height);
      EXPECT_EQ(o->Z(), c.z);
      EXPECT_EQ(o->Image(), &form.MImageList3.Find(ObjectKind(c.kind).Image));
      EXPECT_TRUE(o->FrameLooped);
      EXPECT_DOUBLE_EQ(o->FrameSpeed, 0.15);
      if (c.kind == kind::FirstCar + 5) {
        const double own = -(20 + probe.Next(180)) / 14.0;
        EXPECT_EQ(o->OwnSpeed, own);
      } else if (c.kind == kind::FirstOncomingCar) {
        EXPECT_EQ(o->OwnSpeed, (20 + probe.Next(40)) / 14.0);
      } else {
        EXPECT_FALSE(o->Moving);
      }
      EXPECT_EQ(form.Random.SeedValue(), probe.SeedValue());
      RemoveAllObjects(world);
    }
  }
}

TEST_F(SpawnTest, ASpawnTriesEveryFreeSlotWithItsOwnLane) {
  // Something at the top edge blocks every new object (tops within 10 pixels).
  Place(kind::Crack, 2, -40);
  Place(kind::Crack, 3, 300);
  TRandom probe = form.Random;
  EXPECT_EQ(SpawnObject(world, kind::Bonus10), nullptr);
  for (int i = 0; i < kTrackSlotCount - 2; ++i) probe.Next(3);
  EXPECT_EQ(form.Random.SeedValue(), probe.SeedValue());
  EXPECT_EQ(UsedSlots(), 2);
  EXPECT_EQ(Sprites().Count(), 4 + 2);  // background, car, two explosions and the cracks
}

TEST_F(SpawnTest, ARoadsideSignHoldsBackEverythingButTheFinishLine) {
  TWallSprite& sign = Place(kind::SignLeftRed, 2, 400);
  for (const int k : {kind::Wall05, kind::Bonus100, kind::SignRightBlue, kind::FirstCar})
    EXPECT_EQ(SpawnObject(world, k), nullptr) << k;
  TWallSprite* finish = SpawnObject(world, kind::FinishLine);
  ASSERT_NE(finish, nullptr);
  EXPECT_EQ(finish->X, 283);
  EXPECT_EQ(finish->Y, car->Y - 600);  // 600 pixels above the car's top edge
  EXPECT_EQ(finish->Slot, 2);
  // Once the sign has left the screen the road takes new objects again.
  finish->Free();
  sign.Y = 601;
  SweepObjects(world);
  EXPECT_NE(SpawnObject(world, kind::Wall05), nullptr);
}

TEST_F(SpawnTest, AWallInALaneKeepsTheNextWallOutOfIt) {
  Place(kind::Wall05, 3, 250);
  for (int trial = 0; trial < 20; ++trial) {
    TWallSprite* o = SpawnObject(world, kind::Wall05);
    ASSERT_NE(o, nullptr);
    EXPECT_NE(o->Lane, 3);
    o->Free();
  }
}

TEST_F(SpawnTest, OneTrafficCarPerLane) {
  Place(kind::FirstCar, 4, 100);
  for (int trial = 0; trial < 10; ++trial) {
    TWallSprite* o = SpawnObject(world, kind::FirstCar + 1);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->Lane, 3);
    o->Free();
  }
  Place(kind::FirstOncomingCar, 3, 300);
  EXPECT_EQ(SpawnObject(world, kind::FirstCar), nullptr);
  EXPECT_TRUE(LaneHasTraffic(world, 4));
  EXPECT_FALSE(LaneHasTraffic(world, 2));
}

TEST_F(SpawnTest, AFullSlotTableRefusesEvenTheFinishLine) {
  for (int i = 0; i < kTrackSlotCount; ++i) Place(kind::Crack, 2 + i % 3, -2000.0 + 50 * i);
  const int sprites = Sprites().Count();
  EXPECT_EQ(SpawnObject(world, kind::FinishLine), nullptr);
  EXPECT_EQ(Sprites().Count(), sprites);
  EXPECT_THROW(SpawnObject(world, 36), GameError);
}

TEST_F(SpawnTest, TheSweepRemovesFinishedObjectsAndFreesTheirSlots) {
  TWallSprite& below = Place(kind::Crack, 2, 601);
  TWallSprite& at_bottom = Place(kind::Crack, 3, 600);
  TWallSprite& ahead = Place(kind::FirstCar, 3, -601);
  TWallSprite& collected = Place(kind::Bonus10, 4, 100);
  collected.Collected = true;
  TWallSprite& touched = Place(kind::Water10, 2, 100);  // a hazard after contact stays
  touched.CanCollide = false;
  touched.FramePos = 1.5;
  TWallSprite& wreck = Place(kind::Wall10, 4, 200);
  wreck.CanCollide = false;
  wreck.SetImage(&form.MImageList3.Find("ExplosionBig"));
  wreck.FrameCount = wreck.Image()->FrameCount();
  wreck.FramePos = wreck.FrameCount - 2;
  TWallSprite& shot = Place(kind::Wall05, 2, 300);
  shot.BlowUp();
  shot.FramePos = shot.FrameCount - 1;
  const int slots[] = {below.Slot,   at_bottom.Slot, ahead.Slot, collected.Slot,
                       touched.Slot, wreck.Slot,     shot.Slot};
  const bool gone[] = {true, false, true, true, false, false, true};
  SweepObjects(world);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(race.TrackSlots[slots[i]].InUse, !gone[i]) << i;
  wreck.FramePos = wreck.FrameCount - 1;
  SweepObjects(world);
  EXPECT_FALSE(race.TrackSlots[slots[5]].InUse);

  RemoveAllObjects(world);
  EXPECT_EQ(UsedSlots(), 0);
  EXPECT_EQ(Sprites().Count(), 4);
  for (int i = 1; i <= kTrackSlotCount; ++i) EXPECT_EQ(race.TrackSlots[i].Object, nullptr);
}

// Two worlds with one seed and one input script end in the same state.
TEST(RaceReplay, ASeedAndAnInputScriptGiveTheSameRace) {
  struct Run : RaceWorldTest {
    void TestBody() override {}
    std::vector<double> Play() {
      spawning = true;
      race.Level = 3;
      BuildSpawnChance(race, 3);
      std::vector<double> trace;
      for (int f = 0; f < 1500; ++f) {
        machine.input.SetKey(vk::Up, f % 300 < 250);
        machine.input.SetKey(vk::Left, f % 97 < 20);
        machine.input.SetKey(vk::Right, f % 89 < 15);
        machine.input.SetKey(vk::Space, f % 50 < 10);
        Frame(1 + f % 3);
        trace.push_back(race.RoadSpeed + car->X + race.Score + race.Lives);
      }
      for (int i = 1; i <= kTrackSlotCount; ++i)
        if (race.TrackSlots[i].InUse) trace.push_back(race.TrackSlots[i].Object->Y);
      return trace;
    }
  };
  const std::vector<double> first = Run().Play();
  EXPECT_EQ(Run().Play(), first);
}

}  // namespace
}  // namespace trakvolt::testing_support

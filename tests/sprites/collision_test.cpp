// Collision queries: what counts as a hit, where the search stops, and trees changed by hits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actor.h"
#include "sprites/sprite_engine.h"

namespace trakvolt::testing {
namespace {

using Names = std::vector<std::string>;

struct Piece {
  std::string name, parent;  // parent "" is the root
  Rect box;
  bool collide = true, visible = true, solid = true;
};

enum class Handler { Nothing, SetsDone, SwitchesTesterOff };

struct QueryCase {
  const char* name;
  std::vector<Piece> scene;  // the tester is always "s" at (0, 0, 10, 10), created first
  bool tester_collides;
  Handler handler;
  Names hits;
};

class CollisionQuery : public ::testing::TestWithParam<QueryCase> {
 protected:
  WalkLog log;
  TSpriteEngine root;
};

TEST_P(CollisionQuery, ReportsTheHitsInTreeOrder) {
  Actor& s = root.Add<Actor>(log, "s", Rect{0, 0, 10, 10});
  s.CanCollide = GetParam().tester_collides;
  for (const Piece& p : GetParam().scene) {
    TSprite& parent = p.parent.empty() ? static_cast<TSprite&>(root) : *FindActor(root, p.parent);
    Actor& a = parent.Add<Actor>(log, p.name, p.box);
    a.CanCollide = p.collide;
    a.Visible = p.visible;
    a.solid = p.solid;
  }
  s.on_hit = [handler = GetParam().handler](Actor& self, TSprite&, bool& done) {
    if (handler == Handler::SetsDone) done = true;
    if (handler == Handler::SwitchesTesterOff) self.CanCollide = false;
  };
  EXPECT_EQ(s.Collision(), static_cast<int>(GetParam().hits.size()));
  EXPECT_EQ(log.hits, GetParam().hits);
}

const std::vector<Piece> kThreeOverlapping = {
    {"a", "", {5, 5, 15, 15}}, {"b", "", {0, 0, 1, 1}}, {"c", "", {9, 9, 20, 20}}};

INSTANTIATE_TEST_SUITE_P(
    Cases, CollisionQuery,
    ::testing::Values(
        // The tester never hits itself but its own children are searched; touching is no hit.
        QueryCase{"OverlapsOnlyNotSelf",
                  {{"own", "s", {2, 2, 4, 4}},
                   {"a", "", {5, 5, 15, 15}},
                   {"edge", "", {10, 0, 20, 10}},
                   {"below", "", {0, 10, 10, 20}},
                   {"c", "", {-3, -3, 1, 1}}},
                  true,
                  Handler::Nothing,
                  {"own", "a", "c"}},
        QueryCase{"DepthFirstInJoiningOrder",
                  {{"a", "", {0, 0, 5, 5}}, {"b", "", {0, 0, 5, 5}}, {"a1", "a", {0, 0, 5, 5}}},
                  true,
                  Handler::Nothing,
                  {"a", "a1", "b"}},
        QueryCase{"NonCollidingSubtreeIsNotSearched",
                  {{"p", "", {0, 0, 10, 10}, false},
                   {"pc", "p", {0, 0, 10, 10}},
                   {"q", "", {1, 1, 2, 2}}},
                  true,
                  Handler::Nothing,
                  {"q"}},
        // Either side may refuse; the refusing sprite's children are still searched.
        QueryCase{"RefusingSpriteKeepsItsChildrenSearched",
                  {{"n", "", {0, 0, 10, 10}, true, true, false}, {"nc", "n", {0, 0, 3, 3}}},
                  true,
                  Handler::Nothing,
                  {"nc"}},
        QueryCase{"InvisibleSpritesCollide",
                  {{"v", "", {0, 0, 10, 10}, true, false}},
                  true,
                  Handler::Nothing,
                  {"v"}},
        QueryCase{"NonCollidingTesterFindsNothing", kThreeOverlapping, false, Handler::Nothing, {}},
        QueryCase{"HandlerSettingDoneStops", kThreeOverlapping, true, Handler::SetsDone, {"a"}},
        QueryCase{"HandlerSwitchingTesterOffStops",
                  kThreeOverlapping,
                  true,
                  Handler::SwitchesTesterOff,
                  {"a"}},
        QueryCase{"AllThree", kThreeOverlapping, true, Handler::Nothing, {"a", "b", "c"}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(Collision, RootFindsNothing) {
  WalkLog log;
  TSpriteEngine root;
  root.Add<Actor>(log, "a", Rect{0, 0, 10, 10});
  EXPECT_EQ(root.Collision(), 0);
}

// The bonus pickup: a track object's move runs the query, and its hit handler replaces the two
// running bonus overlays by two new ones while both walks are in progress.
TEST(Collision, HandlerThatFreesTwoAndCreatesTwoInsideTheMoveWalk) {
  WalkLog log;
  TSpriteEngine root;
  root.Add<Actor>(log, "o1", Rect{100, 0, 110, 10});
  root.Add<Actor>(log, "o2", Rect{120, 0, 130, 10});
  Actor& wall = root.Add<Actor>(log, "wall", Rect{0, 0, 10, 10});
  root.Add<Actor>(log, "car", Rect{5, 5, 15, 15});
  root.Add<Actor>(log, "x", Rect{0, 0, 10, 10});
  int found = -1;
  wall.on_move = [&](Actor& self) { found = self.Collision(); };
  wall.on_hit = [&](Actor&, TSprite& other, bool&) {
    if (static_cast<Actor&>(other).name != "car") return;
    FindActor(root, "o1")->Free();
    FindActor(root, "o2")->Free();
    root.Add<Actor>(log, "n1", Rect{100, 0, 110, 10});
    root.Add<Actor>(log, "n2", Rect{120, 0, 130, 10});
  };
  root.Move(1);
  // The frees shift car and x down two places: x is passed over by the query and car and x by
  // the move walk in this frame; the new overlays are reached at the old positions.
  EXPECT_EQ(log.hits, (Names{"car"}));
  EXPECT_EQ(found, 1);
  EXPECT_EQ(log.moved, (Names{"o1", "o2", "wall", "n1", "n2"}));
  EXPECT_EQ(log.freed, (Names{"o1", "o2"}));
  EXPECT_EQ(root.Count(), 5);
}

TEST(Collision, HandlerFreeingTheHitSpriteOrTheTesterIsSafe) {
  WalkLog log;
  TSpriteEngine root;
  Actor& s = root.Add<Actor>(log, "s", Rect{0, 0, 10, 10});
  root.Add<Actor>(log, "a", Rect{0, 0, 10, 10}).Add<Actor>(log, "a1", Rect{0, 0, 10, 10});
  root.Add<Actor>(log, "b", Rect{0, 0, 10, 10});
  root.Add<Actor>(log, "c", Rect{0, 0, 10, 10});
  s.on_hit = [](Actor&, TSprite& other, bool&) { other.Free(); };
  // a goes with its child, b shifts into a's place and is passed over, c is hit.
  EXPECT_EQ(s.Collision(), 2);
  EXPECT_EQ(log.hits, (Names{"a", "c"}));

  s.on_hit = [](Actor& self, TSprite&, bool&) { self.Free(); };
  EXPECT_EQ(s.Collision(), 1);  // the query ends with its tester
  EXPECT_EQ(root.Count(), 1);
}

}  // namespace
}  // namespace trakvolt::testing

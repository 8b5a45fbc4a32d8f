// The sprite tree: ownership, Z order, hidden and frozen subtrees, culling, safe walks.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "actor.h"
#include "base/game_error.h"
#include "sprites/sprite_engine.h"

namespace trakvolt::testing {
namespace {

using Names = std::vector<std::string>;

class SpriteTree : public ::testing::Test {
 protected:
  SpriteTree() : surface_(100, 80) { root.SetSurface(surface_.View()); }

  Actor& Make(TSprite& parent, const std::string& name, Rect box = Rect{0, 0, 10, 10}) {
    return parent.Add<Actor>(log, name, box);
  }

  WalkLog log;
  Surface surface_;
  TSpriteEngine root;
};

struct ZCase {
  const char* name;
  std::vector<std::pair<std::string, int>> created;  // name, Z set right after creation
  std::vector<std::pair<std::string, int>> changes;  // SetZ calls afterwards, in order
  Names drawn;
};

class ZOrder : public SpriteTree, public ::testing::WithParamInterface<ZCase> {};

TEST_P(ZOrder, DrawsInAscendingZWithTheLatestUnderneath) {
  for (const auto& [name, z] : GetParam().created) Make(root, name).SetZ(z);
  for (const auto& [name, z] : GetParam().changes) FindActor(root, name)->SetZ(z);
  root.Draw();
  EXPECT_EQ(log.drawn, GetParam().drawn);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZOrder,
    ::testing::Values(
        ZCase{"EqualZLaterFirst", {{"a", 0}, {"b", 0}, {"c", 0}}, {}, {"c", "b", "a"}},
        ZCase{"MixedZ", {{"a", 2}, {"b", 0}, {"c", 1}, {"d", 1}}, {}, {"b", "d", "c", "a"}},
        ZCase{"RaisedAndResetGoesUnderneath",
              {{"a", 0}, {"b", 0}, {"c", 0}},
              {{"a", 5}, {"a", 0}},
              {"a", "c", "b"}},
        ZCase{"SameValueKeepsPlace", {{"a", 0}, {"b", 0}}, {{"a", 0}}, {"b", "a"}},
        ZCase{"NegativeZ", {{"a", 0}, {"b", -3}, {"c", 7}}, {{"c", -3}}, {"c", "b", "a"}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST_F(SpriteTree, ParentDrawsBeforeItsChildrenWhatEverTheirZ) {
  Actor& p = Make(root, "p");
  p.SetZ(5);
  Make(p, "child").SetZ(-10);
  Make(root, "q");
  root.Draw();
  EXPECT_EQ(log.drawn, (Names{"q", "p", "child"}));
}

struct SubtreeCase {
  const char* name;
  bool visible, can_move;
  Names moved, drawn;
};

class HiddenOrFrozen : public SpriteTree, public ::testing::WithParamInterface<SubtreeCase> {};

// `p` has a child `c`; the flags are set on `p` only.
TEST_P(HiddenOrFrozen, FlagsOfAParentHoldForItsWholeSubtree) {
  Actor& p = Make(root, "p");
  Make(p, "c");
  Make(root, "q");
  p.Visible = GetParam().visible;
  p.CanMove = GetParam().can_move;
  root.Move(1);
  root.Draw();
  EXPECT_EQ(log.moved, GetParam().moved);
  EXPECT_EQ(log.drawn, GetParam().drawn);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HiddenOrFrozen,
    ::testing::Values(SubtreeCase{"InvisibleStillMoves", false, true, {"p", "c", "q"}, {"q"}},
                      SubtreeCase{"ImmobileStillDrawn", true, false, {"q"}, {"q", "p", "c"}}),
    [](const auto& c) { return std::string(c.param.name); });

struct CullCase {
  double x, y;
  bool drawn;
};

class Culling : public SpriteTree, public ::testing::WithParamInterface<CullCase> {};

// The surface is 100 x 80, the sprite 10 x 10.
TEST_P(Culling, DrawsWhatOverlapsTheSurfaceByAtLeastOnePixel) {
  Actor& a = Make(root, "a");
  a.X = GetParam().x;
  a.Y = GetParam().y;
  root.Draw();
  EXPECT_EQ(log.drawn.size(), GetParam().drawn ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Edges, Culling,
                         ::testing::Values(CullCase{-9, 0, true}, CullCase{-10, 0, false},
                                           CullCase{99, 0, true}, CullCase{100, 0, false},
                                           CullCase{0, -9, true}, CullCase{0, -10, false},
                                           CullCase{0, 79, true}, CullCase{0, 80, false},
                                           // Truncation toward zero, not toward minus infinity.
                                           CullCase{-9.9, 0, true}, CullCase{-10.9, 0, false},
                                           CullCase{99.9, 0, true}));

TEST_F(SpriteTree, CulledParentStillHasItsChildrenDrawn) {
  Actor& p = Make(root, "p", Rect{-50, 0, -40, 10});
  Make(p, "c", Rect{60, 0, 70, 10});  // world x 10
  root.Draw();
  EXPECT_EQ(log.drawn, (Names{"c"}));
}

TEST_F(SpriteTree, NothingIsDrawnWithoutASurface) {
  Make(root, "a");
  root.SetSurface(SurfaceView{});
  root.Draw();
  root.Move(1);
  EXPECT_TRUE(log.drawn.empty());
  EXPECT_EQ(log.moved, (Names{"a"}));
}

TEST_F(SpriteTree, WorldPositionAddsUpTheParentsAndTruncatesTowardZero) {
  Actor& a = Make(root, "a");
  a.X = -10.5;
  a.Y = 2;
  Actor& b = Make(a, "b");
  b.X = 3.25;
  b.Y = 4.75;
  b.Width = 6;
  b.Height = 1;
  EXPECT_DOUBLE_EQ(b.WorldX(), -7.25);
  EXPECT_DOUBLE_EQ(b.WorldY(), 6.75);
  EXPECT_EQ(b.BoundsRect(), (Rect{-7, 6, -1, 7}));
  EXPECT_EQ(a.Parent(), &root);
  EXPECT_EQ(b.Parent(), &a);
  EXPECT_EQ(b.Engine(), &root);
  EXPECT_EQ(root.Engine(), nullptr);
}

TEST_F(SpriteTree, FreeingASpriteFreesItsChildrenLastToFirstThenItself) {
  Actor& p = Make(root, "p");
  Make(p, "c1");
  Make(Make(p, "c2"), "g");
  Make(p, "c3");
  Make(root, "q");
  p.Free();
  EXPECT_EQ(log.freed, (Names{"c3", "g", "c2", "c1", "p"}));
  ASSERT_EQ(root.Count(), 1);
  EXPECT_EQ(&root.Child(0), FindActor(root, "q"));
  EXPECT_EQ(root.DrawList(), (std::vector<TSprite*>{FindActor(root, "q")}));
}

TEST_F(SpriteTree, EngineFreesTheWholeTreeLastToFirst) {
  {
    TSpriteEngine other;
    Make(Make(other, "a"), "a1");
    Make(other, "b");
  }
  EXPECT_EQ(log.freed, (Names{"b", "a1", "a"}));
}

TEST_F(SpriteTree, ChildIndexOutsideTheChildrenIsAnError) {
  Make(root, "a");
  Make(root, "b");
  EXPECT_EQ(&root.Child(1), FindActor(root, "b"));
  for (int index : {2, -1}) {
    try {
      root.Child(index);
      ADD_FAILURE() << "no error for index " << index;
    } catch (const GameError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Index of the list exceeds the range. (" + std::to_string(index) + ")");
    }
  }
  EXPECT_THROW(root.Free(), GameError);
}

// What an actor does in its DoMove: free a sprite or create a sibling.
struct Reaction {
  std::string actor, verb, target;  // verb: "free" or "add"
};

struct WalkCase {
  const char* name;
  std::vector<Reaction> reactions;
  Names moved;
  Names left;  // top-level sprites after the walk
};

class SafeMoveWalk : public SpriteTree, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(SafeMoveWalk, SurvivesCallbacksThatChangeTheSiblings) {
  for (const char* name : {"a", "b", "c", "d"}) Make(root, name);
  for (const Reaction& r : GetParam().reactions) {
    Actor* actor = FindActor(root, r.actor);
    auto previous = actor->on_move;
    actor->on_move = [this, r, previous](Actor& self) {
      if (previous) previous(self);
      if (r.verb == "free")
        FindActor(root, r.target)->Free();
      else
        Make(*self.Parent(), r.target);
    };
  }
  root.Move(1);
  EXPECT_EQ(log.moved, GetParam().moved);
  Names left;
  for (const auto& child : root.Children()) left.push_back(static_cast<Actor&>(*child).name);
  EXPECT_EQ(left, GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeMoveWalk,
    ::testing::Values(
        WalkCase{"FreesALaterSibling", {{"a", "free", "c"}}, {"a", "b", "d"}, {"a", "b", "d"}},
        // The shifted sibling is skipped this frame; the walk stops at the current end.
        WalkCase{"FreesAnEarlierSibling", {{"c", "free", "a"}}, {"a", "b", "c"}, {"b", "c", "d"}},
        WalkCase{"FreesItself", {{"b", "free", "b"}}, {"a", "b", "d"}, {"a", "c", "d"}},
        // The count is taken at the start: a new sibling waits for the next walk.
        WalkCase{"CreatesASibling",
                 {{"a", "add", "e"}},
                 {"a", "b", "c", "d"},
                 {"a", "b", "c", "d", "e"}},
        WalkCase{"FreesAndCreates",
                 {{"a", "free", "b"}, {"a", "add", "e"}},
                 {"a", "c", "d", "e"},
                 {"a", "c", "d", "e"}},
        WalkCase{"FreesEveryoneElse",
                 {{"b", "free", "a"}, {"b", "free", "c"}, {"b", "free", "d"}},
                 {"a", "b"},
                 {"b"}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST_F(SpriteTree, ChildFreeingItsOwnParentEndsThatSubtreesWalk) {
  Actor& p = Make(root, "p");
  Make(p, "c1").on_move = [&p](Actor&) { p.Free(); };
  Make(p, "c2");
  Make(root, "q");
  Make(root, "r");
  root.Move(1);
  // p's removal shifts q into p's place, so q is skipped this frame.
  EXPECT_EQ(log.moved, (Names{"p", "c1", "r"}));
  EXPECT_EQ(log.freed, (Names{"c2", "c1", "p"}));
}

TEST_F(SpriteTree, DrawCallbackFreeingSiblingsIsSafe) {
  struct Eraser : Actor {
    using Actor::Actor;
    void DoDraw() override {
      Actor::DoDraw();
      for (int i = Parent()->Count() - 1; i >= 0; --i)
        if (&Parent()->Child(i) != this) Parent()->Child(i).Free();
    }
  };
  Make(root, "a");
  Make(root, "b");
  root.Add<Eraser>(log, "e", Rect{0, 0, 10, 10});  // drawn first: latest among equal Z
  root.Draw();
  EXPECT_EQ(log.drawn, (Names{"e"}));
  EXPECT_EQ(root.Count(), 1);
}

TEST_F(SpriteTree, ConstructorThatThrowsLeavesTheTreeUnchanged) {
  struct Failing : TSprite {
    explicit Failing(ParentLink parent) : TSprite(parent) {
      SetZ(3);
      throw GameError("Image 'Nope' not found");
    }
  };
  Make(root, "a");
  EXPECT_THROW(root.Add<Failing>(), GameError);
  EXPECT_EQ(root.Count(), 1);
  EXPECT_EQ(root.DrawList().size(), 1u);
}

}  // namespace
}  // namespace trakvolt::testing

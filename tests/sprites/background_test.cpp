// Background sprites and the scrolling background: cell maps, endless and bounded drawing.
#include <gtest/gtest.h>

#include <string>

#include "actor.h"
#include "base/game_error.h"
#include "sprites/background_sprite.h"
#include "sprites/scroll_background.h"
#include "sprites/sprite_engine.h"
#include "sprites/sprite_engine_component.h"
#include "test_pictures.h"

namespace trakvolt::testing {
namespace {

int FloorMod(int a, int n) { return ((a % n) + n) % n; }
int FloorDiv(int a, int n) { return (a - FloorMod(a, n)) / n; }

class Background : public ::testing::Test {
 protected:
  Background() : surface(40, 30, kUntouched), picture(8, 6, 3) { root.SetSurface(surface.View()); }

  bool Untouched() const {
    for (int y = 0; y < surface.Height(); ++y)
      for (int x = 0; x < surface.Width(); ++x)
        if (surface.At(x, y) != kUntouched) return false;
    return true;
  }

  WalkLog log;  // outlives the sprites that write to it
  Surface surface;
  CodedPicture picture;
  TSpriteEngine root;
};

struct LayoutCase {
  double x, y;
  bool endless;
};

class MapDrawing : public Background, public ::testing::WithParamInterface<LayoutCase> {};

// A 3 x 2 map (frames 0 1 2 / 2 -1 0) of 8 x 6 cells: every surface pixel must show the pixel
// of the cell under it, the map repeating in both directions when endless.
TEST_P(MapDrawing, EveryPixelShowsTheCellUnderIt) {
  const int cells[2][3] = {{0, 1, 2}, {2, -1, 0}};
  TBackgroundSprite& bg = root.Add<TBackgroundSprite>();
  bg.SetImage(&picture);
  bg.SetMapSize(3, 2);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) bg.SetCell(c, r, cells[r][c]);
  bg.X = GetParam().x;
  bg.Y = GetParam().y;
  bg.Endless = GetParam().endless;
  root.Draw();

  const int ox = static_cast<int>(GetParam().x), oy = static_cast<int>(GetParam().y);
  for (int sy = 0; sy < surface.Height(); ++sy)
    for (int sx = 0; sx < surface.Width(); ++sx) {
      const int u = sx - ox, v = sy - oy;
      int col = FloorDiv(u, 8), row = FloorDiv(v, 6);
      Pixel565 want = kUntouched;
      if (GetParam().endless) {
        col = FloorMod(col, 3);
        row = FloorMod(row, 2);
      }
      if (col >= 0 && col < 3 && row >= 0 && row < 2 && cells[row][col] >= 0)
        want = Code(cells[row][col], FloorMod(u, 8), FloorMod(v, 6));
      ASSERT_EQ(surface.At(sx, sy), want) << "at " << sx << "," << sy;
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, MapDrawing,
                         ::testing::Values(LayoutCase{0, 0, true}, LayoutCase{-5.7, 13.2, true},
                                           LayoutCase{13, -77, true},
                                           LayoutCase{-1000.5, -999, true},
                                           LayoutCase{123456, 7, true}, LayoutCase{0, 0, false},
                                           LayoutCase{-4, 20, false}, LayoutCase{30.5, -7, false},
                                           LayoutCase{-100, 0, false}));

struct EmptyCase {
  bool with_picture;
  int map_w, map_h;
};

class DrawsNothing : public Background, public ::testing::WithParamInterface<EmptyCase> {};

TEST_P(DrawsNothing, WithoutAPictureOrCells) {
  TBackgroundSprite& bg = root.Add<TBackgroundSprite>();
  bg.Endless = true;
  if (GetParam().with_picture) bg.SetImage(&picture);
  bg.SetMapSize(GetParam().map_w, GetParam().map_h);
  root.Draw();
  EXPECT_TRUE(Untouched());
  EXPECT_EQ(picture.draws, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, DrawsNothing,
                         ::testing::Values(EmptyCase{true, 0, 0}, EmptyCase{false, 2, 2},
                                           EmptyCase{true, -1, 3}, EmptyCase{true, 4, 0}));

TEST_F(Background, MapSizeAndCells) {
  TBackgroundSprite& bg = root.Add<TBackgroundSprite>();
  EXPECT_FALSE(bg.CanCollide);
  bg.SetMapSize(3, 2);
  EXPECT_EQ(bg.Cell(2, 1), 0);
  EXPECT_TRUE(bg.CollisionCell(2, 1));
  bg.SetCell(2, 1, 5);
  bg.SetCollisionCell(0, 0, false);
  bg.SetCell(3, 0, 7);  // outside: ignored
  for (auto [x, y] : {std::pair{3, 0}, {-1, 0}, {0, 2}, {0, -1}}) {
    EXPECT_EQ(bg.Cell(x, y), -1);
    EXPECT_FALSE(bg.CollisionCell(x, y));
  }
  bg.SetMapSize(3, 2);  // same size: the cells stay
  EXPECT_EQ(bg.Cell(2, 1), 5);
  EXPECT_FALSE(bg.CollisionCell(0, 0));
  bg.SetMapSize(0, 7);
  EXPECT_EQ(bg.MapWidth(), 0);
  EXPECT_EQ(bg.MapHeight(), 0);
}

TEST_F(Background, BoundsAndCellCollisions) {
  TBackgroundSprite& bg = root.Add<TBackgroundSprite>();
  bg.SetImage(&picture);
  bg.SetMapSize(2, 1);
  bg.SetCollisionCell(1, 0, false);
  bg.X = 4;
  EXPECT_EQ(bg.GetBoundsRect(), (Rect{4, 0, 20, 6}));
  Actor& probe = root.Add<Actor>(log, "probe", Rect{0, 0, 2, 2});
  struct Probe {
    double x;
    bool endless, hit;
  };
  for (const Probe& p : {Probe{5, false, true}, Probe{12, false, false}, Probe{1, false, false},
                         Probe{22, false, false}, Probe{22, true, true}, Probe{1, true, false}}) {
    probe.X = p.x;
    bg.Endless = p.endless;
    EXPECT_EQ(bg.TestCollision(probe), p.hit) << "x " << p.x << " endless " << p.endless;
  }
  EXPECT_EQ(bg.GetBoundsRect(), root.SurfaceRect());  // endless: the whole surface
}

class ScrollBackground : public Background {
 protected:
  ScrollBackground() { shelf.Put("GroundLeft", picture); }
  PictureShelf shelf;
  double road_speed = 0;
};

TEST_F(ScrollBackground, StartsAsOneEndlessCellAtTheOrigin) {
  TScrollBackground& bg = root.Add<TScrollBackground>(shelf, "GroundLeft", road_speed);
  EXPECT_EQ(bg.Image(), &picture);
  EXPECT_EQ(bg.Z(), 1);
  EXPECT_TRUE(bg.Endless);
  EXPECT_FALSE(bg.CanCollide);
  EXPECT_EQ(bg.MapWidth(), 1);
  EXPECT_EQ(bg.MapHeight(), 1);
  EXPECT_EQ(bg.Cell(0, 0), 0);
  EXPECT_EQ(bg.X, 0);
  EXPECT_EQ(bg.Y, 0);
  root.Draw();
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) ASSERT_EQ(surface.At(x, y), Code(0, x % 8, y % 6));
}

TEST_F(ScrollBackground, MissingPictureIsAnErrorAndJoinsNothing) {
  try {
    root.Add<TScrollBackground>(shelf, "Nope", road_speed);
    ADD_FAILURE() << "no error";
  } catch (const GameError& e) {
    EXPECT_EQ(std::string(e.what()), "Image 'Nope' not found");
  }
  EXPECT_EQ(root.Count(), 0);
}

struct ScrollCase {
  double y, speed;
  int move_count;
  double want;
};

class Scrolling : public ScrollBackground, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(Scrolling, MovesOncePerFrameAndWrapsAbove600) {
  TScrollBackground& bg = root.Add<TScrollBackground>(shelf, "GroundLeft", road_speed);
  bg.Y = GetParam().y;
  road_speed = GetParam().speed;  // read through the reference at every move
  root.Move(GetParam().move_count);
  EXPECT_DOUBLE_EQ(bg.Y, GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Cases, Scrolling,
                         ::testing::Values(ScrollCase{599.5, 1.0, 1, 88.5}, ScrollCase{0, 2, 5, 2},
                                           ScrollCase{600, 0, 1, 600}, ScrollCase{598, 3, 2, 89},
                                           ScrollCase{10, -4, 1, 6}));

TEST(SpriteEngineComponent, DrawsOnlyWhileTheDisplayIsInitialised) {
  WalkLog log;
  Surface back(800, 600);
  TSpriteEngineComponent engine;
  engine.Engine().Add<Actor>(log, "a", Rect{0, 0, 10, 10});
  engine.Draw();
  engine.Move(1);
  engine.DisplayInitialized(back.View());
  EXPECT_EQ(engine.Engine().SurfaceRect(), (Rect{0, 0, 800, 600}));
  engine.Draw();
  engine.DisplayFinalizing();
  engine.Draw();
  engine.Move(2);
  EXPECT_EQ(log.drawn.size(), 1u);
  EXPECT_EQ(log.moved.size(), 2u);
  EXPECT_FALSE(engine.HasSurface());
}

}  // namespace
}  // namespace trakvolt::testing

// Image sprites: the animation step and drawing of the current frame.
#include "sprites/image_sprite.h"

#include <gtest/gtest.h>

#include "sprites/sprite_engine.h"
#include "test_pictures.h"

namespace trakvolt::testing {
namespace {

struct AnimationCase {
  const char* name;
  int frame_count;
  bool looped;
  double pos, speed;
  int move_count;
  double want_pos, want_speed;
};

class Animation : public ::testing::TestWithParam<AnimationCase> {};

TEST_P(Animation, StepsClampsAndWraps) {
  const AnimationCase& c = GetParam();
  TSpriteEngine root;
  TImageSprite& s = root.Add<TImageSprite>();
  s.FrameCount = c.frame_count;
  s.FrameLooped = c.looped;
  s.FramePos = c.pos;
  s.FrameSpeed = c.speed;
  root.Move(c.move_count);
  EXPECT_DOUBLE_EQ(s.FramePos, c.want_pos);
  EXPECT_DOUBLE_EQ(s.FrameSpeed, c.want_speed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Animation,
    ::testing::Values(AnimationCase{"StopsOnLastFrame", 4, false, 2, 1, 3, 3, 0},
                      AnimationCase{"RunsBelowTheEnd", 4, false, 3.5, 0.25, 1, 3.75, 0.25},
                      AnimationCase{"StopsOnFirstFrameBackwards", 4, false, 1, -1, 2, 0, 0},
                      AnimationCase{"MoveCountScalesTheStep", 10, true, 0, 0.25, 4, 1, 0.25},
                      AnimationCase{"LoopWraps", 4, true, 3, 0.5, 3, 0.5, 0.5},
                      AnimationCase{"LoopWrapsManyTimes", 4, true, 1, 9, 1, 2, 9},
                      AnimationCase{"LoopWrapsBackwards", 4, true, 0.5, -1, 1, 3.5, -1},
                      AnimationCase{"LoopWithNoFramesStaysAtZero", 0, true, 2, 1, 1, 0, 1},
                      AnimationCase{"NoFramesNotLooped", 0, false, 0, 1, 1, 0, 0}),
    [](const auto& c) { return std::string(c.param.name); });

class ImageSpriteDraw : public ::testing::Test {
 protected:
  ImageSpriteDraw() : surface(40, 30, kUntouched), picture(4, 3, 2) {
    root.SetSurface(surface.View());
  }
  Surface surface;
  CodedPicture picture;
  TSpriteEngine root;
};

TEST_F(ImageSpriteDraw, SettingThePictureSetsTheSize) {
  TImageSprite& s = root.Add<TImageSprite>(&picture);
  EXPECT_EQ(s.Width, 4);
  EXPECT_EQ(s.Height, 3);
}

TEST_F(ImageSpriteDraw, DrawsTheCurrentFrameAtTheTruncatedPosition) {
  TImageSprite& s = root.Add<TImageSprite>(&picture);
  s.X = 5.9;
  s.Y = 2.2;
  s.FramePos = 0.75;
  s.FirstFrame = 1;
  root.Draw();
  EXPECT_EQ(surface.At(5, 2), Code(1, 0, 0));
  EXPECT_EQ(surface.At(8, 4), Code(1, 3, 2));
  EXPECT_EQ(surface.At(9, 4), kUntouched);
  EXPECT_EQ(surface.At(4, 2), kUntouched);
}

struct CentreCase {
  int width, height, dx, dy;
};

class Centring : public ImageSpriteDraw, public ::testing::WithParamInterface<CentreCase> {};

TEST_P(Centring, CentresTheFrameInTheSpritesBox) {
  TImageSprite& s = root.Add<TImageSprite>(&picture);
  s.X = 10;
  s.Y = 10;
  s.Width = GetParam().width;
  s.Height = GetParam().height;
  root.Draw();
  EXPECT_EQ(surface.At(10 + GetParam().dx, 10 + GetParam().dy), Code(0, 0, 0));
}

// Halves are truncated toward zero: (7 - 4) / 2 = 1 and (1 - 4) / 2 = -1.
INSTANTIATE_TEST_SUITE_P(Boxes, Centring,
                         ::testing::Values(CentreCase{8, 7, 2, 2}, CentreCase{7, 3, 1, 0},
                                           CentreCase{1, 2, -1, 0}, CentreCase{4, 1, 0, -1}));

TEST_F(ImageSpriteDraw, AbsentFramesAndNoPictureDrawNothing) {
  TImageSprite& s = root.Add<TImageSprite>(&picture);
  for (int first : {2, -1}) {
    s.FirstFrame = first;
    root.Draw();
  }
  root.Add<TImageSprite>().Width = 10;  // no picture
  root.Draw();
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) ASSERT_EQ(surface.At(x, y), kUntouched);
}

}  // namespace
}  // namespace trakvolt::testing

// Caption sprites: which image list, centred placement and the single play of their frames.
#include "screens/caption_sprite.h"

#include <gtest/gtest.h>

#include "sprites/sprite_engine.h"
#include "sprites/test_pictures.h"

using namespace trakvolt;
using trakvolt::testing::CodedPicture;
using trakvolt::testing::PictureShelf;

namespace {

class CaptionTest : public ::testing::Test {
 protected:
  CaptionTest() {
    menu.Put("Title", menu_title);
    race.Put("Title", race_title);
  }
  TCaptionSprite& Make(int game_state) {
    return engine.Add<TCaptionSprite>(menu, race, game_state, "Title", 30);
  }

  CodedPicture menu_title{101, 40, 1};
  CodedPicture race_title{64, 31, 4};
  PictureShelf menu, race;
  TSpriteEngine engine;
};

}  // namespace

TEST_F(CaptionTest, TheRaceAndItsSetUpTakeTheRaceList) {
  for (const int state : {1, 10}) EXPECT_EQ(Make(state).Image(), &race_title) << state;
  for (const int state : {0, 2, 3, 4, 7, 8, 71})
    EXPECT_EQ(Make(state).Image(), &menu_title) << state;
}

TEST_F(CaptionTest, CentredToTheHalfPixel) {
  const TCaptionSprite& odd = Make(0);
  EXPECT_EQ(odd.Width, 101);
  EXPECT_DOUBLE_EQ(odd.X, 349.5);
  EXPECT_DOUBLE_EQ(odd.Y, 280.0);
  EXPECT_EQ(odd.Z(), 3);
  const TCaptionSprite& race_caption = Make(1);
  EXPECT_DOUBLE_EQ(race_caption.X, 368.0);
  EXPECT_DOUBLE_EQ(race_caption.Y, 284.5);
}

TEST_F(CaptionTest, PlaysItsFramesOnceAtThreePerSecond) {
  TCaptionSprite& banner = Make(1);
  EXPECT_EQ(banner.FrameCount, 4);
  EXPECT_FALSE(banner.FrameLooped);
  EXPECT_DOUBLE_EQ(banner.FrameSpeed, 0.09);
  banner.Move(12);  // 12 ticks of 30 ms: 1.08 frames
  EXPECT_EQ(banner.CurrentFrame(), 1);
  banner.Move(1000);
  EXPECT_EQ(banner.CurrentFrame(), 3);  // stays on the last frame
  banner.Move(1000);
  EXPECT_EQ(banner.CurrentFrame(), 3);
}

TEST_F(CaptionTest, MissingNameMakesNoSprite) {
  EXPECT_THROW(engine.Add<TCaptionSprite>(menu, race, 0, "Nope", 30), GameError);
  EXPECT_EQ(engine.Count(), 0);
}

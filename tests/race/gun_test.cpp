// The player's gun: the target it picks, three hits to destroy, points, and wrecks that do not
// pay.
#include "race_fixture.h"

namespace trakvolt::testing_support {
namespace {

class GunTest : public RaceWorldTest {
 protected:
  GunTest() {
    PutCarInLane(3);
    race.GunActive = true;
    car->StartBonus();
  }
  double AimX() const { return car->X + car->Width / 2.0; }
};

TEST_F(GunTest, DestroysTheTargetOnTheThirdFrameAndReleasingFireKeepsItsHits) {
  TWallSprite& wall = Place(kind::Wall05, 3, 100);
  Hold(vk::Space);
  Frame();
  EXPECT_EQ(wall.Hits, 1);
  EXPECT_TRUE(Played("Shot"));
  EXPECT_TRUE(car->BonusFlame->Visible);
  EXPECT_TRUE(race.MicroExplosion->Visible);
  EXPECT_EQ(race.MicroExplosion->X, AimX());
  EXPECT_EQ(race.MicroExplosion->Y, wall.Y);
  Frame();
  EXPECT_EQ(wall.Hits, 2);

  Release(vk::Space);
  Frames(5);
  EXPECT_EQ(wall.Hits, 2);
  EXPECT_FALSE(car->BonusFlame->Visible);
  EXPECT_FALSE(race.MicroExplosion->Visible);

  form.FormKeyDown(vk::Ctrl, {});  // Ctrl fires too
  Frame();
  EXPECT_TRUE(wall.ShotDown);
  EXPECT_EQ(race.Score, 10);
  EXPECT_TRUE(Played("WallExplosion"));
  EXPECT_EQ(wall.Image(), &form.MImageList3.Find("ExplosionSmall"));
  EXPECT_DOUBLE_EQ(wall.FrameSpeed, 0.3);
  // Burning, it is no target any more and is swept when its explosion has played.
  Frames(3);
  EXPECT_EQ(wall.Hits, 3);
  Frames(30);
  EXPECT_EQ(UsedSlots(), 0);
}

TEST_F(GunTest, PicksTheNearestShootableObjectAheadOnTheAimLine) {
  Place(kind::Spike10, 3, 300);  // gun-proof, nearest
  Place(kind::Wall05, 3, 600);   // behind the car
  Place(kind::Wall10, 2, 350);   // off the aim line
  TWallSprite& burning = Place(kind::Wall05, 3, 280);
  burning.BlowUp();
  TWallSprite& far = Place(kind::Wall05, 3, 50);
  TWallSprite& near = Place(kind::FirstCar, 3, 200);
  near.OwnSpeed = 0;
  EXPECT_EQ(GunTarget(world), &near);
  // Equal distance: the higher slot.
  TWallSprite& twin = Place(kind::Bonus10, 3, 200);
  twin.X = AimX() - 1;
  EXPECT_EQ(GunTarget(world), &twin);
  near.Y = 201;
  EXPECT_EQ(GunTarget(world), &near);
  (void)far;

  Hold(vk::Space);
  Frames(3);
  EXPECT_TRUE(near.ShotDown);
  EXPECT_EQ(race.Score, 20);  // a traffic car
}

TEST_F(GunTest, ABonusShotDownGivesNothing) {
  TWallSprite& coin = Place(kind::Bonus100, 3, 100);
  Hold(vk::Space);
  Frames(3);
  EXPECT_TRUE(coin.ShotDown);
  EXPECT_EQ(race.Score, 0);
}

TEST_F(GunTest, WrecksLeftByTheCarAreNoTargets) {
  // Stopped against a wall, or a traffic car hit slowly from behind: firing at the wreck that
  // is left ahead of the car must not pay.
  struct Case {
    int kind;
    double speed, own_speed;
  } cases[] = {{kind::Wall10, 5, 0}, {kind::FirstCar, 90.0 / 14, -80.0 / 14}};
  for (const Case& c : cases) {
    RemoveAllObjects(world);
    Release(vk::Space);
    race.RoadSpeed = c.speed;
    TWallSprite& o = PlaceOnCar(c.kind);
    o.Y = car->Y - o.Height + 2;  // its explosion stays ahead of the car
    o.OwnSpeed = c.own_speed;
    Frame();
    ASSERT_FALSE(o.CanCollide) << c.kind;
    ASSERT_EQ(race.Lives, 3) << c.kind;
    Hold(vk::Space);
    Frames(5);
    EXPECT_EQ(o.Hits, 0) << c.kind;
    EXPECT_FALSE(o.ShotDown) << c.kind;
    EXPECT_EQ(race.Score, 0) << c.kind;
    EXPECT_FALSE(race.MicroExplosion->Visible) << c.kind;
  }
}

// The gun rides on the roof, centred across the car, and its flash sits just ahead of it,
// one level above the car, wherever the car steers.
TEST_F(GunTest, TheGunAndItsFlashRideOnTheCar) {
  struct Case {
    int lane, key, car_z;
  } cases[] = {{2, vk::Right, 4}, {4, vk::Left, 3}, {3, vk::Left, 4}};
  for (const Case& c : cases) {
    PutCarInLane(c.lane);
    car->SetZ(c.car_z);
    race.RoadSpeed = 10;
    Hold(c.key);
    Hold(vk::Space);
    const double x0 = car->X;
    Frame();
    Release(c.key);
    ASSERT_NE(car->X, x0) << c.lane;
    const TCaptionSprite& gun = *car->BonusIcon;
    const TCaptionSprite& flash = *car->BonusFlame;
    EXPECT_TRUE(flash.Visible);
    EXPECT_EQ(gun.X, car->X + (car->Width - gun.Width) / 2.0) << c.lane;
    EXPECT_EQ(gun.Y, car->Y + 0.3 * car->Height) << c.lane;
    EXPECT_EQ(flash.X, gun.X - 5) << c.lane;
    EXPECT_EQ(flash.Y, gun.Y - flash.Height) << c.lane;
    EXPECT_EQ(gun.Z(), c.car_z + 1) << c.lane;
    EXPECT_EQ(flash.Z(), c.car_z + 1) << c.lane;
  }
}

TEST_F(GunTest, WithoutTheGunNothingFiresAndTheShotSoundStops) {
  TWallSprite& wall = Place(kind::Wall05, 3, 100);
  race.MicroExplosion->Visible = true;
  car->EndBonus();
  Hold(vk::Space);
  Frame();
  EXPECT_EQ(wall.Hits, 0);
  EXPECT_FALSE(race.MicroExplosion->Visible);
  EXPECT_FALSE(Played("Shot"));
}

}  // namespace
}  // namespace trakvolt::testing_support

// TWallSprite: a track object (wall, hazard, bonus, sign, traffic car or the finish line).
#pragma once

#include "race/object_kinds.h"
#include "race/race_world.h"
#include "sprites/image_sprite.h"

namespace trakvolt {

class TMyCarSprite;

// Placed above the screen by the spawn, scrolls down with the road (traffic adds its own
// speed) and reacts once when the player's car drives deep into it.
class TWallSprite : public TImageSprite {
 public:
  // The factory: a random lane, the kind's picture, position, speed, depth and animation, and
  // whether the place is free (Placed). It does not take the slot: the spawn does that when
  // Placed is true, and frees the object otherwise.
  TWallSprite(ParentLink parent, TRaceWorld& world, int slot, int kind);
  // Frees the slot the object stands in.
  ~TWallSprite() override;

  // The animation step, the collision query against the car (with this object's position of
  // the previous frame), then the scroll: once per frame, whatever the move count.
  void DoMove(int move_count) override;
  // The reaction to the car, once, when the car overlaps the object deeply enough.
  void DoCollision(TSprite& other, bool& done) override;

  // The gun's third hit: the object burns and no longer reacts.
  void BlowUp();

  int Slot;
  bool Collected = false;  // picked up: removed at the next sweep
  int Hits = 0;            // gun hits taken
  bool ShotDown = false;   // destroyed by the gun, burning
  int Kind;
  bool GunProof;
  int Lane = 2;
  bool Placed = false;
  bool Moving = false;  // a traffic car
  double OwnSpeed = 0;  // added to the scroll; negative for cars driving the player's way

 private:
  // Explodes in `image_name` at 20 frames per second, played once; the car's crash is decided
  // by the caller.
  void Explode(const char* image_name);
  void React(TMyCarSprite& car);
  void ReactWater(TMyCarSprite& car);
  void ReactSlowDown(TMyCarSprite& car, double by, const char* sound);
  void ReactBonus(TMyCarSprite& car);

  TRaceWorld& world_;
};

}  // namespace trakvolt

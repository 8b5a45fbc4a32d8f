// TImageSprite: a sprite that shows one frame of a picture and steps through its animation.
#pragma once

#include "base/image.h"
#include "sprites/sprite.h"

namespace trakvolt {

class TImageSprite : public TSprite {
 public:
  explicit TImageSprite(ParentLink parent, const TImage* image = nullptr);

  const TImage* Image() const { return image_; }
  // Sets the picture; with a picture, Width and Height become its frame size.
  void SetImage(const TImage* image);
  // trunc(FramePos) + FirstFrame.
  int CurrentFrame() const;

  // The animation step: advances FramePos by FrameSpeed per move, wrapping when looped and
  // stopping on the last frame otherwise.
  void DoMove(int move_count) override;
  // The current frame, centred in the Width x Height box; an absent frame draws nothing.
  void DoDraw() override;
  Rect GetBoundsRect() const override;
  bool TestCollision(const TSprite& other) const override;

  int FrameCount = 0;
  bool FrameLooped = false;
  double FramePos = 0;
  double FrameSpeed = 0;  // frames per move step
  int FirstFrame = 0;

 private:
  const TImage* image_ = nullptr;
};

}  // namespace trakvolt

// Image sprites: frame animation and drawing of the current frame.
#include "sprites/image_sprite.h"

#include <cmath>
#include <limits>

#include "sprites/sprite_engine.h"

namespace trakvolt {

TImageSprite::TImageSprite(ParentLink parent, const TImage* image) : TSprite(parent) {
  SetImage(image);
}

void TImageSprite::SetImage(const TImage* image) {
  image_ = image;
  if (image_ != nullptr) {
    Width = image_->FrameWidth();
    Height = image_->FrameHeight();
  }
}

int TImageSprite::CurrentFrame() const {
  const long long frame = static_cast<long long>(TruncToInt(FramePos)) + FirstFrame;
  // Out of the int range is past any picture's frames: report it as "no frame".
  return frame < 0 || frame > std::numeric_limits<int>::max() ? -1 : static_cast<int>(frame);
}

void TImageSprite::DoMove(int move_count) {
  FramePos += FrameSpeed * move_count;
  if (FrameLooped) {
    if (FrameCount > 0) {
      FramePos -= std::trunc(FramePos / FrameCount) * FrameCount;
      if (FramePos < 0) FramePos += FrameCount;
    } else {
      FramePos = 0;
    }
  } else {
    if (FramePos >= FrameCount) {
      FramePos = FrameCount - 1;
      FrameSpeed = 0;
    }
    if (FramePos < 0) {
      FramePos = 0;
      FrameSpeed = 0;
    }
  }
}

void TImageSprite::DoDraw() {
  if (image_ == nullptr) return;
  const int frame = CurrentFrame();
  if (frame < 0 || frame >= image_->FrameCount()) return;
  const Rect r = GetBoundsRect();
  const int x = r.left + (Width - image_->FrameWidth()) / 2;
  const int y = r.top + (Height - image_->FrameHeight()) / 2;
  image_->Draw(Engine()->Surface(), x, y, frame);
}

Rect TImageSprite::GetBoundsRect() const { return BoundsRect(); }

bool TImageSprite::TestCollision(const TSprite&) const { return true; }

}  // namespace trakvolt

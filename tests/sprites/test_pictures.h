// Small in-memory pictures for the sprite tests: every pixel tells which frame and which pixel
// of it was drawn there.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "base/game_error.h"
#include "base/image.h"
#include "base/surface.h"

namespace trakvolt::testing {

// The value a CodedPicture writes for pixel (px, py) of `frame`; frames up to 14 and frames
// up to 64 x 64 give distinct values.
constexpr Pixel565 Code(int frame, int px, int py) {
  return static_cast<Pixel565>(frame * 4096 + py * 64 + px);
}
// Never written by a CodedPicture: marks pixels nothing was drawn on.
constexpr Pixel565 kUntouched = 0xFFFF;

// `frames` frames of w x h pixels, each pixel coded with Code().
class CodedPicture : public TImage {
 public:
  CodedPicture(int w, int h, int frames) : w_(w), h_(h), frames_(frames), pixels_(w, h * frames) {
    for (int f = 0; f < frames; ++f)
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels_.At(x, f * h + y) = Code(f, x, y);
  }
  int FrameWidth() const override { return w_; }
  int FrameHeight() const override { return h_; }
  int FrameCount() const override { return frames_; }
  void Draw(const SurfaceView& dst, int x, int y, int frame) const override {
    ++draws;
    if (frame < 0 || frame >= frames_) return;
    Blit(dst, x, y, pixels_.ConstView(), Rect{0, frame * h_, w_, (frame + 1) * h_});
  }

  mutable int draws = 0;  // calls, including those that drew nothing

 private:
  int w_, h_, frames_;
  Surface pixels_;
};

// Pictures by name, failing like the game's image lists.
class PictureShelf : public TImageSource {
 public:
  void Put(const std::string& name, const TImage& image) { images_[name] = &image; }
  const TImage& Find(std::string_view name) const override {
    const auto it = images_.find(std::string(name));
    if (it == images_.end())
      throw GameError(Format("Image '%.*s' not found", static_cast<int>(name.size()), name.data()));
    return *it->second;
  }

 private:
  std::map<std::string, const TImage*> images_;
};

}  // namespace trakvolt::testing

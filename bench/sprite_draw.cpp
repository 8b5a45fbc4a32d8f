// Sprite engine cost per frame: ~200 animated image sprites over the endless background on the
// 800 x 600 back surface, and the collision queries the track objects run every frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "archive/image_list.h"
#include "base/png_file.h"
#include "base/surface.h"
#include "sprites/image_sprite.h"
#include "sprites/scroll_background.h"
#include "sprites/sprite_engine.h"

namespace trakvolt {
namespace {

constexpr int kSprites = 200;
constexpr int kGroups = 10;  // parents with children, as the car with its overlays
constexpr int kChildrenPerGroup = 4;
constexpr int kTesters = 30;  // track objects running a query each frame

// Small deterministic generator so that every run draws the same scene.
struct Lcg {
  std::uint32_t state;
  int Next(int below) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(below));
  }
};

RgbImage MakeTile(int size) {
  RgbImage tile = MakeRgbImage(size, size, 40, 40, 40);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      std::uint8_t* p = tile.At(x, y);
      p[0] = static_cast<std::uint8_t>(60 + (x * 3) % 64);
      p[1] = static_cast<std::uint8_t>(90 + (y * 2) % 64);
      p[2] = static_cast<std::uint8_t>(((x / 8 + y / 8) % 2) * 80 + 40);
    }
  return tile;
}

// `frames` 48 x 48 frames side by side: a coloured disc on the black key colour, its size
// changing from frame to frame.
RgbImage MakeDiscStrip(int frames, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  constexpr int kSize = 48;
  RgbImage strip = MakeRgbImage(kSize * frames, kSize);
  for (int f = 0; f < frames; ++f) {
    const int radius = 14 + 3 * f;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const int dx = x - kSize / 2, dy = y - kSize / 2;
        if (dx * dx + dy * dy > radius * radius) continue;
        std::uint8_t* p = strip.At(f * kSize + x, y);
        p[0] = r;
        p[1] = static_cast<std::uint8_t>(std::clamp(g + 2 * (dx + dy), 0, 255));
        p[2] = b;
      }
  }
  return strip;
}

class SpriteScene {
 public:
  explicit SpriteScene(int tile_size) : back_(800, 600) {
    AddPicture("Ground", MakeTile(tile_size), 0, false);
    AddPicture("Red", MakeDiscStrip(4, 220, 40, 40), 48, true);
    AddPicture("Green", MakeDiscStrip(4, 40, 160, 60), 48, true);
    AddPicture("Blue", MakeDiscStrip(4, 40, 60, 220), 48, true);
    images_.Initialize();
    root_.SetSurface(back_.View());

    root_.Add<TScrollBackground>(images_, "Ground", road_speed_);
    const char* names[] = {"Red", "Green", "Blue"};
    Lcg rnd{12345};
    auto place = [&](TSprite& parent, double x, double y) -> TImageSprite& {
      auto& s = parent.Add<TImageSprite>(&images_.Find(names[rnd.Next(3)]));
      s.X = x;
      s.Y = y;
      s.SetZ(2 + rnd.Next(8));
      s.FrameCount = 4;
      s.FrameLooped = true;
      s.FrameSpeed = 0.05 + 0.01 * rnd.Next(10);
      return s;
    };
    for (int g = 0; g < kGroups; ++g) {
      TImageSprite& parent = place(root_, rnd.Next(800) - 24, rnd.Next(600) - 24);
      for (int c = 0; c < kChildrenPerGroup; ++c)
        place(parent, rnd.Next(96) - 48, rnd.Next(96) - 48);
    }
    // The rest top-level, some of them partly or wholly off the surface.
    for (int i = kGroups * (1 + kChildrenPerGroup); i < kSprites; ++i) {
      TImageSprite& s = place(root_, rnd.Next(900) - 50, rnd.Next(700) - 50);
      if (static_cast<int>(testers_.size()) < kTesters) testers_.push_back(&s);
    }
  }

  void Frame() {
    Fill(back_.View(), 0);
    root_.Move(1);
    root_.Draw();
  }

  int Queries() {
    int hits = 0;
    for (TSprite* s : testers_) hits += s->Collision();
    return hits;
  }

  const Surface& Back() const { return back_; }

 private:
  void AddPicture(const std::string& name, const RgbImage& picture, int pattern, bool keyed) {
    TImageCollectionItem& item = images_.Items.Add();
    item.SetName(name);
    item.SetPicture(picture);
    item.SetPatternWidth(pattern);
    item.SetPatternHeight(pattern);
    item.SetTransparent(keyed);
  }

  Surface back_;
  TImageList images_;
  double road_speed_ = 3;
  std::vector<TSprite*> testers_;
  TSpriteEngine root_;  // last: freed first, while the pictures still exist
};

void BM_SpriteFrame(benchmark::State& state) {
  SpriteScene scene(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    scene.Frame();
    benchmark::DoNotOptimize(scene.Back().Pixels());
  }
  // Set TRAKVOLT_SPRITE_PNG to a file name to look at the last frame.
  if (const char* png = std::getenv("TRAKVOLT_SPRITE_PNG"))
    WritePng(std::string(png) + "_" + std::to_string(state.range(0)) + ".png", scene.Back());
}
BENCHMARK(BM_SpriteFrame)->Arg(64)->Arg(256)->Unit(benchmark::kMicrosecond);

void BM_SpriteCollisions(benchmark::State& state) {
  SpriteScene scene(64);
  int hits = 0;
  for (auto _ : state) hits += scene.Queries();
  benchmark::DoNotOptimize(hits);
  state.counters["queries"] = kTesters;
}
BENCHMARK(BM_SpriteCollisions)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace trakvolt

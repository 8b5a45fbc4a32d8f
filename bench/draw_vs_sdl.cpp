// Our drawing against SDL's, in one process on the same pictures, so that every figure is a
// ratio from one run: the game's keyed pictures against SDL_BlitSurface with a colour key and
// RLE; the fill against memset and SDL_FillRect; a whole frame of game pictures (background,
// panels and 30 or 200 sprites) and the live race frame against SDL replays of the same draws.
// Counters: *_us the median time of one iteration, and `sdl/ours` above 1 where ours is
// faster.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/image_list.h"
#include "live_race.h"
#include "sprites/image_sprite.h"
#include "sprites/scroll_background.h"
#include "sprites/sprite_engine.h"

namespace trakvolt {
namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct SdlSurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SdlSurfaceFree>;

SdlSurface NewSdlSurface(int w, int h) {
  return SdlSurface(SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565));
}

// An item's picture as an SDL surface: the same pixels, with the colour key and RLE when the
// item is transparent.
SdlSurface SdlCopy(const TImageCollectionItem& item) {
  const Surface& p = item.Picture();
  SdlSurface s = NewSdlSurface(p.Width(), p.Height());
  for (int y = 0; y < p.Height(); ++y)
    std::memcpy(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch,
                p.Pixels() + static_cast<std::size_t>(y) * p.Width(),
                static_cast<std::size_t>(p.Width()) * sizeof(Pixel565));
  if (item.Transparent()) {
    SDL_SetColorKey(s.get(), SDL_TRUE, item.KeyColor());
    SDL_SetSurfaceRLE(s.get(), 1);
  }
  return s;
}

// SDL copies of pictures, made on first use.
class SdlPictures {
 public:
  SDL_Surface* Of(const TImageCollectionItem& item) {
    SdlSurface& s = copies_[&item];
    if (!s) s = SdlCopy(item);
    return s.get();
  }
  void Draw(SDL_Surface* target, const TImageCollectionItem& item, int x, int y, int frame) {
    const Rect r = item.PatternRect(frame);
    if (r.Empty()) return;
    SDL_Rect src{r.left, r.top, r.Width(), r.Height()}, dst{x, y, 0, 0};
    SDL_BlitSurface(Of(item), &src, target, &dst);
  }

 private:
  std::map<const TImageCollectionItem*, SdlSurface> copies_;
};

// The game's two picture lists, loaded once from the built Data/.
struct GamePictures {
  TImageList menu, race;
  GamePictures() {
    std::filesystem::current_path(TRAKVOLT_BUILD_DIR);
    menu.LoadArchive("Data/Res/Res1.dxg");
    race.LoadArchive("Data/Res/Res3.dxg");
    menu.Initialize();
    race.Initialize();
  }
  TImageCollectionItem& Find(std::string_view name) {
    for (TImageList* list : {&race, &menu})
      for (int i = 0; i < list->Items.Count(); ++i)
        if (list->Items[i].Name() == name) return list->Items[i];
    return race.FindItem(name);  // raises "Image '%s' not found"
  }
};
GamePictures& Pictures() {
  static GamePictures pictures;
  return pictures;
}

// Per-iteration times, reported as their median: a neighbour taking the core for a moment
// moves a mean but not the median.
class Timings {
 public:
  void Add(Clock::duration d) { times_.push_back(Seconds(d)); }
  double MedianSeconds() {
    if (times_.empty()) return 0;
    std::nth_element(times_.begin(), times_.begin() + times_.size() / 2, times_.end());
    return times_[times_.size() / 2];
  }

 private:
  std::vector<double> times_;
};

// Times `ours` and `sdl` in turn every iteration, so that both see the same machine.
template <typename Ours, typename Sdl>
void Compare(benchmark::State& state, Ours&& ours, Sdl&& sdl) {
  // Once untimed: SDL encodes its RLE at the first blit, ours finds its runs at the first draw.
  ours();
  sdl();
  Timings t_ours, t_sdl;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    ours();
    const auto t1 = Clock::now();
    sdl();
    const auto t2 = Clock::now();
    t_ours.Add(t1 - t0);
    t_sdl.Add(t2 - t1);
  }
  const double ours_s = t_ours.MedianSeconds(), sdl_s = t_sdl.MedianSeconds();
  state.counters["ours_us"] = ours_s * 1e6;
  state.counters["sdl_us"] = sdl_s * 1e6;
  state.counters["sdl/ours"] = sdl_s / ours_s;
}

// Every pattern of a picture at 12 places wholly on the 800 x 600 surface.
struct KeyedDraws {
  TImageCollectionItem& item;
  Surface back{800, 600};
  SdlSurface sdl_back = NewSdlSurface(800, 600);
  SdlPictures sdl;
  std::vector<std::pair<int, int>> places;
  explicit KeyedDraws(TImageCollectionItem& i) : item(i) {
    const int w = item.FrameWidth(), h = item.FrameHeight();
    for (int k = 0; k < 12; ++k)
      places.emplace_back((k % 4) * std::max(0, 800 - w) / 3, (k / 4) * std::max(0, 600 - h) / 2);
  }
  void Ours() {
    for (int f = 0; f < item.FrameCount(); ++f)
      for (const auto& [x, y] : places) item.Draw(back.View(), x, y, f);
  }
  void Sdl() {
    for (int f = 0; f < item.FrameCount(); ++f)
      for (const auto& [x, y] : places) sdl.Draw(sdl_back.get(), item, x, y, f);
  }
  double Pixels() const {
    return 12.0 * item.FrameCount() * item.FrameWidth() * item.FrameHeight();
  }
};

// Cars, traffic, water, explosions, the flame, pick-ups, the menu panels and buttons, and the
// keyed full-screen help page.
constexpr const char* kKeyedPictures[] = {
    "Car1",         "Car5",           "Car10",          "Water10",   "Water05",
    "ExplosionBig", "ExplosionSmall", "ExplosionMicro", "TurboFire", "Bonus50",
    "Rabbit",       "Wall10",         "SignLeftBlue",   "UpPanel",   "MainMenuButtons_Active",
    "Help1"};

void BM_Keyed(benchmark::State& state, const char* name) {
  KeyedDraws d(Pictures().Find(name));
  Compare(
      state, [&] { d.Ours(); }, [&] { d.Sdl(); });
  state.counters["ours_Gpx/s"] = d.Pixels() / (state.counters["ours_us"] * 1e3);
  state.counters["sdl_Gpx/s"] = d.Pixels() / (state.counters["sdl_us"] * 1e3);
  state.counters["keyed"] = d.item.Transparent() ? 1 : 0;
}
BENCHMARK_CAPTURE(BM_Keyed, Car1, "Car1");
BENCHMARK_CAPTURE(BM_Keyed, Car5, "Car5");
BENCHMARK_CAPTURE(BM_Keyed, Car10, "Car10");
BENCHMARK_CAPTURE(BM_Keyed, Water10, "Water10");
BENCHMARK_CAPTURE(BM_Keyed, Water05, "Water05");
BENCHMARK_CAPTURE(BM_Keyed, ExplosionBig, "ExplosionBig");
BENCHMARK_CAPTURE(BM_Keyed, ExplosionSmall, "ExplosionSmall");
BENCHMARK_CAPTURE(BM_Keyed, ExplosionMicro, "ExplosionMicro");
BENCHMARK_CAPTURE(BM_Keyed, TurboFire, "TurboFire");
BENCHMARK_CAPTURE(BM_Keyed, Bonus50, "Bonus50");
BENCHMARK_CAPTURE(BM_Keyed, Rabbit, "Rabbit");
BENCHMARK_CAPTURE(BM_Keyed, Wall10, "Wall10");
BENCHMARK_CAPTURE(BM_Keyed, SignLeftBlue, "SignLeftBlue");
BENCHMARK_CAPTURE(BM_Keyed, UpPanel, "UpPanel");
BENCHMARK_CAPTURE(BM_Keyed, MainMenuButtons_Active, "MainMenuButtons_Active");
BENCHMARK_CAPTURE(BM_Keyed, Help1, "Help1");

// The whole set in one run: the median and the lowest of the per-picture ratios.
void BM_KeyedSet(benchmark::State& state) {
  std::vector<std::unique_ptr<KeyedDraws>> set;
  for (const char* name : kKeyedPictures)
    set.push_back(std::make_unique<KeyedDraws>(Pictures().Find(name)));
  for (const auto& d : set) {  // the first draws, untimed as in Compare
    d->Ours();
    d->Sdl();
  }
  std::vector<Clock::duration> t_ours(set.size()), t_sdl(set.size());
  for (auto _ : state)
    for (std::size_t i = 0; i < set.size(); ++i) {
      const auto t0 = Clock::now();
      set[i]->Ours();
      const auto t1 = Clock::now();
      set[i]->Sdl();
      const auto t2 = Clock::now();
      t_ours[i] += t1 - t0;
      t_sdl[i] += t2 - t1;
    }
  std::vector<double> ratios;
  for (std::size_t i = 0; i < set.size(); ++i)
    ratios.push_back(Seconds(t_sdl[i]) / Seconds(t_ours[i]));
  std::sort(ratios.begin(), ratios.end());
  state.counters["median_sdl/ours"] = ratios[ratios.size() / 2];
  state.counters["lowest_sdl/ours"] = ratios.front();
}
BENCHMARK(BM_KeyedSet)->Unit(benchmark::kMillisecond);

// One colour over the whole 800 x 600 surface: ours, memset of the same bytes, SDL_FillRect.
void BM_Fill(benchmark::State& state) {
  const auto color = static_cast<Pixel565>(state.range(0));
  Surface back(800, 600);
  SdlSurface sdl_back = NewSdlSurface(800, 600);
  Timings t_ours, t_memset, t_sdl;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    Fill(back.View(), color);
    const auto t1 = Clock::now();
    std::memset(back.Pixels(), color & 0xFF, 800 * 600 * sizeof(Pixel565));
    const auto t2 = Clock::now();
    SDL_FillRect(sdl_back.get(), nullptr, color);
    const auto t3 = Clock::now();
    t_ours.Add(t1 - t0);
    t_memset.Add(t2 - t1);
    t_sdl.Add(t3 - t2);
    benchmark::DoNotOptimize(back.Pixels());
  }
  const double ours = t_ours.MedianSeconds(), memset = t_memset.MedianSeconds();
  const double sdl = t_sdl.MedianSeconds();
  state.counters["ours_us"] = ours * 1e6;
  state.counters["memset_us"] = memset * 1e6;
  state.counters["sdl_us"] = sdl * 1e6;
  state.counters["ours/memset"] = ours / memset;
  state.counters["sdl/ours"] = sdl / ours;
}
// Black (both bytes equal) and a colour whose bytes differ.
BENCHMARK(BM_Fill)->Arg(0)->Arg(0x1234)->Unit(benchmark::kMicrosecond);

// What a frame drew, for replaying it through SDL.
struct DrawCall {
  const TImageCollectionItem* item;
  int x, y, frame;
};
struct DrawLog {
  bool on = false;
  std::vector<DrawCall> calls;
};

// A picture that notes its draws in the log while the log is on.
class LoggedImage : public TImage {
 public:
  LoggedImage(const TImageCollectionItem& item, DrawLog& log) : item_(item), log_(log) {}
  int FrameWidth() const override { return item_.FrameWidth(); }
  int FrameHeight() const override { return item_.FrameHeight(); }
  int FrameCount() const override { return item_.FrameCount(); }
  void Draw(const SurfaceView& dst, int x, int y, int frame) const override {
    if (log_.on) log_.calls.push_back(DrawCall{&item_, x, y, frame});
    item_.Draw(dst, x, y, frame);
  }

 private:
  const TImageCollectionItem& item_;
  DrawLog& log_;
};

// Gives every picture sprite under `sprite` a logged picture in place of its own.
class DrawRecorder {
 public:
  void Install(TSprite& sprite) {
    if (auto* s = dynamic_cast<TImageSprite*>(&sprite); s && s->Image()) {
      const int w = s->Width, h = s->Height;  // a sprite may have its own size
      s->SetImage(Logged(s->Image()));
      s->Width = w;
      s->Height = h;
    }
    if (auto* b = dynamic_cast<TBackgroundSprite*>(&sprite); b && b->Image())
      b->SetImage(Logged(b->Image()));
    for (const auto& child : sprite.Children()) Install(*child);
  }
  // Logs what `frame` draws under `root`.
  template <typename Frame>
  void Record(TSprite& root, Frame&& frame) {
    Install(root);
    log.on = true;
    frame();
    log.on = false;
  }
  DrawLog log;

 private:
  const TImage* Logged(const TImage* image) {
    const auto* item = dynamic_cast<const TImageCollectionItem*>(image);
    if (item == nullptr) return image;  // already logged
    return &images_.emplace_back(*item, log);
  }
  std::deque<LoggedImage> images_;
};

// The SDL replay of a logged frame: `fills` clears of the surface, then every draw.
void Replay(SdlPictures& sdl, SDL_Surface* target, const DrawLog& log, int fills) {
  for (int i = 0; i < fills; ++i) SDL_FillRect(target, nullptr, 0);
  for (const DrawCall& c : log.calls) sdl.Draw(target, *c.item, c.x, c.y, c.frame);
}
// The same replay through our own fill and pictures.
void Replay(const SurfaceView& target, const DrawLog& log, int fills) {
  for (int i = 0; i < fills; ++i) Fill(target, 0);
  for (const DrawCall& c : log.calls) c.item->Draw(target, c.x, c.y, c.frame);
}

// Records one `frame` drawn under `root`, then times the frame against the SDL replay of
// `fills` clears and the recorded draws.
template <typename Frame>
void CompareWithReplay(benchmark::State& state, DrawRecorder& recorder, TSprite& root,
                       Frame&& frame, int fills) {
  recorder.Record(root, frame);
  SdlPictures sdl;
  SdlSurface sdl_back = NewSdlSurface(800, 600);
  Compare(state, frame, [&] { Replay(sdl, sdl_back.get(), recorder.log, fills); });
  state.counters["draws"] = static_cast<double>(recorder.log.calls.size());
}

// A frame of game pictures: the road scrolling behind the two side panels, and `sprites`
// cars, objects, explosions and pick-ups spread over the screen.
void BM_WholeFrame(benchmark::State& state) {
  GamePictures& pictures = Pictures();
  DrawRecorder recorder;
  Surface back(800, 600);
  double road_speed = 3;
  TSpriteEngine root;
  root.SetSurface(back.View());
  auto& road = root.Add<TScrollBackground>(pictures.race, "GroundLeft", road_speed);
  road.X = 124;
  const char* panels[][3] = {{"LeftPanel", "0", "0"}, {"RightPanel", "676", "0"}};
  for (const auto& p : panels) {
    auto& s = root.Add<TImageSprite>(&pictures.race.Find(p[0]));
    s.X = std::stoi(p[1]);
    s.SetZ(10);
  }
  const char* kinds[] = {"Car1",   "Car5",    "Car7",         "Car10_Inv",      "Water10",
                         "Wall05", "Spike10", "ExplosionBig", "ExplosionSmall", "Bonus20",
                         "Rabbit", "Stone05", "TurboFire",    "SignRightRed",   "Crack"};
  std::uint32_t seed = 2024;
  const auto next = [&](int below) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(below));
  };
  for (int i = 0; i < state.range(0); ++i) {
    auto& s = root.Add<TImageSprite>(&pictures.race.Find(kinds[i % std::size(kinds)]));
    s.X = 124 + next(552 - s.Width);
    s.Y = next(700) - 50;
    s.SetZ(2 + next(6));
    s.FrameCount = s.Image()->FrameCount();
    s.FramePos = next(std::max(1, s.FrameCount));
  }
  const auto frame = [&] {
    Fill(back.View(), 0);
    root.Draw();
  };
  CompareWithReplay(state, recorder, root, frame, 1);
}
BENCHMARK(BM_WholeFrame)->Arg(30)->Arg(200)->Unit(benchmark::kMicrosecond);

// The live race frame as the game runs it (moving, both scenes, the HUD, the flip) against
// the SDL replay of its fills and picture draws (the HUD's digits and needle are left out of
// the replay, which only makes SDL's side cheaper).
void BM_LiveRaceFrame(benchmark::State& state) {
  DrawRecorder recorder;
  LiveRace race;
  CompareWithReplay(
      state, recorder, race.Form().MSpriteEngine.Engine(), [&] { race.Frame(); }, 2);
}
BENCHMARK(BM_LiveRaceFrame)->Unit(benchmark::kMicrosecond);

// Only the drawing of that frame, both sides replaying the same fills and draws.
void BM_LiveRaceDraws(benchmark::State& state) {
  DrawRecorder recorder;
  LiveRace race;
  recorder.Record(race.Form().MSpriteEngine.Engine(), [&] { race.Frame(); });
  Surface back(800, 600);
  SdlPictures sdl;
  SdlSurface sdl_back = NewSdlSurface(800, 600);
  Compare(
      state, [&] { Replay(back.View(), recorder.log, 2); },
      [&] { Replay(sdl, sdl_back.get(), recorder.log, 2); });
  state.counters["draws"] = static_cast<double>(recorder.log.calls.size());
}
BENCHMARK(BM_LiveRaceDraws)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace trakvolt

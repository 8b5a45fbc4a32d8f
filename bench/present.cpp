// Presenting one frame on this machine: the streaming texture through SDL's renderer against
// the window's own pixels with the game's conversion, in one run (process CPU per frame, so a
// software OpenGL's worker threads count). Needs a display: bench/present.sh runs it under Xvfb.
// Also the conversion alone, 1:1 and letterboxed into a 1920 x 1080 full screen.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/screen_convert.h"
#include "platform/sdl/sdl_platform.h"

namespace {

using trakvolt::Pixel565;
using trakvolt::SurfaceView;
namespace platform = trakvolt::platform;

// Every RGB565 value in turn, so no colour is cheaper than it would be in a game frame.
void FillPattern(const SurfaceView& s) {
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) s.At(x, y) = static_cast<Pixel565>((y * s.width + x) * 7);
}

void Present(benchmark::State& state, const char* path) {
  setenv("TRAKVOLT_PRESENT", path, 1);
  std::unique_ptr<platform::SdlPlatform> machine;
  try {
    machine = std::make_unique<platform::SdlPlatform>();
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  platform::Display& display = machine->GetDisplay();
  display.Initialize();
  FillPattern(display.BackSurface());
  for (auto _ : state) display.Flip();
  display.Finalize();
}
BENCHMARK_CAPTURE(Present, texture, "texture")
    ->MeasureProcessCPUTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Present, window_surface, "surface")
    ->MeasureProcessCPUTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

void Convert(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  trakvolt::Surface picture(platform::kScreenWidth, platform::kScreenHeight);
  FillPattern(picture.View());
  std::vector<std::uint32_t> window(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  const platform::WindowPixels out{window.data(), w, w, h};
  for (auto _ : state) {
    platform::PresentInto(picture.ConstView(), out, platform::PixelLayout32{});
    benchmark::DoNotOptimize(window.data());
  }
}
BENCHMARK(Convert)
    ->Args({800, 600})
    ->Args({1920, 1080})
    ->Iterations(500)
    ->Unit(benchmark::kMillisecond);

}  // namespace

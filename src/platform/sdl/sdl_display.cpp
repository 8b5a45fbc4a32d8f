// The SDL display: the path frames take to the screen, the streaming texture, and the window's
// own pixels with the game's conversion.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/screen_convert.h"
#include "platform/sdl/sdl_platform.h"

namespace trakvolt::platform {

namespace {

// Device nodes of graphics cards: Mesa's drivers, NVIDIA's, WSL's, and two common on ARM boards.
bool GpuDevicePresent() {
  std::error_code ec;
  for (const char* node : {"/dev/dri", "/dev/nvidiactl", "/dev/dxg", "/dev/mali0", "/dev/galcore"})
    if (std::filesystem::exists(node, ec)) return true;
  return false;
}

// What graphics this machine has. OpenGL is asked (only when there is a graphics card) through
// a small hidden window of its own, so the game's window is left as the chosen path needs it.
GraphicsReport ProbeGraphics() {
  GraphicsReport report;
  report.gpu_device = GpuDevicePresent();
  if (!report.gpu_device) return report;
  SdlPtr<SDL_Window> probe(SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN));
  if (!probe) return report;
  SDL_GLContext context = SDL_GL_CreateContext(probe.get());
  if (!context) return report;
  report.gl_context = true;
  using GetString = const unsigned char* (*)(unsigned int);
  constexpr unsigned int kGlRenderer = 0x1F01;
  if (auto get = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString")))
    if (const unsigned char* name = get(kGlRenderer))
      report.gl_renderer = reinterpret_cast<const char*>(name);
  SDL_GL_DeleteContext(context);
  return report;
}

}  // namespace

SdlDisplay::SdlDisplay(SdlPlatform& owner) : owner_(owner) {
  const char* exit_after = SDL_getenv("TRAKVOLT_EXIT_AFTER_FIRST_FRAME");
  exit_after_first_frame_ = exit_after && *exit_after && std::string(exit_after) != "0";
}

void SdlDisplay::Initialize() {
  if (Initialized()) Finalize();
  if (!path_chosen_) {
    const char* setting = SDL_getenv("TRAKVOLT_PRESENT");
    // A path asked for needs no probe (and the window path then never loads OpenGL).
    const auto requested = RequestedPresentPath(setting ? setting : "");
    path_ = requested ? *requested : ChoosePresentPath(ProbeGraphics());
    path_chosen_ = true;
    // The window path uses the window system's own shared-memory picture, never a texture.
    if (path_ == PresentPath::WindowSurface) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  }
  SDL_Window* win = owner_.NativeWindow();
  SDL_SetWindowFullscreen(win, full_screen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  SDL_ShowWindow(win);
  if (path_ == PresentPath::Texture) OpenTexture();
  initialized_ = true;
  if (listener_) listener_->DisplayInitialized();
}

void SdlDisplay::OpenTexture() {
  SDL_Window* win = owner_.NativeWindow();
  renderer_.reset(
      SDL_CreateRenderer(win, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
  if (!renderer_) renderer_.reset(SDL_CreateRenderer(win, -1, SDL_RENDERER_SOFTWARE));
  if (!renderer_) throw SdlFailure("cannot create the renderer");
  // The 800 x 600 picture is scaled and letterboxed in full screen; SDL maps mouse positions
  // back to the same 800 x 600 space.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  SDL_RenderSetLogicalSize(renderer_.get(), kScreenWidth, kScreenHeight);
  texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB565,
                                   SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight));
  if (!texture_) {
    renderer_.reset();
    throw SdlFailure("cannot create the screen texture");
  }
}

void SdlDisplay::Finalize() {
  if (!Initialized()) return;
  if (listener_) listener_->DisplayFinalizing();
  texture_.reset();
  renderer_.reset();
  back_wrapper_.reset();
  initialized_ = false;
}

SurfaceView SdlDisplay::BackSurface() { return Initialized() ? back_.View() : SurfaceView{}; }

void SdlDisplay::Flip() {
  if (!Initialized()) return;
  if (path_ == PresentPath::Texture)
    PresentTexture();
  else
    PresentWindowSurface();
  if (exit_after_first_frame_) std::_Exit(0);
}

void SdlDisplay::PresentTexture() {
  SDL_UpdateTexture(texture_.get(), nullptr, back_.Pixels(),
                    back_.Width() * static_cast<int>(sizeof(Pixel565)));
  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, nullptr);
  SDL_RenderPresent(renderer_.get());
}

void SdlDisplay::PresentWindowSurface() {
  SDL_Window* win = owner_.NativeWindow();
  SDL_Surface* surface = SDL_GetWindowSurface(win);  // remade by SDL when the size changed
  if (!surface) return;  // e.g. a minimised window on some systems: nothing to show
  const SDL_PixelFormat* f = surface->format;
  const auto layout =
      f->BytesPerPixel == 4 ? LayoutFromMasks(f->Rmask, f->Gmask, f->Bmask) : std::nullopt;
  if (layout) {
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    PresentInto(back_.ConstView(),
                WindowPixels{static_cast<std::uint32_t*>(surface->pixels), surface->pitch / 4,
                             surface->w, surface->h},
                *layout);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  } else {
    // Any other window format: SDL's own conversion, scaled into the same letterbox.
    if (!back_wrapper_)
      back_wrapper_.reset(SDL_CreateRGBSurfaceWithFormatFrom(
          back_.Pixels(), back_.Width(), back_.Height(), 16,
          back_.Width() * static_cast<int>(sizeof(Pixel565)), SDL_PIXELFORMAT_RGB565));
    if (!back_wrapper_) return;
    const Letterbox box = LetterboxIn(surface->w, surface->h, kScreenWidth, kScreenHeight);
    SDL_Rect dst{box.x, box.y, box.w, box.h};
    SDL_FillRect(surface, nullptr, SDL_MapRGB(f, 0, 0, 0));
    if (box.w == kScreenWidth && box.h == kScreenHeight)
      SDL_BlitSurface(back_wrapper_.get(), nullptr, surface, &dst);
    else
      SDL_BlitScaled(back_wrapper_.get(), nullptr, surface, &dst);
  }
  SDL_UpdateWindowSurface(win);
}

PointerSpace SdlDisplay::Pointer() const {
  PointerSpace space;
  if (!initialized_ || path_ != PresentPath::WindowSurface) return space;
  space.letterboxed = true;
  SDL_GetWindowSize(owner_.NativeWindow(), &space.window_w, &space.window_h);
  return space;
}

}  // namespace trakvolt::platform

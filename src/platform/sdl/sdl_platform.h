// The real machine over SDL2: window, display (streaming texture or the window's own pixels),
// keyboard, joystick, audio, message boxes and the desktop's "open".
#pragma once

#include <SDL.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/curl_http_client.h"
#include "platform/platform.h"
#include "platform/present_choice.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_keys.h"

namespace trakvolt::platform {

struct SdlDeleter {
  void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
  void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
  void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
  void operator()(SDL_Cursor* c) const { SDL_FreeCursor(c); }
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
  void operator()(SDL_GameController* c) const { SDL_GameControllerClose(c); }
  void operator()(SDL_Joystick* j) const { SDL_JoystickClose(j); }
};
template <typename T>
using SdlPtr = std::unique_ptr<T, SdlDeleter>;

// A failure with SDL's reason after `what`.
std::runtime_error SdlFailure(const char* what);

class SdlPlatform;

class SdlDisplay final : public Display {
 public:
  explicit SdlDisplay(SdlPlatform& owner);
  void SetListener(DisplayListener* listener) override { listener_ = listener; }
  bool Initialized() const override { return initialized_; }
  void Initialize() override;
  void Finalize() override;
  void SetFullScreenOption(bool full_screen) override { full_screen_ = full_screen; }
  bool FullScreenOption() const override { return full_screen_; }
  SurfaceView BackSurface() override;
  void Flip() override;

  // The path frames take; decided when the display first opens.
  PresentPath Path() const { return path_; }
  // How pointer positions in the window lie over the picture now (the renderer maps its own;
  // the window path maps through its letterbox).
  PointerSpace Pointer() const;

 private:
  void OpenTexture();
  void PresentTexture();
  void PresentWindowSurface();

  SdlPlatform& owner_;
  DisplayListener* listener_ = nullptr;
  bool full_screen_ = false;
  bool initialized_ = false;
  bool path_chosen_ = false;
  PresentPath path_ = PresentPath::Texture;
  // TRAKVOLT_EXIT_AFTER_FIRST_FRAME: end the process right after the first frame is shown,
  // for timing the start-up from outside.
  bool exit_after_first_frame_ = false;
  SdlPtr<SDL_Renderer> renderer_;
  SdlPtr<SDL_Texture> texture_;
  SdlPtr<SDL_Surface> back_wrapper_;  // the back surface as SDL sees it, for unusual window formats
  Surface back_{kScreenWidth, kScreenHeight};
};

class SdlWindow final : public Window {
 public:
  explicit SdlWindow(SdlPlatform& owner) : owner_(owner) {}
  void SetBorder(bool single_border) override;
  void Center() override;
  WindowPlacement Placement() const override;
  void SetPlacement(const WindowPlacement& p) override;
  int ShowCursor(bool show) override;
  bool IsForeground() const override;

 private:
  SdlPlatform& owner_;
  int cursor_count_ = 0;
};

class SdlInput final : public InputDevices {
 public:
  std::array<std::uint8_t, 256> KeyTable() override;
  JoystickReading Joystick() override;
  // Opens the first joystick or game controller; called again on hot-plug events.
  void Reopen();
  // The held keys' codes, kept by the key events so the table agrees with them.
  HeldKeys& Keys() { return keys_; }

 private:
  HeldKeys keys_;
  SdlPtr<SDL_GameController> controller_;
  SdlPtr<SDL_Joystick> joystick_;
};

class SdlEvents final : public EventLoop {
 public:
  SdlEvents(SdlPlatform& owner, HeldKeys& keys) : owner_(owner), translator_(keys) {}
  bool Poll(Event& out) override;
  void Wait(int timeout_ms) override;
  std::uint32_t NowMs() override { return SDL_GetTicks(); }

 private:
  SdlPlatform& owner_;
  EventTranslator translator_;  // holds the game's events of SDL events already taken
};

class SdlAudio final : public AudioOutput {
 public:
  SdlAudio();
  ~SdlAudio() override;
  bool Available() const override { return device_ != 0; }
  int SampleRate() const override { return rate_; }
  void SetSource(AudioSource* source) override;
  void Lock() override;
  void Unlock() override;

 private:
  static void Callback(void* self, Uint8* stream, int len);
  SDL_AudioDeviceID device_ = 0;
  int rate_ = 44100;
  AudioSource* source_ = nullptr;
};

class SdlDesktop final : public Desktop {
 public:
  explicit SdlDesktop(SdlPlatform& owner) : owner_(owner) {}
  void MessageBox(const std::string& caption, const std::string& text, BoxKind kind) override;
  bool OpenDocument(const std::string& target) override;
  bool Launch(const std::string& program, const std::string& parameters) override;
  bool FileExists(const std::string& path) override;

 private:
  SdlPlatform& owner_;
};

class SdlPlatform final : public Platform {
 public:
  // Throws std::runtime_error with SDL's reason when there is no display to open a window on.
  SdlPlatform();
  ~SdlPlatform() override;

  Display& GetDisplay() override { return display_; }
  Window& GetWindow() override { return window_; }
  InputDevices& GetInput() override { return input_; }
  EventLoop& GetEvents() override { return events_; }
  AudioOutput& GetAudio() override { return *audio_; }
  Desktop& GetDesktop() override { return desktop_; }
  HttpClient& GetHttp() override { return http_; }

  SDL_Window* NativeWindow() const { return sdl_window_.get(); }
  const SdlDisplay& Screen() const { return display_; }
  SdlInput& Input() { return input_; }

 private:
  SdlPtr<SDL_Window> sdl_window_;
  SdlPtr<SDL_Cursor> hand_cursor_;
  SdlDisplay display_{*this};
  SdlWindow window_{*this};
  SdlInput input_;
  SdlEvents events_{*this, input_.Keys()};
  std::unique_ptr<SdlAudio> audio_;
  SdlDesktop desktop_{*this};
  CurlHttpClient http_;
};

}  // namespace trakvolt::platform

// SDL2 implementation of the machine: window, events, input devices, audio and desktop.
#include "platform/sdl/sdl_platform.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <stdexcept>

extern char** environ;

namespace trakvolt::platform {

std::runtime_error SdlFailure(const char* what) {
  return std::runtime_error(std::string(what) + ": " + SDL_GetError());
}

// ---- platform ----

SdlPlatform::SdlPlatform() {
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) throw SdlFailure("no display available");
  // Without a display SDL falls back to drivers that show nothing; a player would only see a
  // game that never opens, so say so instead (unless someone asked for them by name).
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  if ((driver == "offscreen" || driver == "dummy") && !(requested && driver == requested)) {
    SDL_Quit();
    throw std::runtime_error("no display available (set DISPLAY or WAYLAND_DISPLAY)");
  }
  // Joysticks and sound are welcome but not required.
  SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  sdl_window_.reset(SDL_CreateWindow("Гонкострель", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                     kScreenWidth, kScreenHeight, SDL_WINDOW_HIDDEN));
  if (!sdl_window_) {
    const auto err = SdlFailure("no display available");
    SDL_Quit();
    throw err;
  }
  hand_cursor_.reset(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND));
  if (hand_cursor_) SDL_SetCursor(hand_cursor_.get());
  SDL_StartTextInput();
  input_.Reopen();
  audio_ = std::make_unique<SdlAudio>();
}

SdlPlatform::~SdlPlatform() {
  audio_.reset();
  display_.Finalize();
  hand_cursor_.reset();
  sdl_window_.reset();
  SDL_Quit();
}

// ---- window ----

void SdlWindow::SetBorder(bool single_border) {
  SDL_SetWindowBordered(owner_.NativeWindow(), single_border ? SDL_TRUE : SDL_FALSE);
}

void SdlWindow::Center() {
  SDL_SetWindowPosition(owner_.NativeWindow(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

WindowPlacement SdlWindow::Placement() const {
  WindowPlacement p;
  SDL_GetWindowPosition(owner_.NativeWindow(), &p.x, &p.y);
  p.maximized = (SDL_GetWindowFlags(owner_.NativeWindow()) & SDL_WINDOW_MAXIMIZED) != 0;
  return p;
}

void SdlWindow::SetPlacement(const WindowPlacement& p) {
  SDL_SetWindowPosition(owner_.NativeWindow(), p.x, p.y);
  if (p.maximized) SDL_MaximizeWindow(owner_.NativeWindow());
}

int SdlWindow::ShowCursor(bool show) {
  cursor_count_ += show ? 1 : -1;
  SDL_ShowCursor(cursor_count_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return cursor_count_;
}

bool SdlWindow::IsForeground() const {
  return (SDL_GetWindowFlags(owner_.NativeWindow()) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

// ---- input ----

std::array<std::uint8_t, 256> SdlInput::KeyTable() {
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  return keys_.Table(std::span(state, static_cast<std::size_t>(count)),
                     [](SDL_Scancode sc) { return SDL_GetKeyFromScancode(sc); });
}

void SdlInput::Reopen() {
  controller_.reset();
  joystick_.reset();
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_IsGameController(i)) {
      controller_.reset(SDL_GameControllerOpen(i));
      if (controller_) return;
    }
    joystick_.reset(SDL_JoystickOpen(i));
    if (joystick_) return;
  }
}

JoystickReading SdlInput::Joystick() {
  JoystickReading r;
  if (auto* c = controller_.get()) {
    r.present = true;
    r.x = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
    r.y = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
    // The d-pad steers like the stick.
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) r.x = -32767;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) r.x = 32767;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) r.y = -32767;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) r.y = 32767;
    // A pad's buttons go to the game's own roles (bit n is the game's button n + 1): A and X
    // fire, A also answers yes and B no to the quit question, Start pauses, Back asks to quit.
    constexpr struct {
      SDL_GameControllerButton pad;
      int game_button;
    } kPadButtons[] = {
        {SDL_CONTROLLER_BUTTON_A, 8},     {SDL_CONTROLLER_BUTTON_X, 8},
        {SDL_CONTROLLER_BUTTON_A, 6},     {SDL_CONTROLLER_BUTTON_B, 7},
        {SDL_CONTROLLER_BUTTON_START, 4}, {SDL_CONTROLLER_BUTTON_BACK, 5},
    };
    for (const auto& m : kPadButtons)
      if (SDL_GameControllerGetButton(c, m.pad)) r.buttons |= 1u << (m.game_button - 1);
  } else if (auto* j = joystick_.get()) {
    r.present = true;
    r.x = SDL_JoystickNumAxes(j) > 0 ? SDL_JoystickGetAxis(j, 0) : 0;
    r.y = SDL_JoystickNumAxes(j) > 1 ? SDL_JoystickGetAxis(j, 1) : 0;
    const int buttons = std::min(SDL_JoystickNumButtons(j), 32);
    for (int b = 0; b < buttons; ++b)
      if (SDL_JoystickGetButton(j, b)) r.buttons |= 1u << b;
  }
  return r;
}

// ---- events ----

bool SdlEvents::Poll(Event& out) {
  // One SDL event can make several of the game's (a text of many characters); they are handed
  // on before SDL's queue is read again.
  SDL_Event e;
  while (!translator_.Waiting() && SDL_PollEvent(&e))
    if (translator_.Feed(e, owner_.Screen().Pointer()).reopen_pad) owner_.Input().Reopen();
  return translator_.Next(out);
}

void SdlEvents::Wait(int timeout_ms) {
  if (translator_.Waiting()) return;
  if (timeout_ms < 0)
    SDL_WaitEvent(nullptr);
  else if (timeout_ms > 0)
    SDL_WaitEventTimeout(nullptr, timeout_ms);
}

// ---- audio ----

SdlAudio::SdlAudio() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;  // no sound card: play silently
  SDL_AudioSpec want{};
  want.freq = rate_;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = &SdlAudio::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
}

SdlAudio::~SdlAudio() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
}

void SdlAudio::Callback(void* self, Uint8* stream, int len) {
  auto* audio = static_cast<SdlAudio*>(self);
  const int frames = len / static_cast<int>(2 * sizeof(std::int16_t));
  if (audio->source_)
    audio->source_->Render(reinterpret_cast<std::int16_t*>(stream), frames);
  else
    std::memset(stream, 0, static_cast<std::size_t>(len));
}

void SdlAudio::SetSource(AudioSource* source) {
  Lock();
  source_ = source;
  Unlock();
}

void SdlAudio::Lock() {
  if (device_ != 0) SDL_LockAudioDevice(device_);
}

void SdlAudio::Unlock() {
  if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

// ---- desktop ----

void SdlDesktop::MessageBox(const std::string& caption, const std::string& text, BoxKind kind) {
  const Uint32 flags = kind == BoxKind::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  if (SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), owner_.NativeWindow()) != 0)
    SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, "%s: %s", caption.c_str(), text.c_str());
}

bool SdlDesktop::OpenDocument(const std::string& target) {
  namespace fs = std::filesystem;
  const std::string path = NativePath(target);
  std::error_code ec;
  if (fs::is_regular_file(path, ec)) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (ext == ".url") {
      // An Internet shortcut: open the address on its URL= line.
      std::ifstream in(path);
      std::string line;
      while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("URL=", 0) == 0) return SDL_OpenURL(line.substr(4).c_str()) == 0;
      }
      return false;
    }
    return SDL_OpenURL(("file://" + fs::absolute(path, ec).string()).c_str()) == 0;
  }
  if (target.find("://") == std::string::npos) return false;
  return SDL_OpenURL(target.c_str()) == 0;
}

bool SdlDesktop::Launch(const std::string& program, const std::string& parameters) {
  std::string prog = program, params = parameters;
  char* argv[] = {prog.data(), params.data(), nullptr};
  pid_t pid = 0;
  return posix_spawnp(&pid, prog.c_str(), nullptr, nullptr, argv, environ) == 0;
}

bool SdlDesktop::FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(NativePath(path), ec);
}

}  // namespace trakvolt::platform

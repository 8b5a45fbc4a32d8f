// The machine as the game core sees it: small interfaces implemented by the SDL platform
// (platform/sdl) and by the headless one (platform/headless) used by tests and tools.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/game_error.h"
#include "base/surface.h"

namespace trakvolt::platform {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// Shift state of key and mouse events, as the game tests it.
struct ShiftState {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
};

// One window event, delivered between ticks.
struct Event {
  enum class Kind {
    MouseMove,    // x, y in 800 x 600 client pixels
    Click,        // x, y
    DoubleClick,  // x, y
    KeyDown,      // key: Windows virtual-key code, shift
    KeyUp,        // key, shift
    KeyPress,     // ch: one cp1251 character (Enter 13, Escape 27, Backspace 8)
    Activate,     // the window became the foreground window
    Deactivate,   // it lost the foreground
    Quit,         // the window was closed
  };
  Kind kind = Kind::Quit;
  int x = 0, y = 0;
  int key = 0;
  unsigned char ch = 0;
  ShiftState shift{};
};

// Receives the display's initialise and finalise notifications.
class DisplayListener {
 public:
  virtual ~DisplayListener() = default;
  virtual void DisplayInitialized() = 0;  // after initialisation
  virtual void DisplayFinalizing() = 0;   // before finalisation
};

// Where the window sits on the desktop; stored around full-screen mode.
struct WindowPlacement {
  int x = 0, y = 0;
  bool maximized = false;
  bool operator==(const WindowPlacement&) const = default;
};

// The 800 x 600 RGB565 drawing surface in its window or full screen.
class Display {
 public:
  virtual ~Display() = default;
  virtual void SetListener(DisplayListener* listener) = 0;
  virtual bool Initialized() const = 0;
  // Creates the presentation in window or full-screen form, then notifies DisplayInitialized.
  virtual void Initialize() = 0;
  // Notifies DisplayFinalizing, then drops the presentation. Does nothing when not initialised.
  virtual void Finalize() = 0;
  virtual void SetFullScreenOption(bool full_screen) = 0;
  virtual bool FullScreenOption() const = 0;
  // The back surface; valid only while initialised.
  virtual SurfaceView BackSurface() = 0;
  // Shows the back surface (waits for vertical blank where the machine can).
  virtual void Flip() = 0;
};

// The main window itself.
class Window {
 public:
  virtual ~Window() = default;
  virtual void SetBorder(bool single_border) = 0;  // false: borderless (full screen)
  virtual void Center() = 0;
  virtual WindowPlacement Placement() const = 0;
  virtual void SetPlacement(const WindowPlacement& p) = 0;
  // Adds +1 or -1 to the cursor's display count; the cursor shows while the count is >= 0.
  virtual int ShowCursor(bool show) = 0;
  // The main window is the foreground window.
  virtual bool IsForeground() const = 0;
};

// Raw joystick reading: axes in -32768..32767, up to 32 buttons (bit n = button n+1).
struct JoystickReading {
  bool present = false;
  int x = 0, y = 0;
  std::uint32_t buttons = 0;
};

// Devices polled once per tick.
class InputDevices {
 public:
  virtual ~InputDevices() = default;
  // Key table indexed by Windows virtual-key code; an entry is down when its high bit is set.
  virtual std::array<std::uint8_t, 256> KeyTable() = 0;
  virtual JoystickReading Joystick() = 0;
};

// The message loop's sources: window events and the millisecond clock.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  virtual bool Poll(Event& out) = 0;
  // Sleeps until an event arrives or timeout_ms passes (negative: until an event arrives).
  virtual void Wait(int timeout_ms) = 0;
  virtual std::uint32_t NowMs() = 0;
};

// Pulls mixed 16-bit stereo samples from the game.
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Fills `frames` stereo frames (2 * frames samples). Runs on the audio thread: no allocation.
  virtual void Render(std::int16_t* out, int frames) = 0;
};

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  virtual bool Available() const = 0;
  virtual int SampleRate() const = 0;
  // Starts (or, with nullptr, stops) pulling from the source.
  virtual void SetSource(AudioSource* source) = 0;
  // Held while the game changes what the source plays, so Render never sees half a change.
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
};

// Message boxes, the shell's "open" and process launch.
class Desktop {
 public:
  virtual ~Desktop() = default;
  enum class BoxKind { Error, Information };
  // Caption and text in UTF-8.
  virtual void MessageBox(const std::string& caption, const std::string& text, BoxKind kind) = 0;
  // Opens a URL, a document or an Internet shortcut (its URL= line) with the desktop's handler.
  virtual bool OpenDocument(const std::string& target) = 0;
  // Starts a program with parameters; returns false when it could not be started.
  virtual bool Launch(const std::string& program, const std::string& parameters) = 0;
  virtual bool FileExists(const std::string& path) = 0;
};

// Plain HTTP GET, one request at a time (a request may run on a worker thread).
class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // The body of the answer to a GET of `url` (a full http:// URL). Every failure (name not
  // resolved, no connection, an error status, a broken or oversized answer, a time-out)
  // raises GameError; an error status raises HttpStatusError, since the server was reached
  // and answered.
  virtual std::string Get(const std::string& url) = 0;
};

// The server answered with an error status (4xx, 5xx).
class HttpStatusError : public GameError {
 public:
  HttpStatusError(const std::string& message, long status) : GameError(message), status_(status) {}
  long Status() const { return status_; }

 private:
  long status_;
};

// Everything together, owned by main() or by a test.
class Platform {
 public:
  virtual ~Platform() = default;
  virtual Display& GetDisplay() = 0;
  virtual Window& GetWindow() = 0;
  virtual InputDevices& GetInput() = 0;
  virtual EventLoop& GetEvents() = 0;
  virtual AudioOutput& GetAudio() = 0;
  virtual Desktop& GetDesktop() = 0;
  virtual HttpClient& GetHttp() = 0;
};

// Turns Windows-style paths ("Data\Res\Res1.dxg") into the platform's form.
std::string NativePath(const std::string& path);

}  // namespace trakvolt::platform

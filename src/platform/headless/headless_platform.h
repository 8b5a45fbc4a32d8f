// The headless machine: a memory display, scripted input, a virtual clock, an audio buffer and
// recorded message boxes and shell calls. Used by the tests, the replay runner and the tools.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/curl_http_client.h"
#include "platform/platform.h"

namespace trakvolt::platform {

class HeadlessDisplay final : public Display {
 public:
  HeadlessDisplay();
  void SetListener(DisplayListener* listener) override { listener_ = listener; }
  bool Initialized() const override { return initialized_; }
  void Initialize() override;
  void Finalize() override;
  void SetFullScreenOption(bool full_screen) override { full_screen_ = full_screen; }
  bool FullScreenOption() const override { return full_screen_; }
  SurfaceView BackSurface() override;
  void Flip() override;

  // The picture shown by the last flip.
  const Surface& Shown() const { return shown_; }
  int FlipCount() const { return flips_; }
  // "initialize" / "finalize" in the order they happened.
  const std::vector<std::string>& Log() const { return log_; }

 private:
  DisplayListener* listener_ = nullptr;
  bool initialized_ = false;
  bool full_screen_ = false;
  Surface back_;
  Surface shown_;
  int flips_ = 0;
  std::vector<std::string> log_;
};

class HeadlessWindow final : public Window {
 public:
  void SetBorder(bool single_border) override { single_border_ = single_border; }
  void Center() override {
    placement_.x = 560;
    placement_.y = 240;
    ++centred_;
  }
  WindowPlacement Placement() const override { return placement_; }
  void SetPlacement(const WindowPlacement& p) override { placement_ = p; }
  int ShowCursor(bool show) override { return cursor_count_ += show ? 1 : -1; }
  bool IsForeground() const override { return foreground_; }

  void SetForeground(bool f) { foreground_ = f; }
  bool SingleBorder() const { return single_border_; }
  int CursorCount() const { return cursor_count_; }
  int CentredCount() const { return centred_; }

 private:
  bool single_border_ = true;
  bool foreground_ = true;
  int cursor_count_ = 0;
  int centred_ = 0;
  WindowPlacement placement_{560, 240, false};
};

class HeadlessInput final : public InputDevices {
 public:
  std::array<std::uint8_t, 256> KeyTable() override { return keys_; }
  JoystickReading Joystick() override { return joystick_; }

  void SetKey(int vk, bool down);
  void SetJoystick(const JoystickReading& j) { joystick_ = j; }

 private:
  std::array<std::uint8_t, 256> keys_{};
  JoystickReading joystick_{};
};

class HeadlessEvents final : public EventLoop {
 public:
  bool Poll(Event& out) override;
  // Time does not pass while waiting: the caller advances the virtual clock.
  void Wait(int timeout_ms) override { last_wait_ = timeout_ms; }
  std::uint32_t NowMs() override { return now_; }

  void Push(const Event& e) { queue_.push_back(e); }
  void Advance(std::uint32_t ms) { now_ += ms; }
  void SetNow(std::uint32_t ms) { now_ = ms; }
  int LastWait() const { return last_wait_; }

 private:
  std::deque<Event> queue_;
  std::uint32_t now_ = 1000;
  int last_wait_ = 0;
};

// Mixes into memory on request, so tests can hear what played.
class HeadlessAudio final : public AudioOutput {
 public:
  bool Available() const override { return true; }
  int SampleRate() const override { return 44100; }
  void SetSource(AudioSource* source) override { source_ = source; }
  void Lock() override {}
  void Unlock() override {}

  // Renders `frames` stereo frames from the current source (silence without one).
  std::vector<std::int16_t> Pull(int frames);

 private:
  AudioSource* source_ = nullptr;
};

class HeadlessDesktop final : public Desktop {
 public:
  struct Box {
    std::string caption, text;
    BoxKind kind;
  };
  void MessageBox(const std::string& caption, const std::string& text, BoxKind kind) override {
    boxes_.push_back({caption, text, kind});
  }
  bool OpenDocument(const std::string& target) override {
    opened_.push_back(target);
    return true;
  }
  bool Launch(const std::string& program, const std::string& parameters) override {
    launched_.push_back(program + " " + parameters);
    return true;
  }
  bool FileExists(const std::string& path) override;

  const std::vector<Box>& Boxes() const { return boxes_; }
  const std::vector<std::string>& Opened() const { return opened_; }
  const std::vector<std::string>& Launched() const { return launched_; }

 private:
  std::vector<Box> boxes_;
  std::vector<std::string> opened_;
  std::vector<std::string> launched_;
};

class HeadlessPlatform final : public Platform {
 public:
  Display& GetDisplay() override { return display; }
  Window& GetWindow() override { return window; }
  InputDevices& GetInput() override { return input; }
  EventLoop& GetEvents() override { return events; }
  AudioOutput& GetAudio() override { return audio; }
  Desktop& GetDesktop() override { return desktop; }
  HttpClient& GetHttp() override { return http; }

  HeadlessDisplay display;
  HeadlessWindow window;
  HeadlessInput input;
  HeadlessEvents events;
  HeadlessAudio audio;
  HeadlessDesktop desktop;
  // Real HTTP: tests talk to servers on the loopback interface.
  CurlHttpClient http;
};

}  // namespace trakvolt::platform

// The frame timer: a 30 ms cadence driven from the message loop's idle processing, reporting
// how many whole intervals passed since the previous tick (LagCount).
#pragma once

#include <cstdint>
#include <functional>

namespace trakvolt {

class TFrameTimer {
 public:
  using Clock = std::function<std::uint32_t()>;
  using Handler = std::function<void(int lag_count)>;

  explicit TFrameTimer(Clock clock) : clock_(std::move(clock)) {}

  void SetOnTimer(Handler h) { on_timer_ = std::move(h); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Interval() const { return interval_; }
  void SetInterval(int ms) { interval_ = ms < 0 ? 0 : ms; }
  bool ActiveOnly() const { return active_only_; }
  void SetActiveOnly(bool on);
  // The application gained or lost activation (foreground).
  void SetApplicationActive(bool active);

  // Ticks run only while the timer is installed as the idle handler.
  bool Installed() const { return installed_; }
  // One pass of idle processing: ticks (and returns true) when an interval has passed.
  bool Idle();
  // Milliseconds until the next tick is due (0 when due now), or -1 when not installed: the
  // message loop sleeps that long instead of spinning.
  int MillisecondsUntilDue() const;
  // Frames per second over the last full second (not shown by the game).
  int FrameRate() const { return frame_rate_; }

 private:
  void Reinstall();

  Clock clock_;
  Handler on_timer_;
  bool enabled_ = false;
  bool active_only_ = true;
  bool app_active_ = true;
  bool installed_ = false;
  int interval_ = 30;
  std::uint32_t last_tick_ = 0;
  std::uint32_t rate_start_ = 0;
  int frames_ = 0;
  int frame_rate_ = 0;
};

}  // namespace trakvolt

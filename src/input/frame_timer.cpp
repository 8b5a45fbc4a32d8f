// Frame timer: install/remove as idle handler, LagCount and the frame-rate window.
#include "input/frame_timer.h"

#include <algorithm>
#include <cmath>

namespace trakvolt {

void TFrameTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Reinstall();
}

void TFrameTimer::SetActiveOnly(bool on) {
  active_only_ = on;
  Reinstall();
}

void TFrameTimer::SetApplicationActive(bool active) {
  app_active_ = active;
  Reinstall();
}

void TFrameTimer::Reinstall() {
  const bool want = enabled_ && (app_active_ || !active_only_);
  if (want && !installed_) {
    // Installing starts both clocks afresh, so a long absence never turns into a huge lag.
    last_tick_ = rate_start_ = clock_();
    frames_ = 0;
  }
  installed_ = want;
}

bool TFrameTimer::Idle() {
  if (!installed_) return false;
  const std::uint32_t now = clock_();
  const std::uint32_t passed = now - last_tick_;  // unsigned: survives the clock wrapping
  if (passed < static_cast<std::uint32_t>(interval_)) return false;
  const auto step = static_cast<std::uint32_t>(std::max(interval_, 1));
  const int lag = static_cast<int>(std::max<std::uint32_t>(passed / step, 1));
  last_tick_ = now;
  ++frames_;
  const std::uint32_t window = now - rate_start_;
  if (window >= 1000) {
    frame_rate_ = static_cast<int>(std::lround(frames_ * 1000.0 / window));
    frames_ = 0;
    rate_start_ = now;
  }
  if (on_timer_) on_timer_(lag);
  return true;
}

int TFrameTimer::MillisecondsUntilDue() const {
  if (!installed_) return -1;
  const std::uint32_t passed = clock_() - last_tick_;
  const auto interval = static_cast<std::uint32_t>(interval_);
  return passed >= interval ? 0 : static_cast<int>(interval - passed);
}

}  // namespace trakvolt

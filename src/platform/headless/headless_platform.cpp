// The headless machine's display, input, clock, audio and desktop.
#include "platform/headless/headless_platform.h"

#include <filesystem>

namespace trakvolt::platform {

HeadlessDisplay::HeadlessDisplay()
    : back_(kScreenWidth, kScreenHeight), shown_(kScreenWidth, kScreenHeight) {}

void HeadlessDisplay::Initialize() {
  if (initialized_) Finalize();
  initialized_ = true;
  log_.push_back(full_screen_ ? "initialize full" : "initialize window");
  if (listener_) listener_->DisplayInitialized();
}

void HeadlessDisplay::Finalize() {
  if (!initialized_) return;
  if (listener_) listener_->DisplayFinalizing();
  initialized_ = false;
  log_.push_back("finalize");
}

SurfaceView HeadlessDisplay::BackSurface() { return initialized_ ? back_.View() : SurfaceView{}; }

void HeadlessDisplay::Flip() {
  if (!initialized_) return;
  shown_ = back_;
  ++flips_;
}

void HeadlessInput::SetKey(int vk, bool down) {
  if (vk >= 0 && vk < 256) keys_[static_cast<std::size_t>(vk)] = down ? 0x80 : 0;
}

bool HeadlessEvents::Poll(Event& out) {
  if (queue_.empty()) return false;
  out = queue_.front();
  queue_.pop_front();
  return true;
}

std::vector<std::int16_t> HeadlessAudio::Pull(int frames) {
  std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2, 0);
  if (source_ && frames > 0) source_->Render(out.data(), frames);
  return out;
}

bool HeadlessDesktop::FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(NativePath(path), ec);
}

}  // namespace trakvolt::platform

// Sound buffers of the wave items, their play rules, and the mixer feeding the audio output.
#include "audio/sound_device.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "archive/wave_list.h"

namespace trakvolt {

TSoundDevice::Guard::Guard(TSoundDevice& device) : device_(device) {
  if (device_.lock_depth_++ == 0) device_.output_.Lock();
}

TSoundDevice::Guard::~Guard() {
  if (--device_.lock_depth_ == 0) device_.output_.Unlock();
}

TSoundDevice::TSoundDevice(platform::AudioOutput& output) : output_(output) {
  voices_.reserve(256);
  initialized_ = output_.Available();
  if (initialized_) {
    rate_ = output_.SampleRate() > 0 ? output_.SampleRate() : 44100;
    output_.SetSource(this);
  }
}

TSoundDevice::~TSoundDevice() {
  if (initialized_) output_.SetSource(nullptr);
  // Buffers unregister themselves; drop them while the list they leave still exists.
  items_.clear();
}

std::unique_ptr<TSoundBuffer> TSoundDevice::CreateBuffer(const TWave& wave) {
  if (!initialized_) return nullptr;
  auto data = DecodeWave(wave);
  if (!data) return nullptr;
  std::unique_ptr<TSoundBuffer> buffer(new TSoundBuffer(*this, std::move(data)));
  Guard guard(*this);
  voices_.push_back(buffer.get());
  return buffer;
}

std::unique_ptr<TSoundBuffer> TSoundDevice::Duplicate(const TSoundBuffer& original) {
  std::unique_ptr<TSoundBuffer> buffer(new TSoundBuffer(*this, original.data_));
  buffer->frequency_ = original.frequency_;
  buffer->pan_ = original.pan_;
  buffer->volume_ = original.volume_;
  buffer->UpdateGains();
  Guard guard(*this);
  voices_.push_back(buffer.get());
  return buffer;
}

void TSoundDevice::Unregister(TSoundBuffer* buffer) {
  Guard guard(*this);
  voices_.erase(std::remove(voices_.begin(), voices_.end(), buffer), voices_.end());
}

TSoundDevice::ItemBuffers* TSoundDevice::BuffersFor(const TSoundCollectionItem& item) {
  if (!initialized_) return nullptr;
  const auto& samples = item.Wave().Samples;
  auto it = items_.find(&item);
  // An item whose wave changed (or a new item at an old address) gets fresh buffers.
  if (it != items_.end() &&
      (it->second.samples != samples.data() || it->second.size != samples.size())) {
    items_.erase(it);
    it = items_.end();
  }
  if (it == items_.end()) {
    ItemBuffers b;
    b.samples = samples.data();
    b.size = samples.size();
    b.primary = CreateBuffer(item.Wave());
    it = items_.emplace(&item, std::move(b)).first;
  }
  return it->second.primary ? &it->second : nullptr;
}

void TSoundDevice::Prepare(const TSoundCollection& items) {
  items_.clear();
  for (int i = 0; i < items.Count(); ++i) BuffersFor(items[i]);
}

void TSoundDevice::PlayItem(const TSoundCollectionItem& item, bool wait) {
  ItemBuffers* b = BuffersFor(item);
  if (!b) return;
  if (item.Looped()) {
    b->primary->Stop();
    b->primary->SetPosition(0);
    b->primary->Play(true);
    return;
  }
  TSoundBuffer* chosen = nullptr;
  for (auto& extra : b->extras) {
    if (!extra->Playing()) {
      chosen = extra.get();
      break;
    }
  }
  if (!chosen) {
    const auto limit = static_cast<std::size_t>(item.MaxPlayingCount());
    if (limit == 0 || b->extras.size() < limit) {
      auto copy = Duplicate(*b->primary);
      if (!copy) return;
      b->extras.push_back(std::move(copy));
    } else {
      std::rotate(b->extras.begin(), b->extras.begin() + 1, b->extras.end());
    }
    chosen = b->extras.back().get();
  }
  chosen->Stop();
  chosen->SetPosition(0);
  chosen->SetFrequency(item.Frequency);
  chosen->SetPan(item.Pan);
  chosen->SetVolume(item.Volume);
  chosen->Play(false);
  if (wait) {
    // Polls as the game's component does, but never longer than the sound itself lasts (and a
    // second more), so an output that is not pulling cannot hang the game.
    const double rate = item.Frequency ? item.Frequency : chosen->RecordedRate();
    const auto limit =
        std::chrono::steady_clock::now() +
        std::chrono::milliseconds(
            static_cast<long long>(1000.0 * static_cast<double>(chosen->FrameCount()) / rate) +
            1000);
    while (chosen->Playing() && std::chrono::steady_clock::now() < limit)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void TSoundDevice::StopItem(const TSoundCollectionItem& item) {
  ItemBuffers* b = BuffersFor(item);
  if (!b) return;
  Guard guard(*this);
  b->primary->Stop();
  for (auto& extra : b->extras) extra->Stop();
}

bool TSoundDevice::ItemPlaying(const TSoundCollectionItem& item) {
  ItemBuffers* b = BuffersFor(item);
  if (!b) return false;
  Guard guard(*this);
  if (b->primary->Playing()) return true;
  return std::any_of(b->extras.begin(), b->extras.end(),
                     [](const auto& e) { return e->Playing(); });
}

int TSoundDevice::ExtraBufferCount(const TSoundCollectionItem& item) const {
  const auto it = items_.find(&item);
  return it == items_.end() ? 0 : static_cast<int>(it->second.extras.size());
}

void TSoundDevice::SetMusic(TMusicSource* music) {
  Guard guard(*this);
  music_ = music;
}

void TSoundDevice::SetSuspended(bool suspended) {
  Guard guard(*this);
  suspended_ = suspended;
}

void TSoundDevice::Render(std::int16_t* out, int frames) {
  if (suspended_) {
    std::fill(out, out + 2 * static_cast<std::ptrdiff_t>(std::max(frames, 0)), std::int16_t{0});
    return;
  }
  // Full scale is 1.0; the limiter pulls loud moments under it at once and lets go over about
  // a tenth of a second, so overlapping effects and music never wrap or crackle.
  constexpr float kCeiling = 0.98f;
  const float release = 1.0f - 1.0f / (0.1f * static_cast<float>(rate_));
  while (frames > 0) {
    const int n = std::min(frames, kChunk);
    std::fill(mix_.begin(), mix_.begin() + 2 * n, 0.0f);
    for (TSoundBuffer* voice : voices_)
      if (voice->playing_) voice->MixInto(mix_.data(), n, rate_);
    if (music_) music_->MixMusic(mix_.data(), n);
    for (int i = 0; i < n; ++i) {
      const float peak = std::max(std::abs(mix_[2 * i]), std::abs(mix_[2 * i + 1]));
      limiter_gain_ = 1.0f - (1.0f - limiter_gain_) * release;
      if (peak * limiter_gain_ > kCeiling) limiter_gain_ = kCeiling / peak;
      for (int c = 0; c < 2; ++c) {
        const float v = std::clamp(mix_[2 * i + c] * limiter_gain_, -1.0f, 1.0f);
        out[2 * i + c] = static_cast<std::int16_t>(std::lrint(v * 32767.0f));
      }
    }
    out += 2 * n;
    frames -= n;
  }
}

}  // namespace trakvolt

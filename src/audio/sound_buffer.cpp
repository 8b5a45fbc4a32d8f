// Decoding wave data and playing it from a sound buffer.
#include "audio/sound_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "archive/wave_list.h"
#include "audio/sound_device.h"

namespace trakvolt {

namespace {

constexpr std::uint16_t kFormatPcm = 1, kFormatFloat = 3, kFormatExtensible = 0xFFFE;

std::uint32_t Read32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// One sample of `bits` at `p` in -1..1.
float ReadSample(const std::uint8_t* p, int bits, bool is_float) {
  if (is_float) {
    if (bits == 32) {
      float f;
      std::memcpy(&f, p, 4);
      return std::isfinite(f) ? std::clamp(f, -1.0f, 1.0f) : 0.0f;
    }
    double d;
    std::memcpy(&d, p, 8);
    return std::isfinite(d) ? static_cast<float>(std::clamp(d, -1.0, 1.0)) : 0.0f;
  }
  switch (bits) {
    case 8:
      return (static_cast<float>(p[0]) - 128.0f) / 128.0f;
    case 16:
      return static_cast<float>(static_cast<std::int16_t>(p[0] | p[1] << 8)) / 32768.0f;
    case 24: {
      const auto v = static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) << 8 |
                                               static_cast<std::uint32_t>(p[1]) << 16 |
                                               static_cast<std::uint32_t>(p[2]) << 24);
      return static_cast<float>(v) / 2147483648.0f;
    }
    default:
      return static_cast<float>(static_cast<std::int32_t>(Read32(p))) / 2147483648.0f;
  }
}

}  // namespace

std::shared_ptr<const TSoundData> DecodeWave(const TWave& wave) {
  const auto& fmt = wave.Format;
  if (fmt.size() < 16) return nullptr;
  std::uint16_t tag = wave.FormatTag();
  const int channels = wave.Channels();
  const auto rate = wave.SamplesPerSec();
  const int bits = wave.BitsPerSample();
  const std::size_t align = wave.BlockAlign();
  if (tag == kFormatExtensible) {
    // The sub-format GUID (at 24) begins with the plain format tag.
    if (fmt.size() < 40) return nullptr;
    tag = static_cast<std::uint16_t>(fmt[24] | fmt[25] << 8);
  }
  const bool is_float = tag == kFormatFloat;
  if (tag != kFormatPcm && !is_float) return nullptr;
  if (is_float ? (bits != 32 && bits != 64) : (bits != 8 && bits != 16 && bits != 24 && bits != 32))
    return nullptr;
  const std::size_t bytes = static_cast<std::size_t>(bits / 8);
  if (channels < 1 || rate < 1 || rate > 384000 ||
      align < bytes * static_cast<std::size_t>(channels))
    return nullptr;
  auto data = std::make_shared<TSoundData>();
  data->rate = static_cast<int>(rate);
  data->frame_count = wave.Samples.size() / align;
  data->frames.resize(data->frame_count * 2);
  const std::uint8_t* p = wave.Samples.data();
  for (std::size_t i = 0; i < data->frame_count; ++i, p += align) {
    const float left = ReadSample(p, bits, is_float);
    const float right = channels > 1 ? ReadSample(p + bytes, bits, is_float) : left;
    data->frames[2 * i] = left;
    data->frames[2 * i + 1] = right;
  }
  return data;
}

TSoundBuffer::TSoundBuffer(TSoundDevice& device, std::shared_ptr<const TSoundData> data)
    : device_(device), data_(std::move(data)) {}

TSoundBuffer::~TSoundBuffer() { device_.Unregister(this); }

void TSoundBuffer::Play(bool looping) {
  TSoundDevice::Guard guard(device_);
  looping_ = looping;
  playing_ = data_->frame_count > 0;
}

void TSoundBuffer::Stop() {
  TSoundDevice::Guard guard(device_);
  playing_ = false;
}

bool TSoundBuffer::Playing() const {
  TSoundDevice::Guard guard(device_);
  return playing_;
}

void TSoundBuffer::SetPosition(std::size_t frame) {
  TSoundDevice::Guard guard(device_);
  position_ = static_cast<double>(std::min(frame, data_->frame_count));
}

void TSoundBuffer::SetFrequency(int hz) {
  TSoundDevice::Guard guard(device_);
  frequency_ = hz == 0 ? 0 : std::clamp(hz, 100, 200000);
}

void TSoundBuffer::SetPan(int pan) {
  TSoundDevice::Guard guard(device_);
  pan_ = std::clamp(pan, -10000, 10000);
  UpdateGains();
}

void TSoundBuffer::SetVolume(int volume) {
  TSoundDevice::Guard guard(device_);
  volume_ = std::clamp(volume, -10000, 0);
  UpdateGains();
}

void TSoundBuffer::UpdateGains() {
  const auto db = [](int hundredths) {
    return hundredths <= -10000 ? 0.0f : static_cast<float>(std::pow(10.0, hundredths / 2000.0));
  };
  gain_left_ = db(volume_ + std::min(0, -pan_));
  gain_right_ = db(volume_ + std::min(0, pan_));
}

void TSoundBuffer::MixInto(float* mix, int frames, int output_rate) {
  const double rate = frequency_ ? frequency_ : data_->rate;
  const double step = rate / output_rate;
  const auto count = static_cast<double>(data_->frame_count);
  const float* src = data_->frames.data();
  for (int i = 0; i < frames && playing_; ++i) {
    const auto index = static_cast<std::size_t>(position_);
    const auto frac = static_cast<float>(position_ - static_cast<double>(index));
    // The frame after the last is the first again when looping, silence otherwise.
    std::size_t next = index + 1;
    float next_left = 0.0f, next_right = 0.0f;
    if (next < data_->frame_count) {
      next_left = src[2 * next];
      next_right = src[2 * next + 1];
    } else if (looping_) {
      next_left = src[0];
      next_right = src[1];
    }
    const float left = src[2 * index] + (next_left - src[2 * index]) * frac;
    const float right = src[2 * index + 1] + (next_right - src[2 * index + 1]) * frac;
    mix[2 * i] += left * gain_left_;
    mix[2 * i + 1] += right * gain_right_;
    position_ += step;
    if (position_ >= count) {
      if (looping_) {
        position_ = std::fmod(position_, count);
      } else {
        playing_ = false;
        position_ = 0.0;
      }
    }
  }
}

}  // namespace trakvolt

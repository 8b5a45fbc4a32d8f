// One playable sound buffer of the sound device and the decoded samples it plays.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace trakvolt {

class TSoundDevice;
struct TWave;

// Samples decoded once from a wave's format block and bytes: interleaved stereo floats at the
// recorded rate. Copies of a buffer share them.
struct TSoundData {
  std::vector<float> frames;  // left, right, left, right, ...
  std::size_t frame_count = 0;
  int rate = 0;
};

// Decodes PCM (8-bit unsigned, 16/24/32-bit signed), 32/64-bit IEEE float and their extensible
// forms, any channel count (the first two are kept, one channel is played on both sides).
// Returns nullptr for any other format or a block that does not describe one.
std::shared_ptr<const TSoundData> DecodeWave(const TWave& wave);

// A sound buffer as the game's sound component knows it: a play position, frequency, pan and
// volume, played once or looping. Changes take the output's lock, so the mixer never sees half
// of one. Destroying it removes it from the device.
class TSoundBuffer {
 public:
  ~TSoundBuffer();
  TSoundBuffer(const TSoundBuffer&) = delete;
  TSoundBuffer& operator=(const TSoundBuffer&) = delete;

  void Play(bool looping);
  void Stop();
  bool Playing() const;
  // Position in frames of the recorded data.
  void SetPosition(std::size_t frame);
  // Hz; 0 plays at the recorded rate. Kept within 100..200 000 Hz.
  void SetFrequency(int hz);
  // Hundredths of a decibel: negative turns the right side down, positive the left.
  void SetPan(int pan);
  // Hundredths of a decibel of attenuation (0 = full, -10 000 = silent).
  void SetVolume(int volume);

  std::size_t FrameCount() const { return data_->frame_count; }
  int RecordedRate() const { return data_->rate; }

 private:
  friend class TSoundDevice;
  TSoundBuffer(TSoundDevice& device, std::shared_ptr<const TSoundData> data);
  void UpdateGains();
  // Adds this buffer's next `frames` frames into `mix` (stereo); runs under the lock.
  void MixInto(float* mix, int frames, int output_rate);

  TSoundDevice& device_;
  std::shared_ptr<const TSoundData> data_;
  double position_ = 0.0;
  int frequency_ = 0;
  int pan_ = 0;
  int volume_ = 0;
  float gain_left_ = 1.0f, gain_right_ = 1.0f;
  bool playing_ = false;
  bool looping_ = false;
};

}  // namespace trakvolt

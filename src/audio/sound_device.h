// The sound device (`MSound`): mixes the wave items' sound buffers and the music into the
// platform's audio output.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "audio/sound_buffer.h"
#include "platform/platform.h"

namespace trakvolt {

class TSoundCollection;
class TSoundCollectionItem;

// Something else the device mixes in, such as the music player. Called on the audio thread
// under the output's lock; must not allocate.
class TMusicSource {
 public:
  virtual ~TMusicSource() = default;
  // Adds `frames` stereo frames, full scale 1.0, into `mix`.
  virtual void MixMusic(float* mix, int frames) = 0;
};

class TSoundDevice final : public platform::AudioSource {
 public:
  // Initialises itself at once when the output is available, and registers as its source.
  explicit TSoundDevice(platform::AudioOutput& output);
  ~TSoundDevice() override;
  TSoundDevice(const TSoundDevice&) = delete;
  TSoundDevice& operator=(const TSoundDevice&) = delete;

  bool Initialized() const { return initialized_; }
  int SampleRate() const { return rate_; }

  // A buffer over a wave's samples; nullptr when the device is not initialised or the format
  // cannot be played.
  std::unique_ptr<TSoundBuffer> CreateBuffer(const TWave& wave);
  // A copy sharing the samples, stopped at position 0 with the original's settings.
  std::unique_ptr<TSoundBuffer> Duplicate(const TSoundBuffer& buffer);

  // Gives every wave item its primary buffer (dropping buffers of items that are gone). Call
  // after loading the wave list; playing an item that has none makes it on the spot.
  void Prepare(const TSoundCollection& items);
  // Play, stop and the playing state of a wave item (its primary buffer and its copies).
  void PlayItem(const TSoundCollectionItem& item, bool wait);
  void StopItem(const TSoundCollectionItem& item);
  bool ItemPlaying(const TSoundCollectionItem& item);
  // The extra buffers an item holds (the copies for overlapping plays).
  int ExtraBufferCount(const TSoundCollectionItem& item) const;

  void SetMusic(TMusicSource* music);

  // While suspended the output is silence and nothing advances: every effect and the music
  // stand where they are and go on from there when the suspension ends.
  void SetSuspended(bool suspended);
  bool Suspended() const { return suspended_; }

  // AudioSource: mixes everything that plays into 16-bit stereo at the output's rate.
  void Render(std::int16_t* out, int frames) override;

  // Holds the output's lock for a scope; nests on the game thread.
  class Guard {
   public:
    explicit Guard(TSoundDevice& device);
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    TSoundDevice& device_;
  };

 private:
  friend class TSoundBuffer;
  struct ItemBuffers {
    const void* samples = nullptr;  // which wave data the buffers were made from
    std::size_t size = 0;
    std::unique_ptr<TSoundBuffer> primary;
    std::vector<std::unique_ptr<TSoundBuffer>> extras;  // oldest first
  };
  ItemBuffers* BuffersFor(const TSoundCollectionItem& item);
  void Unregister(TSoundBuffer* buffer);

  platform::AudioOutput& output_;
  bool initialized_ = false;
  int rate_ = 44100;
  int lock_depth_ = 0;
  TMusicSource* music_ = nullptr;
  bool suspended_ = false;
  std::vector<TSoundBuffer*> voices_;  // every live buffer
  std::unordered_map<const TSoundCollectionItem*, ItemBuffers> items_;
  // Mixing space, made once so the audio thread never allocates.
  static constexpr int kChunk = 512;
  std::array<float, 2 * kChunk> mix_{};
  float limiter_gain_ = 1.0f;
};

}  // namespace trakvolt

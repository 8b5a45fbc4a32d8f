// The module player behind the game's five song calls, playing XM (and the other formats libxmp
// reads) through the sound device.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>

#include "audio/sound_device.h"

namespace trakvolt {

// A song handle: pointer-sized, 0 for none.
using SongHandle = std::uintptr_t;

// The five calls the game makes of its music player.
class TMusicApi {
 public:
  virtual ~TMusicApi() = default;
  // The song in the file (a zero-terminated name), or 0 when it cannot be read.
  virtual SongHandle SongLoadFromFile(const char* file_name) = 0;
  virtual SongHandle SongLoadFromResource(const char* resource_name) = 0;
  // Starts playing from the top, on and on in the background.
  virtual void SongPlay(SongHandle song) = 0;
  // Stops the song and releases it.
  virtual void SongFree(SongHandle song) = 0;
  // The current order number, 0 at the first order (and for a song that does not play).
  virtual int SongGetOrder(SongHandle song) = 0;
};

class TMusicPlayer final : public TMusicApi, public TMusicSource {
 public:
  // Mixes into `device` for as long as the player lives.
  explicit TMusicPlayer(TSoundDevice& device);
  ~TMusicPlayer() override;
  TMusicPlayer(const TMusicPlayer&) = delete;
  TMusicPlayer& operator=(const TMusicPlayer&) = delete;

  SongHandle SongLoadFromFile(const char* file_name) override;
  // The game ships no songs inside the program, so there is never one to load.
  SongHandle SongLoadFromResource(const char* resource_name) override;
  void SongPlay(SongHandle song) override;
  void SongFree(SongHandle song) override;
  int SongGetOrder(SongHandle song) override;

  // How loud music sits under the effects, 0..1.
  void SetMusicVolume(float volume);

  void MixMusic(float* mix, int frames) override;

 private:
  struct Song;
  Song* Find(SongHandle song);

  TSoundDevice& device_;
  std::map<SongHandle, std::unique_ptr<Song>> songs_;
  float volume_ = 0.7f;
  static constexpr int kChunk = 512;
  std::array<std::int16_t, 2 * kChunk> pcm_{};
};

}  // namespace trakvolt

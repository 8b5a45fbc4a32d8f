// Songs over libxmp: loading, playing into the sound device's mix, order position, freeing.
#include "audio/music_player.h"

#include <xmp.h>

#include <algorithm>

#include "platform/platform.h"

namespace trakvolt {

struct TMusicPlayer::Song {
  xmp_context context = nullptr;
  bool playing = false;
  ~Song() {
    if (playing) xmp_end_player(context);
    xmp_release_module(context);
    xmp_free_context(context);
  }
};

TMusicPlayer::TMusicPlayer(TSoundDevice& device) : device_(device) { device_.SetMusic(this); }

TMusicPlayer::~TMusicPlayer() {
  TSoundDevice::Guard guard(device_);
  device_.SetMusic(nullptr);
  songs_.clear();
}

TMusicPlayer::Song* TMusicPlayer::Find(SongHandle song) {
  const auto it = songs_.find(song);
  return it == songs_.end() ? nullptr : it->second.get();
}

SongHandle TMusicPlayer::SongLoadFromFile(const char* file_name) {
  if (!file_name) return 0;
  const xmp_context context = xmp_create_context();
  if (!context) return 0;
  const std::string path = platform::NativePath(file_name);
  if (xmp_load_module(context, path.c_str()) != 0) {
    xmp_free_context(context);
    return 0;
  }
  auto song = std::make_unique<Song>();
  song->context = context;
  const auto handle = reinterpret_cast<SongHandle>(song.get());
  TSoundDevice::Guard guard(device_);
  songs_.emplace(handle, std::move(song));
  return handle;
}

SongHandle TMusicPlayer::SongLoadFromResource(const char*) { return 0; }

void TMusicPlayer::SongPlay(SongHandle handle) {
  TSoundDevice::Guard guard(device_);
  Song* song = Find(handle);
  if (!song) return;
  if (song->playing) xmp_end_player(song->context);
  song->playing = xmp_start_player(song->context, device_.SampleRate(), 0) == 0;
}

void TMusicPlayer::SongFree(SongHandle handle) {
  TSoundDevice::Guard guard(device_);
  songs_.erase(handle);
}

int TMusicPlayer::SongGetOrder(SongHandle handle) {
  TSoundDevice::Guard guard(device_);
  Song* song = Find(handle);
  if (!song || !song->playing) return 0;
  xmp_frame_info info{};
  xmp_get_frame_info(song->context, &info);
  return info.pos;
}

void TMusicPlayer::SetMusicVolume(float volume) {
  TSoundDevice::Guard guard(device_);
  volume_ = std::clamp(volume, 0.0f, 1.0f);
}

void TMusicPlayer::MixMusic(float* mix, int frames) {
  const float scale = volume_ / 32768.0f;
  for (auto& [handle, song] : songs_) {
    if (!song->playing) continue;
    for (int done = 0; done < frames;) {
      const int n = std::min(frames - done, kChunk);
      // Loop count 0: the song goes round for ever, back to its restart order at the end.
      if (xmp_play_buffer(song->context, pcm_.data(), n * 4, 0) != 0) {
        song->playing = false;
        break;
      }
      for (int i = 0; i < 2 * n; ++i)
        mix[2 * done + i] += static_cast<float>(pcm_[static_cast<std::size_t>(i)]) * scale;
      done += n;
    }
  }
}

}  // namespace trakvolt

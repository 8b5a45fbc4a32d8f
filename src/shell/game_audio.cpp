// Effects by name and the screen music with its restart when a song wraps.
#include "shell/game_audio.h"

#include "archive/wave_list.h"
#include "audio/sound_device.h"
#include "screens/game_state.h"

namespace trakvolt {

TGameAudio::TGameAudio(TSoundDevice& sound, const TWaveList& waves, TMusicApi& music,
                       const TGameOptions& options, const int& game_state)
    : sound_(sound), waves_(waves), music_(music), options_(options), game_state_(game_state) {}

void TGameAudio::PlaySoundByName(std::string_view name, bool wait) {
  if (!options_.SoundOn) return;
  const TSoundCollectionItem& item = waves_.Find(name);
  sound_.StopItem(item);
  sound_.PlayItem(item, wait);
}

void TGameAudio::StopSoundByName(std::string_view name) {
  if (!options_.SoundOn) return;
  sound_.StopItem(waves_.Find(name));
}

void TGameAudio::PlayMusic(const std::string& file_name, bool from_resource) {
  LastOrder = 0;
  if (!options_.MusicOn) return;
  if (CurrentSong != 0) music_.SongFree(CurrentSong);
  CurrentSong = from_resource ? music_.SongLoadFromResource(file_name.c_str())
                              : music_.SongLoadFromFile(file_name.c_str());
  if (CurrentSong != 0) music_.SongPlay(CurrentSong);
}

void TGameAudio::StopMusic() {
  if (CurrentSong != 0) music_.SongFree(CurrentSong);
  CurrentSong = 0;
}

void TGameAudio::StartMusicForState() {
  if (UsesRacePictures(game_state_))
    PlayMusic("Data\\Music\\Race.xm", false);
  else
    PlayMusic("Data\\Music\\Menu.xm", false);
}

void TGameAudio::CheckMusicLoop() {
  if (CurrentSong == 0) return;
  const int order = music_.SongGetOrder(CurrentSong);
  if (order == 0 && LastOrder != 0)
    StartMusicForState();
  else
    LastOrder = music_.SongGetOrder(CurrentSong);
}

}  // namespace trakvolt

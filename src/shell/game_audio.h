// The game's sound and music routines: effects by name and the music of the current screen,
// both honouring the player's options.
#pragma once

#include <string>
#include <string_view>

#include "audio/music_player.h"
#include "persist/game_options.h"

namespace trakvolt {

class TSoundDevice;
class TWaveList;

class TGameAudio {
 public:
  // Holds references only: the main form owns the device, the list, the player, the options
  // and GameState, and keeps them alive longer than this.
  TGameAudio(TSoundDevice& sound, const TWaveList& waves, TMusicApi& music,
             const TGameOptions& options, const int& game_state);

  // With sound on: stops every sounding copy of the named effect, then plays it. A name not in
  // the list raises "Wave '%s' not found".
  void PlaySoundByName(std::string_view name, bool wait = false);
  // With sound on: stops every sounding copy of the named effect.
  void StopSoundByName(std::string_view name);

  // Loads and plays a song, freeing the one before; with music off it does nothing more than
  // reset LastOrder (the current song is left alone).
  void PlayMusic(const std::string& file_name, bool from_resource);
  void StopMusic();
  // The race song while GameState is the race or its set-up, the menu song otherwise.
  void StartMusicForState();
  // First thing in every frame tick: a song that has wrapped back to order 0 after being further
  // on starts again from the top with the music of the current screen.
  void CheckMusicLoop();

  SongHandle CurrentSong = 0;
  int LastOrder = 0;

 private:
  TSoundDevice& sound_;
  const TWaveList& waves_;
  TMusicApi& music_;
  const TGameOptions& options_;
  const int& game_state_;
};

}  // namespace trakvolt

// The game's sound and music routines: the options, restarting effects, missing names and
// songs, and restarting a song when it wraps.
#include "shell/game_audio.h"

#include <gtest/gtest.h>

#include "audio/sound_device.h"
#include "base/game_error.h"
#include "platform/headless/headless_platform.h"
#include "wave_maker.h"

namespace trakvolt {
namespace {

using namespace audio_test;

// Songs that report whatever order the test sets; records the calls made.
class ScriptedMusic final : public TMusicApi {
 public:
  SongHandle SongLoadFromFile(const char* file_name) override {
    loads.emplace_back(file_name);
    return missing ? 0 : ++last;
  }
  SongHandle SongLoadFromResource(const char*) override { return 0; }
  void SongPlay(SongHandle song) override { played.push_back(song); }
  void SongFree(SongHandle song) override { freed.push_back(song); }
  int SongGetOrder(SongHandle) override {
    ++order_reads;
    return order;
  }

  bool missing = false;
  int order = 0;
  int order_reads = 0;
  SongHandle last = 0;
  std::vector<std::string> loads;
  std::vector<SongHandle> played, freed;
};

class GameAudioTest : public ::testing::Test {
 protected:
  GameAudioTest() {
    AddWave(waves, "Shot", ConstantWave(0.4, 6615));  // 0.3 s
    AddWave(waves, "Engine", ConstantWave(0.2, 2205), true);
    sound.Prepare(waves.Items);
  }

  platform::HeadlessAudio out;
  TSoundDevice sound{out};
  TWaveList waves;
  ScriptedMusic music;
  TGameOptions options;
  int game_state = 0;
  TGameAudio audio{sound, waves, music, options, game_state};
};

TEST_F(GameAudioTest, SoundOffMakesPlayAndStopDoNothing) {
  audio.PlaySoundByName("Engine");
  options.SoundOn = false;
  audio.StopSoundByName("Engine");     // the engine started earlier keeps sounding
  audio.PlaySoundByName("Shot");       // and nothing new starts
  audio.PlaySoundByName("NotASound");  // not even looked up
  const auto pcm = out.Pull(4410);
  EXPECT_NEAR(Level(pcm, 0, 4410), 0.2, 0.01);
}

TEST_F(GameAudioTest, PlayingAgainRestartsInsteadOfOverlapping) {
  audio.PlaySoundByName("Shot");
  auto pcm = out.Pull(8820);  // 0.2 s into the shot
  audio.PlaySoundByName("Shot");
  const auto after = out.Pull(22050);
  EXPECT_NEAR(Level(after, 0, 13000), 0.4, 0.01);  // one shot's level, never two
  EXPECT_NEAR(SoundingFrames(after), 13230, 3);    // a whole shot from the second play
}

TEST_F(GameAudioTest, StopSoundStopsTheLoopedEngine) {
  audio.PlaySoundByName("Engine");
  EXPECT_GT(SoundingFrames(out.Pull(4410)), 4000);
  audio.StopSoundByName("Engine");
  EXPECT_EQ(SoundingFrames(out.Pull(4410)), 0);
}

TEST_F(GameAudioTest, MissingSoundNameRaises) {
  try {
    audio.PlaySoundByName("Horn");
    FAIL() << "no error";
  } catch (const GameError& e) {
    EXPECT_STREQ(e.what(), "Wave 'Horn' not found");
  }
  EXPECT_THROW(audio.StopSoundByName("Horn"), GameError);
}

TEST_F(GameAudioTest, MissingSongGivesNoMusicAndNoError) {
  music.missing = true;
  audio.StartMusicForState();
  EXPECT_EQ(audio.CurrentSong, 0u);
  EXPECT_TRUE(music.played.empty());
  audio.CheckMusicLoop();
  EXPECT_EQ(music.order_reads, 0);
}

TEST_F(GameAudioTest, WrappedSongIsReloadedWithinOneTick) {
  game_state = 1;
  audio.StartMusicForState();
  const SongHandle first = audio.CurrentSong;
  for (int order : {0, 0, 1, 2, 5}) {
    music.order = order;
    audio.CheckMusicLoop();
  }
  EXPECT_EQ(audio.LastOrder, 5);
  ASSERT_EQ(music.loads.size(), 1u);
  music.order = 0;  // the song has gone round to its start
  audio.CheckMusicLoop();
  ASSERT_EQ(music.loads.size(), 2u);
  EXPECT_EQ(music.loads[1], "Data\\Music\\Race.xm");
  EXPECT_EQ(music.freed, std::vector<SongHandle>{first});
  EXPECT_EQ(music.played.back(), audio.CurrentSong);
  EXPECT_EQ(audio.LastOrder, 0);
}

TEST_F(GameAudioTest, SongStillAtItsFirstOrderIsNotRestarted) {
  audio.StartMusicForState();
  music.order = 0;
  for (int tick = 0; tick < 50; ++tick) audio.CheckMusicLoop();
  EXPECT_EQ(music.loads.size(), 1u);
  EXPECT_TRUE(music.freed.empty());
}

TEST_F(GameAudioTest, MusicOffLeavesTheCurrentSongAlone) {
  audio.StartMusicForState();
  const SongHandle playing = audio.CurrentSong;
  audio.LastOrder = 3;
  options.MusicOn = false;
  game_state = 1;
  audio.StartMusicForState();
  EXPECT_EQ(audio.CurrentSong, playing);
  EXPECT_EQ(music.loads.size(), 1u);
  EXPECT_TRUE(music.freed.empty());
  EXPECT_EQ(audio.LastOrder, 0);
  audio.StopMusic();  // switched off in the options: the song goes
  EXPECT_EQ(music.freed, std::vector<SongHandle>{playing});
  EXPECT_EQ(audio.CurrentSong, 0u);
}

class SongForState : public GameAudioTest, public ::testing::WithParamInterface<int> {};

TEST_P(SongForState, RaceAndItsSetUpGetTheRaceSongOthersTheMenuSong) {
  game_state = GetParam();
  audio.StartMusicForState();
  const bool race = GetParam() == 1 || GetParam() == 10;
  ASSERT_EQ(music.loads.size(), 1u);
  EXPECT_EQ(music.loads[0], race ? "Data\\Music\\Race.xm" : "Data\\Music\\Menu.xm");
}

INSTANTIATE_TEST_SUITE_P(States, SongForState, ::testing::Values(0, 1, 2, 3, 4, 7, 8, 10, 71));

}  // namespace
}  // namespace trakvolt

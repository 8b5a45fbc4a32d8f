// The sound archive and songs this build made: every effect the game names is there and
// sounds without clipping, and both songs play on past their first order.
#include <gtest/gtest.h>

#include "archive/wave_list.h"
#include "audio/sound_device.h"
#include "platform/headless/headless_platform.h"
#include "shell/game_audio.h"
#include "support/built_data.h"
#include "wave_maker.h"

namespace trakvolt {
namespace {

const std::string kData = testing_support::BuiltData().string();

TEST(GameData, EveryEffectOfTheGameSoundsWithoutClipping) {
  testing_support::RequireGameData();
  const std::string archive = kData + "/Res/Sounds.dxw";
  platform::HeadlessAudio out;
  TSoundDevice sound(out);
  TWaveList waves;
  waves.LoadArchive(archive);
  sound.Prepare(waves.Items);
  for (const char* name :
       {"Button_Pressed", "Button_Activated", "EngineStart", "Engine", "EngineAccel", "Tick",
        "BonusLost", "LevelFinish", "GameOver", "Shot", "WallExplosion", "CarExplosion", "Spike",
        "Water", "Stone", "Rabbit", "ScoreGet", "BonusGet"}) {
    SCOPED_TRACE(name);
    const TSoundCollectionItem& item = waves.Find(name);
    EXPECT_EQ(item.Looped(), std::string(name) == "Engine");
    sound.PlayItem(item, false);
    const auto pcm = out.Pull(44100 * 3);
    sound.StopItem(item);
    EXPECT_GT(audio_test::SoundingFrames(pcm), 44100 / 50);  // the click of "Tick" is the shortest
    int peak = 0;
    for (std::int16_t s : pcm) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_LT(peak, 32000);
  }
}

TEST(GameData, BothSongsPlayOnPastTheirFirstOrder) {
  testing_support::RequireGameData();
  for (const char* file : {"/Music/Menu.xm", "/Music/Race.xm"}) {
    SCOPED_TRACE(file);
    platform::HeadlessAudio out;
    TSoundDevice sound(out);
    TMusicPlayer player(sound);
    const SongHandle song = player.SongLoadFromFile((kData + file).c_str());
    ASSERT_NE(song, 0u);
    player.SongPlay(song);
    int highest = 0, sounding = 0;
    for (int tick = 0; tick < 500; ++tick) {  // 15 s of 30 ms ticks
      sounding += audio_test::SoundingFrames(out.Pull(1323));
      highest = std::max(highest, player.SongGetOrder(song));
    }
    EXPECT_GE(highest, 1);
    EXPECT_GT(sounding, 500 * 1323 * 8 / 10);
  }
}

}  // namespace
}  // namespace trakvolt

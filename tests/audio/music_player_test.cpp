// The module player over libxmp: loading, playing into the mix, the order as the song goes
// round, and freeing.
#include "audio/music_player.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/headless/headless_platform.h"
#include "wave_maker.h"

namespace trakvolt {
namespace {

using audio_test::SoundingFrames;

// Two orders of 0.24 s each, then back to the first.
const std::string kSong = std::string(TRAKVOLT_FIXTURES) + "/two_orders.xm";

TEST(MusicPlayer, UnreadableSongsGiveHandleZero) {
  platform::HeadlessAudio out;
  TSoundDevice device(out);
  TMusicPlayer player(device);
  const std::string junk = std::string(TRAKVOLT_BUILD_DIR) + "/not_a_song.xm";
  std::ofstream(junk) << "Extended Module: but nothing more";
  EXPECT_EQ(player.SongLoadFromFile("Data\\Music\\NoSuchSong.xm"), 0u);
  EXPECT_EQ(player.SongLoadFromFile(junk.c_str()), 0u);
  EXPECT_EQ(player.SongLoadFromResource("MENU"), 0u);
  EXPECT_EQ(player.SongGetOrder(0), 0);
  player.SongPlay(0);
  player.SongFree(0);
}

TEST(MusicPlayer, PlaysGoesRoundToOrderZeroAndStopsWhenFreed) {
  platform::HeadlessAudio out;
  TSoundDevice device(out);
  TMusicPlayer player(device);
  const SongHandle song = player.SongLoadFromFile(kSong.c_str());
  ASSERT_NE(song, 0u);
  EXPECT_EQ(SoundingFrames(out.Pull(4410)), 0);  // loaded, not yet playing
  player.SongPlay(song);
  std::vector<int> orders;
  int sounding = 0;
  for (int tick = 0; tick < 24; ++tick) {  // 30 ms ticks over 0.72 s
    sounding += SoundingFrames(out.Pull(1323));
    const int order = player.SongGetOrder(song);
    if (orders.empty() || orders.back() != order) orders.push_back(order);
  }
  EXPECT_EQ(orders, (std::vector<int>{0, 1, 0}));
  EXPECT_GT(sounding, 24 * 1323 * 9 / 10);
  player.SongFree(song);
  EXPECT_EQ(SoundingFrames(out.Pull(4410)), 0);
  EXPECT_EQ(player.SongGetOrder(song), 0);
}

}  // namespace
}  // namespace trakvolt

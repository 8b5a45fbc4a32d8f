// The sound device: formats converted to the output rate, copies and their limit, looping,
// frequency/pan/volume, and mixing without wrap-around.
#include "audio/sound_device.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "wave_maker.h"

namespace trakvolt {
namespace {

using namespace audio_test;

struct FormatCase {
  const char* label;
  int rate, bits, channels;
  std::uint16_t tag;
};

class SoundFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(SoundFormats, PlaysAtTheOutputRateWithItsLevel) {
  const FormatCase c = GetParam();
  platform::HeadlessAudio out;
  TSoundDevice device(out);
  TWaveList list;
  // A tenth of a second at half scale, whatever its rate and format.
  auto& item =
      AddWave(list, "Beep", ConstantWave(0.5, c.rate / 10, c.rate, c.bits, c.channels, c.tag));
  device.PlayItem(item, false);
  const auto pcm = out.Pull(8820);
  EXPECT_NEAR(SoundingFrames(pcm), 4410, 3);
  EXPECT_NEAR(Level(pcm, 100, 4300, 0), 0.5, 0.01);
  EXPECT_NEAR(Level(pcm, 100, 4300, 1), 0.5, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Formats, SoundFormats,
                         ::testing::Values(FormatCase{"u8_mono_11025", 11025, 8, 1, 1},
                                           FormatCase{"s16_mono_22050", 22050, 16, 1, 1},
                                           FormatCase{"s16_stereo_44100", 44100, 16, 2, 1},
                                           FormatCase{"s24_mono_48000", 48000, 24, 1, 1},
                                           FormatCase{"f32_stereo_32000", 32000, 32, 2, 3}),
                         [](const auto& p) { return std::string(p.param.label); });

TEST(SoundDevice, UnplayableFormatPlaysNothing) {
  platform::HeadlessAudio out;
  TSoundDevice device(out);
  TWaveList list;
  auto& adpcm = AddWave(list, "Odd", ConstantWave(0.5, 2205, 22050, 16, 1, 2));
  TWave truncated = ConstantWave(0.5, 2205);
  truncated.Format.resize(10);
  auto& shortFormat = AddWave(list, "Short", truncated);
  device.Prepare(list.Items);
  device.PlayItem(adpcm, false);
  device.PlayItem(shortFormat, false);
  EXPECT_EQ(SoundingFrames(out.Pull(4410)), 0);
}

TEST(SoundDevice, CopiesAreLimitedAndTheOldestIsReused) {
  platform::HeadlessAudio out;
  TSoundDevice device(out);
  TWaveList list;
  // Half a second at quarter scale; at most two copies at once.
  auto& item = AddWave(list, "Hit", ConstantWave(0.25, 11025), false, 2);
  device.PlayItem(item, false);  // copy A at 0.0 s
  auto pcm = out.Pull(4410);
  device.PlayItem(item, false);  // copy B at 0.1 s
  auto more = out.Pull(4410);
  pcm.insert(pcm.end(), more.begin(), more.end());
  device.PlayItem(item, false);  // both busy: A, the oldest, starts again at 0.2 s
  EXPECT_EQ(device.ExtraBufferCount(item), 2);
  more = out.Pull(44100);
  pcm.insert(pcm.end(), more.begin(), more.end());
  EXPECT_NEAR(Level(pcm, 6615, 8800), 0.5, 0.01);     // 0.15..0.2 s: A and B
  EXPECT_NEAR(Level(pcm, 9000, 26400), 0.5, 0.01);    // 0.2..0.6 s: A again and B
  EXPECT_NEAR(Level(pcm, 26600, 30800), 0.25, 0.01);  // 0.6..0.7 s: B has ended, A goes on
  EXPECT_NEAR(Level(pcm, 31000, 40000), 0.0, 0.001);  // after 0.7 s: A has ended too

  // Without a limit every busy play makes another copy.
  auto& free = AddWave(list, "Free", ConstantWave(0.1, 11025));
  for (int i = 0; i < 3; ++i) device.PlayItem(free, false);
  EXPECT_EQ(device.ExtraBufferCount(free), 3);
}

TEST(SoundDevice, LoopedSoundUsesOnlyThePrimaryBufferAndRepeats) {
  platform::HeadlessAudio out;
  TSoundDevice device(out);
  TWaveList list;
  auto& engine = AddWave(list, "Engine", ConstantWave(0.3, 2205), true);
  device.PlayItem(engine, false);
  device.PlayItem(engine, false);  // restarts the same buffer, never a second copy
  EXPECT_EQ(device.ExtraBufferCount(engine), 0);
  const auto pcm = out.Pull(44100);  // ten times the sound's length
  EXPECT_NEAR(Level(pcm, 0, 44100), 0.3, 0.01);
  EXPECT_TRUE(device.ItemPlaying(engine));
  device.StopItem(engine);
  EXPECT_FALSE(device.ItemPlaying(engine));
  EXPECT_EQ(SoundingFrames(out.Pull(4410)), 0);
}

TEST(SoundDevice, FrequencyPanAndVolumeOfTheItemApply) {
  platform::HeadlessAudio out;
  TSoundDevice device(out);
  TWaveList list;
  auto& item = AddWave(list, "Blip", ConstantWave(0.5, 2205));  // 0.1 s at 22 050 Hz
  item.Frequency = 44100;                                       // twice as fast: 0.05 s
  item.Pan = -10000;                                            // all left
  item.Volume = -602;                                           // half the amplitude
  device.PlayItem(item, false);
  const auto pcm = out.Pull(8820);
  EXPECT_NEAR(SoundingFrames(pcm), 2205, 3);
  EXPECT_NEAR(Level(pcm, 10, 2200, 0), 0.25, 0.01);
  EXPECT_NEAR(Level(pcm, 10, 2200, 1), 0.0, 0.001);
}

TEST(SoundDevice, LoudOverlapsAreLimitedNotWrapped) {
  platform::HeadlessAudio out;
  TSoundDevice device(out);
  TWaveList list;
  auto& item = AddWave(list, "Boom", ConstantWave(0.9, 22050));
  for (int i = 0; i < 8; ++i) device.PlayItem(item, false);
  const auto pcm = out.Pull(22050);
  for (std::int16_t s : pcm) ASSERT_GT(s, 0);
  EXPECT_GT(Level(pcm, 100, 22000), 0.95);
}

TEST(SoundDevice, WithoutAnOutputNothingIsMade) {
  struct NoAudio final : platform::AudioOutput {
    bool Available() const override { return false; }
    int SampleRate() const override { return 44100; }
    void SetSource(platform::AudioSource*) override { ADD_FAILURE() << "registered a source"; }
    void Lock() override {}
    void Unlock() override {}
  } out;
  TSoundDevice device(out);
  TWaveList list;
  auto& item = AddWave(list, "Beep", ConstantWave(0.5, 100));
  EXPECT_FALSE(device.Initialized());
  EXPECT_EQ(device.CreateBuffer(item.Wave()), nullptr);
  device.PlayItem(item, true);  // no buffer: nothing, and no waiting
  EXPECT_FALSE(device.ItemPlaying(item));
}

}  // namespace
}  // namespace trakvolt

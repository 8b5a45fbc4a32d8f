// The wave archive: item properties and defaults, the RIFF payload, name lookup, round trip.
#include "archive/wave_list.h"

#include <gtest/gtest.h>

#include "base/game_error.h"
#include "stream_builder.h"

using namespace trakvolt;
using namespace trakvolt::testing_archive;

namespace {

Bytes Fmt() {  // PCM, mono, 22050 Hz, 16 bits
  Bytes f;
  f.U16(1).U16(1).U32(22050).U32(44100).U16(2).U16(16);
  return f;
}

Bytes SoundArchive(const std::vector<Bytes>& items) {
  Bytes props;
  props.Prop("List").Add(Collection(items));
  return Archive(props);
}

std::string LoadError(const Bytes& archive) { return LoadErrorOf<TSoundCollection>(archive); }

}  // namespace

TEST(WaveList, ReadsEveryPropertyWithEachIntegerAndStringTag) {
  Bytes wave = Riff(
      {{"fmt ", Fmt()}, {"LIST", Bytes().Raw("odd")}, {"data", Bytes().U16(0x1234).U16(0xBEEF)}});
  Bytes first, second, third;
  first.Prop("Name")
      .Str("Engine")
      .Prop("Looped")
      .Bool(true)
      .Prop("MaxPlayingCount")
      .Int8(3)
      .Prop("Wave.WAVE")
      .Binary(wave);
  // Properties in another order, a long string name and a 16-bit count.
  second.Prop("MaxPlayingCount").Int16(-300).Prop("Looped").Bool(false).Prop("Name").LStr("Shot");
  third.Prop("MaxPlayingCount").Int32(70000);
  TSoundCollection c;
  c.LoadFromBytes(SoundArchive({first, second, third}).b);
  ASSERT_EQ(c.Count(), 3);
  EXPECT_EQ(c[0].Name(), "Engine");
  EXPECT_TRUE(c[0].Looped());
  EXPECT_EQ(c[0].MaxPlayingCount(), 3);
  EXPECT_EQ(c[0].Wave().Format, Fmt().b);
  EXPECT_EQ(c[0].Wave().SamplesPerSec(), 22050u);
  EXPECT_EQ(c[0].Wave().BitsPerSample(), 16);
  EXPECT_EQ(c[0].Wave().Samples, (std::vector<std::uint8_t>{0x34, 0x12, 0xEF, 0xBE}));
  EXPECT_EQ(c[1].Name(), "Shot");
  EXPECT_FALSE(c[1].Looped());
  EXPECT_EQ(c[1].MaxPlayingCount(), 0);  // negative stored as 0
  EXPECT_TRUE(c[1].Wave().Empty());
  // Defaults for what is absent.
  EXPECT_EQ(c[2].Name(), "");
  EXPECT_FALSE(c[2].Looped());
  EXPECT_EQ(c[2].MaxPlayingCount(), 70000);
  EXPECT_EQ(c[2].Frequency + c[2].Pan + c[2].Volume, 0);
  EXPECT_EQ(c[2].Index(), 2);
}

TEST(WaveList, RiffEdgeCases) {
  // An odd-length chunk is skipped by exactly its length, with no padding byte.
  TWave w = ParseRiffWave(
      Riff({{"junk", Bytes().Raw("abc")}, {"data", Bytes().U8(7)}, {"fmt ", Fmt()}}).b);
  EXPECT_EQ(w.Samples, std::vector<std::uint8_t>{7});
  EXPECT_EQ(w.Format, Fmt().b);
  // Trailing bytes too short for a chunk header end the scan.
  Bytes trailing = Riff({{"data", Bytes().U8(1)}});
  trailing.Raw("xyz");
  EXPECT_EQ(ParseRiffWave(trailing.b).Samples.size(), 1u);
  EXPECT_THROW(ParseRiffWave(Bytes().Raw("RIFF").U32(4).Raw("WAV").b), GameError);
  try {
    ParseRiffWave(Bytes().Raw("RIFX").U32(4).Raw("WAVE").b);
    FAIL();
  } catch (const GameError& e) {
    EXPECT_STREQ(e.what(), "Wave is invalid");
  }
  // A data chunk longer than the file.
  Bytes cut;
  cut.Raw("RIFF").U32(20).Raw("WAVE").Raw("data").U32(10).U8(1);
  try {
    ParseRiffWave(cut.b);
    FAIL();
  } catch (const GameError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
}

TEST(WaveList, LookupIgnoresCaseAndTheLastNamedWins) {
  TSoundCollection c;
  c.Add().SetName("Car5");
  c.Add().SetName("Other");
  EXPECT_EQ(&c.FindByName("car5"), &c[0]);
  EXPECT_EQ(&c.FindByName("CAR5"), &c[0]);
  c.Add().SetName("CAR5");
  EXPECT_EQ(c.FindByName("car5").Index(), 2);
  c[0].SetName("Car5");  // renaming moves it to the head again
  EXPECT_EQ(c.FindByName("car5").Index(), 0);
  c.Delete(0);
  EXPECT_EQ(c.FindByName("car5").Index(), 1);  // indices follow the removal
  try {
    c.FindByName("Missing");
    FAIL();
  } catch (const GameError& e) {
    EXPECT_STREQ(e.what(), "Wave 'Missing' not found");
  }
}

TEST(WaveList, WrittenArchiveReadsBackTheSame) {
  TSoundCollection c;
  TSoundCollectionItem& a = c.Add();
  a.SetName("Engine");
  a.SetLooped(true);
  a.SetMaxPlayingCount(40000);
  a.SetWave(TWave{Fmt().b, {1, 2, 3}});
  c.Add().SetName("Silent");
  const std::vector<std::uint8_t> bytes = c.SaveToBytes();
  EXPECT_EQ(bytes[0], 0xFF);
  TSoundCollection back;
  back.LoadFromBytes(bytes);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back[0].Name(), "Engine");
  EXPECT_TRUE(back[0].Looped());
  EXPECT_EQ(back[0].MaxPlayingCount(), 40000);
  EXPECT_EQ(back[0].Wave(), a.Wave());
  EXPECT_TRUE(back[1].Wave().Empty());
  EXPECT_EQ(back.SaveToBytes(), bytes);
}

TEST(WaveList, ErrorsAreWrappedForTheItemAndForTheList) {
  Bytes bad_wave;
  bad_wave.Prop("Name").Str("A").Prop("Wave.WAVE").Binary(Bytes().Raw("RIFF").U32(0).Raw("WAVX"));
  EXPECT_EQ(LoadError(SoundArchive({bad_wave})),
            "Error reading TSoundCollectionComponent.List: "
            "Error reading TSoundCollectionItem.Wave.WAVE: Wave is invalid");
  Bytes unknown;
  unknown.Prop("Volume").Int8(1);
  EXPECT_EQ(LoadError(SoundArchive({unknown})),
            "Error reading TSoundCollectionComponent.List: "
            "Error reading TSoundCollectionItem.Volume: Property Volume does not exist");
  Bytes root_unknown;
  root_unknown.Prop("Tag").Int8(0);
  EXPECT_EQ(LoadError(Archive(root_unknown, "TSoundCollectionComponent", "Sounds")),
            "Error reading Sounds.Tag: Property Tag does not exist");
}

TEST(WaveList, AfterAFailureTheItemsReadBeforeRemain) {
  Bytes good, bad;
  good.Prop("Name").Str("Tick");
  bad.Prop("Name").Str("Shot").Prop("Looped").Int8(1);
  TSoundCollection c;
  c.Add().SetName("Old");
  EXPECT_THROW(c.LoadFromBytes(SoundArchive({good, bad}).b), GameError);
  ASSERT_EQ(c.Count(), 2);  // "Old" went; the failing item was already appended
  EXPECT_EQ(c[0].Name(), "Tick");
  EXPECT_EQ(c[1].Name(), "Shot");
  EXPECT_EQ(&c.FindByName("tick"), &c[0]);
  EXPECT_THROW(c.FindByName("Old"), GameError);
}

TEST(WaveList, RootPrefixByteIsSkippedWithTheChildPositionItAnnounces) {
  Bytes props;
  props.Prop("List").Add(Collection({Bytes().Prop("Name").Str("Tick")}));
  for (const Bytes& prefix :
       {Bytes().U8(0xF1), Bytes().U8(0xF2).Int16(300), Bytes().U8(0xF6).Int8(1)}) {
    TSoundCollection c;
    c.LoadFromBytes(Archive(props, "TSoundCollectionComponent", "", prefix).b);
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c[0].Name(), "Tick");
  }
  // A child position that is not an integer.
  EXPECT_EQ(LoadError(Archive(props, "TSoundCollectionComponent", "", Bytes().U8(0xF2).Str("x"))),
            "Invalid property value");
}

TEST(WaveList, MissingFileNamesTheFileAsTheGameDoesAndTheReason) {
  TWaveList list;
  try {
    list.LoadArchive("Data/Res/NoSuch.dxw");
    FAIL();
  } catch (const GameError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file \"Data\\Res\\NoSuch.dxw\". No such file or directory");
  }
}

// Manifests: parsing and its errors, pack -> unpack -> pack byte identity, the contact sheet.
#include "archive_manifest.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_file.h"
#include "archive/image_list.h"
#include "archive/wave_list.h"
#include "archive_sheet.h"
#include "base/cp1251.h"
#include "base/game_error.h"
#include "base/png_file.h"
#include "stream_builder.h"

using namespace trakvolt;
using namespace trakvolt::testing_archive;
namespace fs = std::filesystem;

namespace {

fs::path FreshDir(const char* name) {
  const fs::path dir = fs::path(TRAKVOLT_BUILD_DIR) / "archive_test" / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

void WriteText(const fs::path& path, const std::string& text) {
  WriteArchiveFile(path.string(), std::vector<std::uint8_t>(text.begin(), text.end()));
}

Manifest ReadManifest(const fs::path& path) {
  const std::vector<std::uint8_t> text = ReadArchiveFile(path.string());
  return ParseManifest(std::string(text.begin(), text.end()), path.string());
}

}  // namespace

TEST(Manifest, ParsesEntriesOptionsQuotesAndComments) {
  const Manifest m = ParseManifest(
      "# menu pictures\n"
      "archive images\n"
      "\n"
      "image Car5 car5.png pattern=32x40 skip=2x-1 transparent=0 key=FF8000 system=1  # a car\n"
      "image \"Два слова\" \"with space.png\"\n",
      "m.txt");
  EXPECT_TRUE(m.images);
  ASSERT_EQ(m.entries.size(), 2u);
  const ManifestEntry& a = m.entries[0];
  EXPECT_EQ(a.name, "Car5");
  EXPECT_EQ(a.file, "car5.png");
  EXPECT_EQ(a.pattern_width, 32);
  EXPECT_EQ(a.pattern_height, 40);
  EXPECT_EQ(a.skip_width, 2);
  EXPECT_EQ(a.skip_height, -1);
  EXPECT_FALSE(a.transparent);
  EXPECT_EQ(a.key, 0x0080FFu);  // RRGGBB written, 0x00BBGGRR stored
  EXPECT_TRUE(a.system_memory);
  EXPECT_EQ(a.line, 4);
  EXPECT_EQ(m.entries[1].name, "Два слова");
  EXPECT_EQ(m.entries[1].file, "with space.png");
  EXPECT_TRUE(m.entries[1].transparent);
  EXPECT_EQ(ParseManifest(FormatManifest(m)).entries[0].key, 0x0080FFu);

  const Manifest s = ParseManifest("archive sounds\nwave Engine e.wav looped=1 max=3\n");
  EXPECT_FALSE(s.images);
  EXPECT_TRUE(s.entries[0].looped);
  EXPECT_EQ(s.entries[0].max_playing, 3);
}

TEST(Manifest, BadLinesNameTheLine) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"", "m: empty manifest (no 'archive' entry)"},
      {"image A a.png\n", "m:1: the first entry must be 'archive images' or 'archive sounds'"},
      {"archive images\nwave A a.wav\n", "m:2: 'wave' entry in an archive of images"},
      {"archive images\nimage A\n", "m:2: expected image NAME FILE [options]"},
      {"archive images\nimage A a.png pattern=3\n", "m:2: expected WxH, got 3"},
      {"archive images\nimage A a.png skip=ax2\n", "m:2: not a number: a"},
      {"archive images\nimage A a.png key=red\n", "m:2: key must be RRGGBB, got red"},
      {"archive images\nimage A a.png looped=1\n", "m:2: unknown option 'looped' for image"},
      {"archive sounds\nwave A a.wav looped=yes\n", "m:2: expected 0 or 1, got yes"},
      {"archive sounds\nwave \"A a.wav\n", "m:2: unterminated quote"},
      {"archive sounds\nsound A a.wav\n", "m:2: unknown entry 'sound'"},
  };
  for (const auto& [text, message] : cases) {
    try {
      ParseManifest(text, "m");
      ADD_FAILURE() << text;
    } catch (const GameError& e) {
      EXPECT_EQ(e.what(), message);
    }
  }
}

TEST(Manifest, ImagesPackUnpackPackIsByteIdentical) {
  const fs::path src = FreshDir("images_src");
  RgbImage strip = MakeRgbImage(6, 3, 0, 0, 0);
  for (int x = 0; x < 6; ++x) strip.At(x, x % 3)[0] = static_cast<std::uint8_t>(40 * x + 7);
  WritePng((src / "strip.png").string(), strip);
  WritePng((src / "dot.png").string(), MakeRgbImage(1, 1, 1, 2, 3));
  WriteText(src / "images.txt",
            "archive images\n"
            "image Strip strip.png pattern=2x3 key=0000FF\n"
            "image \"Точка и пробел\" dot.png transparent=0 system=1 key=1FFFFFFF\n"
            "image strip strip.png skip=1x0\n"  // same file name once unpacked, ignoring case
            "image Nothing -\n");
  const std::vector<std::uint8_t> first = PackArchive(ReadManifest(src / "images.txt"), src);
  const fs::path out = FreshDir("images_out");
  const Manifest m = UnpackArchive(first, out);
  ASSERT_EQ(m.entries.size(), 4u);
  EXPECT_EQ(m.entries[2].file, "strip_2.png");
  EXPECT_EQ(m.entries[3].file, "-");
  EXPECT_EQ(ReadPng((out / "Strip.png").string()).rgba, strip.rgba);
  EXPECT_EQ(PackArchive(ReadManifest(out / "manifest.txt"), out), first);

  TImageCollection c;
  c.LoadFromBytes(first);
  EXPECT_EQ(c.FindByName(Utf8ToCp1251("точка И ПРОБЕЛ")).TransparentColor(), 0x1FFFFFFFu);
  const Surface sheet = ContactSheet(c);
  WritePng((out / "sheet.png").string(), sheet);
  EXPECT_GE(sheet.Width(), 640);
}

TEST(Manifest, SoundsPackUnpackPackIsByteIdentical) {
  const fs::path src = FreshDir("sounds_src");
  Bytes fmt;
  fmt.U16(1).U16(1).U32(22050).U32(22050).U16(1).U16(8);
  // An ordinary .wav: an odd LIST chunk padded to even length, then odd-length data.
  Bytes wav;
  wav.Raw("RIFF")
      .U32(0)
      .Raw("WAVE")
      .Raw("fmt ")
      .U32(16)
      .Add(fmt)
      .Raw("LIST")
      .U32(3)
      .Raw("abc")
      .U8(0)
      .Raw("data")
      .U32(3)
      .U8(1)
      .U8(2)
      .U8(3)
      .U8(0);
  WriteArchiveFile((src / "tick.wav").string(), wav.b);
  WriteText(
      src / "sounds.txt",
      "archive sounds\nwave Tick tick.wav max=-2\nwave Engine tick.wav looped=1\nwave Quiet -\n");
  const std::vector<std::uint8_t> first = PackArchive(ReadManifest(src / "sounds.txt"), src);
  TSoundCollection c;
  c.LoadFromBytes(first);
  EXPECT_EQ(c[0].Wave().Samples, (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(c[0].MaxPlayingCount(), 0);
  const fs::path out = FreshDir("sounds_out");
  const Manifest m = UnpackArchive(first, out);
  EXPECT_EQ(PackArchive(ReadManifest(out / "manifest.txt"), out), first);
  EXPECT_EQ(m.entries[1].file, "Engine.wav");
}

TEST(Manifest, PackNamesTheEntryThatFails) {
  const fs::path src = FreshDir("bad_src");
  WriteText(src / "junk.wav", "RIFF....WAVX");
  try {
    PackArchive(ParseManifest("archive sounds\n\nwave Junk junk.wav\n"), src);
    FAIL();
  } catch (const GameError& e) {
    EXPECT_STREQ(e.what(), "line 3 (Junk): Wave is invalid");
  }
  EXPECT_THROW(PackArchive(ParseManifest("archive images\nimage A missing.png\n"), src), GameError);
}

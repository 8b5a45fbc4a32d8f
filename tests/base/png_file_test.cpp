// PNG files: RGB565 pictures survive a write and read, and bad files raise clear errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/game_error.h"
#include "base/png_file.h"

using namespace trakvolt;

namespace {
std::string TempPath(const char* name) {
  return (std::filesystem::path(TRAKVOLT_BUILD_DIR) / name).string();
}
}  // namespace

TEST(PngFile, SurfaceRoundTripKeepsRgb565ValuesAndExpandsByReplication) {
  Surface s(3, 2);
  const Pixel565 values[] = {0x0000, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x8A51};
  for (int i = 0; i < 6; ++i) s.Pixels()[i] = values[i];
  const std::string path = TempPath("png_roundtrip.png");
  WritePng(path, s);
  const RgbImage img = ReadPng(path);
  ASSERT_EQ(img.width, 3);
  ASSERT_EQ(img.height, 2);
  EXPECT_FALSE(img.has_alpha);
  for (int i = 0; i < 6; ++i) {
    const std::uint8_t* p = img.At(i % 3, i / 3);
    EXPECT_EQ(Rgb565(p[0], p[1], p[2]), values[i]) << i;
  }
  EXPECT_EQ(img.At(1, 0)[0], 255);  // white stays white
  EXPECT_EQ(img.At(2, 1)[0], Expand5(0x8A51 >> 11));
}

TEST(PngFile, AlphaIsKept) {
  RgbImage img = MakeRgbImage(2, 1, 10, 20, 30, true);
  img.At(1, 0)[3] = 0;
  const std::string path = TempPath("png_alpha.png");
  WritePng(path, img);
  const RgbImage back = ReadPng(path);
  EXPECT_TRUE(back.has_alpha);
  EXPECT_EQ(back.rgba, img.rgba);
}

TEST(PngFile, MissingAndMalformedFilesRaiseGameError) {
  EXPECT_THROW(ReadPng(TempPath("no_such_file.png")), GameError);
  const std::string junk = TempPath("png_junk.png");
  std::ofstream(junk, std::ios::binary) << "not a png at all";
  EXPECT_THROW(ReadPng(junk), GameError);
  EXPECT_THROW(DecodePng({1, 2, 3}), GameError);
  EXPECT_THROW(WritePng(TempPath("no_dir/x.png"), Surface(1, 1)), GameError);
}

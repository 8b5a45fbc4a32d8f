// PNG files: RGB565 pictures survive a write and read, and bad files raise clear errors.
#include "base/png_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "base/game_error.h"

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

namespace {

// The CRC the PNG chunks carry.
std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// A PNG that is only a header claiming `width` x `height`: a reader that allocates the pixels
// before checking the size would ask for gigabytes.
std::vector<std::uint8_t> HeaderOnlyPng(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const auto put32 = [](std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
      out.push_back(static_cast<std::uint8_t>(v >> shift));
  };
  std::vector<std::uint8_t> chunk = {'I', 'H', 'D', 'R'};
  put32(chunk, width);
  put32(chunk, height);
  for (int b : {8, 2, 0, 0, 0}) chunk.push_back(static_cast<std::uint8_t>(b));  // 8-bit RGB
  put32(png, 13);
  png.insert(png.end(), chunk.begin(), chunk.end());
  put32(png, Crc32(chunk));
  for (const char* name : {"IDAT", "IEND"}) {  // no pixel data at all
    const std::vector<std::uint8_t> empty(name, name + 4);
    put32(png, 0);
    png.insert(png.end(), empty.begin(), empty.end());
    put32(png, Crc32(empty));
  }
  return png;
}

}  // namespace

TEST(PngFile, OversizedPicturesAreRefusedBeforeTheirPixelsAreAllocated) {
  for (auto [w, h] :
       {std::pair{16384u, 16384u}, std::pair{8192u, 4096u}, std::pair{16384u, 1025u}}) {
    try {
      DecodePng(HeaderOnlyPng(w, h));
      ADD_FAILURE() << w << "x" << h << " was accepted";
    } catch (const GameError& e) {
      EXPECT_NE(std::string(e.what()).find("unsupported size"), std::string::npos) << e.what();
    }
  }
  // Just inside the limit the size is accepted and the missing pixel data is what fails.
  try {
    DecodePng(HeaderOnlyPng(4096, 4096));
  } catch (const GameError& e) {
    EXPECT_EQ(std::string(e.what()).find("unsupported size"), std::string::npos) << e.what();
  }
}

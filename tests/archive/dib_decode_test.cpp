// Bitmap decoding: every bit depth, run-length codes, bit fields, row order, and the failures.
#include "archive/dib_decode.h"

#include <gtest/gtest.h>

#include "base/game_error.h"
#include "picture_builder.h"

using namespace trakvolt;
using namespace trakvolt::testing_archive;

namespace {

constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, K = 0x000000, W = 0xFFFFFF;

struct DibCase {
  const char* what;
  Bytes payload;
  std::vector<std::vector<std::uint32_t>> expected;  // top row first, 0xRRGGBB
};

void PrintTo(const DibCase& c, std::ostream* os) { *os << c.what; }

std::vector<std::vector<std::uint32_t>> Pixels(const RgbImage& img) {
  std::vector<std::vector<std::uint32_t>> rows(static_cast<std::size_t>(img.height));
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const std::uint8_t* p = img.At(x, y);
      rows[static_cast<std::size_t>(y)].push_back((p[0] << 16) | (p[1] << 8) | p[2]);
    }
  return rows;
}

std::vector<DibCase> Cases() {
  const std::vector<std::uint32_t> pal{K, R, G, B};
  std::vector<std::uint32_t> pal16(16, K);
  pal16[1] = R;
  pal16[15] = W;
  return {
      // 9 pixels of 1 bit: two bytes used, two bytes of row padding.
      {"1 bit",
       TDib(Dib40(9, 1, 1, 0, {K, W}, Bytes().U8(0x80).U8(0x80).U16(0))),
       {{W, K, K, K, K, K, K, K, W}}},
      {"4 bits, 12-byte header, bottom-up",
       TDib(Dib12(3, 2, 4, pal16, Bytes().U8(0x1F).U8(0x00).U16(0).U8(0xF1).U8(0x10).U16(0))),
       {{W, R, R}, {R, W, K}}},
      // Three palette entries; index 5 lies past them and shows black.
      {"8 bits, colours used",
       TDib(Dib40(2, 1, 8, 0, {R, G, B}, Bytes().U8(2).U8(5).U16(0), 3)),
       {{B, K}}},
      {"16 bits, 5-5-5",
       TDib(Dib40(2, 1, 16, 0, {}, Bytes().U16(0x7C00).U16(0x4210))),
       {{R, 0x848484}}},
      {"16 bits, 5-6-5 bit fields",
       TDib(Dib40(2, 1, 16, 3, {}, Bytes().U16(0x07E0).U16(0x8410), 0, {0xF800, 0x07E0, 0x001F})),
       {{G, 0x848284}}},
      {"24 bits, top-down",
       TDib(Dib40(1, -2, 24, 0, {}, Bytes().U8(1).U8(2).U8(3).U8(0).U8(4).U8(5).U8(6).U8(0))),
       {{0x030201}, {0x060504}}},
      {"32 bits", TDib(Dib40(1, 1, 32, 0, {}, Bytes().U32(0x44332211))), {{0x332211}}},
      {"32 bits, bit fields",
       TDib(Dib40(1, 1, 32, 3, {}, Bytes().U32(0x44332211), 0, {0xFF, 0xFF00, 0xFF0000})),
       {{0x112233}}},
      // Run of 1, delta (+1, +1 row), run of 2, end of line, absolute 3 (padded), end.
      {"RLE8",
       TDib(Dib40(4, 3, 8, 1, pal,
                  Bytes()
                      .U8(1)
                      .U8(3)
                      .U8(0)
                      .U8(2)
                      .U8(1)
                      .U8(1)
                      .U8(2)
                      .U8(2)
                      .U8(0)
                      .U8(0)
                      .U8(0)
                      .U8(3)
                      .U8(1)
                      .U8(2)
                      .U8(3)
                      .U8(0)
                      .U8(0)
                      .U8(1),
                  4)),
       {{R, G, B, K}, {K, K, G, G}, {B, K, K, K}}},
      // Run of 5 alternating nibbles, end of line, absolute 3, delta +1, run of 1, end.
      {"RLE4",
       TDib(Dib40(5, 2, 4, 2, pal,
                  Bytes()
                      .U8(5)
                      .U8(0x12)
                      .U8(0)
                      .U8(0)
                      .U8(0)
                      .U8(3)
                      .U8(0x31)
                      .U8(0x20)
                      .U8(0)
                      .U8(2)
                      .U8(1)
                      .U8(0)
                      .U8(1)
                      .U8(0x30)
                      .U8(0)
                      .U8(1),
                  4)),
       {{B, R, G, K, B}, {R, G, R, G, R}}},
      {"bitmap file", TBitmap(Dib24({{R, G}})), {{R, G}}},
  };
}

class DibDecode : public testing::TestWithParam<DibCase> {};

TEST_P(DibDecode, GivesTheExpectedPixels) {
  const std::optional<RgbImage> img = DecodePicturePayload(GetParam().payload.b);
  ASSERT_TRUE(img.has_value());
  EXPECT_EQ(Pixels(*img), GetParam().expected);
  // Decoding straight into RGB565 gives what converting the 8-bit picture gives.
  const std::optional<Surface> direct = DecodePicturePayload565(GetParam().payload.b);
  ASSERT_TRUE(direct.has_value());
  const Surface converted = ToSurface565(*img);
  ASSERT_EQ(direct->Width(), converted.Width());
  ASSERT_EQ(direct->Height(), converted.Height());
  for (int y = 0; y < converted.Height(); ++y)
    for (int x = 0; x < converted.Width(); ++x)
      EXPECT_EQ(direct->At(x, y), converted.At(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Variants, DibDecode, testing::ValuesIn(Cases()), [](const auto& p) {
  std::string n = p.param.what;
  for (char& c : n)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return n;
});

struct BadCase {
  const char* what;
  Bytes payload;
  const char* message;
};

TEST(DibDecode, FailuresNameTheirCause) {
  const std::vector<BadCase> cases{
      {"header size 20", TDib(Bytes().U32(20).U32(1).U32(1)), "DIB is invalid"},
      {"compression 4", TDib(Dib40(1, 1, 24, 4, {}, Bytes().U32(0))), "DIB is invalid"},
      {"2 bits per pixel", TDib(Dib40(1, 1, 2, 0, {}, Bytes().U32(0))), "DIB is invalid"},
      {"RLE8 at 4 bits", TDib(Dib40(1, 1, 4, 1, {}, Bytes().U16(0x0100))), "DIB is invalid"},
      {"bit fields at 24 bits", TDib(Dib40(1, 1, 24, 3, {}, Bytes().U32(0))), "DIB is invalid"},
      {"zero width", TDib(Dib40(0, 1, 24, 0, {}, Bytes())), "DIB is invalid"},
      {"file header without BM",
       Bytes().Short("TBitmap").U32(16).Raw("XM").U32(0).U32(0).U32(0).U16(0), "DIB is invalid"},
      {"pixels cut short", TDib(Dib40(2, 2, 24, 0, {}, Bytes().U32(0).U32(0))),
       "Stream read error"},
      {"palette cut short", TDib(Dib40(1, 1, 8, 0, {R, G}, Bytes())), "Stream read error"},
      {"RLE cut inside a run", TDib(Dib40(4, 1, 8, 1, {R}, Bytes().U8(0).U8(4).U8(0))),
       "Stream read error"},
  };
  for (const BadCase& c : cases) {
    try {
      DecodePicturePayload(c.payload.b);
      ADD_FAILURE() << c.what << " decoded";
    } catch (const GameError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.what;
    }
    try {
      DecodePicturePayload565(c.payload.b);
      ADD_FAILURE() << c.what << " decoded to RGB565";
    } catch (const GameError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.what;
    }
  }
}

TEST(DibDecode, KindsWithoutBitmapGiveNoPicture) {
  EXPECT_FALSE(DecodePicturePayload(Bytes().Short("TDIB").b).has_value());
  EXPECT_FALSE(DecodePicturePayload(Bytes().Short("TIcon").U32(0x00010000).b).has_value());
  EXPECT_FALSE(DecodePicturePayload(Bytes().Short("TMetafile").U32(7).b).has_value());
  EXPECT_FALSE(DecodePicturePayload(Bytes().Short("TJPEGImage").U32(7).b).has_value());
  EXPECT_FALSE(DecodePicturePayload565(Bytes().Short("TDIB").b).has_value());
  EXPECT_FALSE(DecodePicturePayload565(Bytes().Short("TIcon").U32(0x00010000).b).has_value());
}

}  // namespace

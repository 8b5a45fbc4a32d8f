// The screen guard's comparison on small pictures in a private folder: what passes, what a
// failure says and leaves behind, and when the references are renewed.
#include "pictures/picture_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/png_file.h"

namespace trakvolt::testing_support {
namespace {
namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr Pixel565 kMagenta = 0xF81F, kYellow = 0xFFE0;

class PictureCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(TRAKVOLT_BUILD_DIR) / "picture_check_test" /
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir);
    places = {dir / "reference", dir / "failures", dir / "art", "renew-it build"};
    fs::create_directories(places.references);
    fs::create_directories(places.art);
    std::ofstream(places.art / "Res1.dxg") << "menus";
    std::ofstream(places.art / "Res3.dxg") << "race";
  }

  // A 40x30 picture with every pixel distinct from its neighbours.
  static Surface Picture() {
    Surface s(40, 30);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) s.At(x, y) = static_cast<Pixel565>(Rgb565(x * 6, y * 8, 128));
    return s;
  }
  static Surface Read(const fs::path& path) { return ToSurface565(ReadPng(path.string())); }
  static bool Same(const Surface& a, const Surface& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && Compare(a, b).count == 0;
  }
  void Reference(const std::string& name, const Surface& s) {
    WritePng((places.references / (name + ".png")).string(), s);
  }

  fs::path dir;
  GuardPlaces places;
};

TEST_F(PictureCheckTest, AnEqualPicturePassesAndClearsAnEarlierFailure) {
  Reference("menu", Picture());
  fs::create_directories(places.failures);
  std::ofstream(places.failures / "menu.png") << "left from a failed run";
  EXPECT_TRUE(PictureGuard(places, nullptr).Check("menu", Picture()));
  EXPECT_FALSE(fs::exists(places.failures / "menu.png"));
}

TEST_F(PictureCheckTest, OneChangedPixelIsCountedBoxedAndLeftInTwoPictures) {
  Reference("menu", Picture());
  Surface changed = Picture();
  changed.At(20, 12) = 0;
  const ::testing::AssertionResult r = PictureGuard(places, nullptr).Check("menu", changed);
  EXPECT_FALSE(r);
  EXPECT_THAT(r.message(), HasSubstr("1 pixel differs, within x 20..20, y 12..12 (1x1)"));
  EXPECT_THAT(r.message(), HasSubstr((places.failures / "menu.png").string()));
  EXPECT_THAT(r.message(), HasSubstr((places.failures / "menu.diff.png").string()));
  EXPECT_THAT(r.message(), HasSubstr("renew-it build"));
  EXPECT_TRUE(Same(Read(places.failures / "menu.png"), changed));
  const Surface diff = Read(places.failures / "menu.diff.png");
  EXPECT_EQ(diff.At(20, 12), kMagenta);
  for (const auto& [x, y] : {std::pair{18, 10}, {22, 14}, {20, 10}, {18, 12}})
    EXPECT_EQ(diff.At(x, y), kYellow) << x << "," << y;
  // Elsewhere the reference shows through, dimmed.
  for (const auto& [x, y] : {std::pair{0, 0}, {19, 12}, {39, 29}}) {
    EXPECT_NE(diff.At(x, y), kYellow);
    EXPECT_NE(diff.At(x, y), kMagenta);
    EXPECT_LE(diff.At(x, y) >> 11, Picture().At(x, y) >> 11);
  }
  EXPECT_LT(diff.At(39, 29) & 0x1F, Picture().At(39, 29) & 0x1F);
}

TEST_F(PictureCheckTest, TheBoxSpansEveryDifferenceAndTheFrameStaysInsideThePicture) {
  Reference("menu", Picture());
  Surface changed = Picture();
  changed.At(0, 3) = changed.At(39, 0) = changed.At(10, 29) = 0;
  const ::testing::AssertionResult r = PictureGuard(places, nullptr).Check("menu", changed);
  EXPECT_THAT(r.message(), HasSubstr("3 pixels differ, within x 0..39, y 0..29 (40x30)"));
  const Surface diff = Read(places.failures / "menu.diff.png");
  EXPECT_EQ(diff.At(0, 3), kMagenta);
  EXPECT_EQ(diff.At(0, 10), kYellow);
  EXPECT_EQ(diff.At(39, 29), kYellow);
}

TEST_F(PictureCheckTest, ASizeMismatchFailsNamingBothSizes) {
  Reference("menu", Picture());
  const ::testing::AssertionResult r = PictureGuard(places, nullptr).Check("menu", Surface(30, 40));
  EXPECT_FALSE(r);
  EXPECT_THAT(r.message(), HasSubstr("menu is 30x40 but its reference"));
  EXPECT_THAT(r.message(), HasSubstr("is 40x30"));
  EXPECT_TRUE(fs::exists(places.failures / "menu.png"));
  EXPECT_FALSE(fs::exists(places.failures / "menu.diff.png"));
}

TEST_F(PictureCheckTest, AMissingOrBrokenReferenceFailsNamingTheRenewCommand) {
  std::ofstream(places.references / "broken.png") << "not a picture";
  for (const char* name : {"missing", "broken"}) {
    const ::testing::AssertionResult r = PictureGuard(places, nullptr).Check(name, Picture());
    EXPECT_FALSE(r) << name;
    EXPECT_THAT(r.message(), HasSubstr("has no usable reference")) << name;
    EXPECT_THAT(r.message(), HasSubstr("renew the references to add it: renew-it build")) << name;
    EXPECT_TRUE(fs::exists(places.failures / (std::string(name) + ".png"))) << name;
  }
}

TEST_F(PictureCheckTest, AFailureTellsANewArtFromANewDrawing) {
  const std::string renew = places.references.string();
  ASSERT_TRUE(PictureGuard(places, renew.c_str()).Check("menu", Picture()));
  Surface changed = Picture();
  changed.At(1, 1) = 0;
  const char* const drawing = "the drawing changed";
  const char* const art =
      "the generated art changed since the references were made (a new librsvg, cairo or "
      "FreeType can move pixels)";

  ::testing::AssertionResult r = PictureGuard(places, nullptr).Check("menu", changed);
  EXPECT_THAT(r.message(), HasSubstr(drawing));
  EXPECT_THAT(r.message(), Not(HasSubstr(art)));

  std::ofstream(places.art / "Res3.dxg") << "race, drawn by a newer cairo";
  r = PictureGuard(places, nullptr).Check("menu", changed);
  EXPECT_THAT(r.message(), HasSubstr(art));
  EXPECT_THAT(r.message(), HasSubstr("Res3.dxg was 0x"));
  EXPECT_THAT(r.message(), Not(HasSubstr("Res1.dxg was")));
  EXPECT_THAT(r.message(), Not(HasSubstr(drawing)));
}

TEST_F(PictureCheckTest, OnlyTheReferenceFoldersOwnPathRenews) {
  Reference("menu", Picture());
  Surface changed = Picture();
  changed.At(3, 4) = 0;
  fs::create_directories(dir / "elsewhere");
  const std::string stray[] = {"",
                               "1",
                               "reference",
                               dir.string(),
                               (dir / "elsewhere").string(),
                               (dir / "reference" / "..").string(),
                               fs::relative(places.references).string()};
  for (const std::string& value : stray) {
    PictureGuard guard(places, value.c_str());
    EXPECT_FALSE(guard.Renewing()) << value;
    EXPECT_FALSE(guard.Check("menu", changed)) << value;
  }
  EXPECT_FALSE(PictureGuard(places, nullptr).Renewing());
  EXPECT_TRUE(Same(Read(places.references / "menu.png"), Picture()));
  EXPECT_FALSE(fs::exists(places.references / "art.txt"));

  // A reference equal in pixels is left as it is: this one was written with an alpha channel.
  RgbImage same = MakeRgbImage(2, 2, 255, 255, 255, true);
  WritePng((places.references / "kept.png").string(), same);
  for (const std::string& value : {places.references.string(), places.references.string() + "/"}) {
    PictureGuard guard(places, value.c_str());
    ASSERT_TRUE(guard.Renewing()) << value;
    EXPECT_TRUE(guard.Check("menu", changed)) << value;
    EXPECT_TRUE(guard.Check("new", Picture())) << value;
    EXPECT_TRUE(guard.Check("kept", Surface(2, 2, 0xFFFF))) << value;
  }
  EXPECT_TRUE(Same(Read(places.references / "menu.png"), changed));
  EXPECT_TRUE(Same(Read(places.references / "new.png"), Picture()));
  EXPECT_TRUE(ReadPng((places.references / "kept.png").string()).has_alpha);
  std::ifstream art(places.references / "art.txt");
  const std::string text((std::istreambuf_iterator<char>(art)), std::istreambuf_iterator<char>());
  EXPECT_THAT(text, HasSubstr("Res1.dxg " + FingerprintArt(places.art)[0].second));
  EXPECT_THAT(text, HasSubstr("Res3.dxg " + FingerprintArt(places.art)[1].second));
  EXPECT_TRUE(PictureGuard(places, nullptr).Check("menu", changed));
}

}  // namespace
}  // namespace trakvolt::testing_support

// The desktop icon: drawn from a picture's own SVG, square at every size, a tile with see-through
// corners and the picture in the middle.
#include "app_icon.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "base/png_file.h"

namespace trakvolt::art {
namespace {

TEST(AppIcon, EveryHicolorSizeFromThePlayersCar) {
  std::string pattern = (std::filesystem::temp_directory_path() / "trakvolt-icons-XXXXXX").string();
  const std::filesystem::path out = ::mkdtemp(pattern.data());
  // The fixtures folder is tests/assets/fixtures; the art is in the source tree's assets/.
  const std::filesystem::path car =
      std::filesystem::path(TRAKVOLT_FIXTURES).parent_path().parent_path().parent_path() /
      "assets/images/res3/car1.svg";
  WriteIcons(car, out, "trakvolt", {16, 48, 256});
  EXPECT_TRUE(std::filesystem::exists(out / "scalable/apps/trakvolt.svg"));
  for (const int size : {16, 48, 256}) {
    SCOPED_TRACE(size);
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    const RgbImage icon = ReadPng((out / folder / "apps/trakvolt.png").string());
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    EXPECT_TRUE(icon.has_alpha);
    EXPECT_EQ(icon.At(0, 0)[3], 0) << "the rounded corner is see-through";
    const std::uint8_t* middle = icon.At(size / 2, size / 2);
    EXPECT_EQ(middle[3], 255);
    EXPECT_GT(middle[0], middle[2] + 60) << "the red car is in the middle";
  }
  std::filesystem::remove_all(out);
}

TEST(AppIcon, APictureWithoutAViewBoxIsRefused) {
  EXPECT_THROW(ComposeIconSvg("<svg width=\"4\" height=\"4\"></svg>"), std::runtime_error);
  EXPECT_THROW(ComposeIconSvg("not svg"), std::runtime_error);
  const std::string svg = ComposeIconSvg(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 50 100\"><rect id=\"r\"/></svg>");
  EXPECT_NE(svg.find("viewBox=\"0 0 50 100\""), std::string::npos);
  EXPECT_NE(svg.find("<rect id=\"r\"/>"), std::string::npos);
  EXPECT_NE(svg.find("width=\"100.00\" height=\"200.00\""), std::string::npos);
}

}  // namespace
}  // namespace trakvolt::art

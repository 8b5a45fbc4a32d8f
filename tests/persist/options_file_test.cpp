// The options file: flags, country, check text line and reading rules.
#include "persist/options_file.h"

#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "helpers.h"

using namespace trakvolt;
using savetest::DefaultTable;

TEST(OptionsFile, WritesFlagsCountryAndTheFreshCheck) {
  savetest::TempSaveFolder folder;
  SaveOptions({true, false, true, ""}, DefaultTable(), folder.Path());
  folder.CopyFixture("options_default", "expected");
  EXPECT_EQ(folder.Read("options"), folder.Read("expected"));
}

TEST(OptionsFile, AnyNonZeroFlagLoadsAsSetAndIsWrittenBackAsOne) {
  savetest::TempSaveFolder folder;
  folder.Write("options", "2\r\n-1\r\n0\r\nX\r\nCHK\r\n");
  TGameOptions options;
  std::string check;
  LoadOptions(options, check, folder.Path());
  EXPECT_TRUE(options.FullScreen);
  EXPECT_TRUE(options.MusicOn);
  EXPECT_FALSE(options.SoundOn);
  EXPECT_EQ(options.Country, "X");
  EXPECT_EQ(check, "CHK");
  SaveOptions(options, DefaultTable(), folder.Path());
  EXPECT_EQ(folder.Read("options").substr(0, 12), "1\r\n1\r\n0\r\nX\r\n");
}

TEST(OptionsFile, CyrillicCountrySurvivesAndWritingTwiceIsIdentical) {
  savetest::TempSaveFolder folder;
  const TGameOptions options{false, true, false, Utf8ToCp1251("РОССИЯ  И ЕЩЁ")};
  SaveOptions(options, DefaultTable(), folder.Path());
  const std::string first = folder.Read("options");
  SaveOptions(options, DefaultTable(), folder.Path());
  EXPECT_EQ(folder.Read("options"), first);

  TGameOptions loaded;
  std::string check;
  LoadOptions(loaded, check, folder.Path());
  EXPECT_EQ(loaded.Country, options.Country);
  EXPECT_EQ(loaded.MusicOn, true);
  EXPECT_TRUE(ScoreCheckMatches(DefaultTable(), check));
}

TEST(OptionsFile, ShortFileLeavesTheRestOffAndEmpty) {
  savetest::TempSaveFolder folder;
  folder.Write("options", "1\r\n");
  TGameOptions options;  // music and sound on before loading
  std::string check = "old";
  LoadOptions(options, check, folder.Path());
  EXPECT_TRUE(options.FullScreen);
  EXPECT_FALSE(options.MusicOn);
  EXPECT_FALSE(options.SoundOn);
  EXPECT_EQ(options.Country, "");
  EXPECT_EQ(check, "");
}

TEST(OptionsFile, FlagThatDoesNotConvertIsAnErrorAndChangesNothing) {
  savetest::TempSaveFolder folder;
  folder.Write("options", "1\r\nyes\r\n1\r\n\r\n");
  TGameOptions options{false, true, true, "KEPT"};
  std::string check = "KEPT";
  EXPECT_EQ(savetest::ErrorOf([&] { LoadOptions(options, check, folder.Path()); }),
            "Invalid numeric input");
  EXPECT_EQ(options.Country, "KEPT");
  EXPECT_TRUE(options.MusicOn);
  EXPECT_EQ(check, "KEPT");
}

// Where the game works: beside its data, or in the player's data-home folder linked to the
// installed data, and what it says when neither can be had.
#include "platform/data_home.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace trakvolt::platform {
namespace {
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

// A scratch tree: an installed prefix (share/trakvolt with Data/Res, Data/Music, website.url),
// a home folder and a bare working folder.
class DataHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trakvolt-home-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    installed_ = MakeInstall("usr");
    fs::create_directories(root_ / "home");
    fs::create_directories(root_ / "cwd");
    in_.working_dir = root_ / "cwd";
    in_.home = (root_ / "home").string();
    in_.data_beside_program = installed_;
    in_.configured_data = root_ / "configured/share/trakvolt";
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path MakeInstall(const std::string& prefix) {
    const fs::path data = root_ / prefix / "share/trakvolt";
    Write(data / "Data/Res/Res1.dxg", prefix);
    Write(data / "Data/Music/Menu.xm", prefix);
    Write(data / "website.url", prefix);
    return data;
  }
  fs::path PlayerFolder() const { return root_ / "home/.local/share/trakvolt"; }

  fs::path root_, installed_;
  DataHomeInputs in_;
};

TEST_F(DataHomeTest, StaysInAFolderThatHoldsTheData) {
  fs::create_directories(in_.working_dir / "Data/Res");
  const DataHome home = ChooseDataHome(in_);
  EXPECT_TRUE(home.stay);
  EXPECT_EQ(home.folder, in_.working_dir);
  PrepareDataHome(home);
  EXPECT_FALSE(fs::exists(in_.working_dir / "Data/Save"));
  EXPECT_FALSE(fs::exists(PlayerFolder()));
}

TEST_F(DataHomeTest, PicksTheXdgDataHomeOrFallsBackToHome) {
  struct Case {
    std::optional<std::string> xdg;
    bool home_set;
    std::string folder;  // relative to the scratch root; empty: an error
  };
  const Case cases[] = {
      {"XDG", true, "XDG/trakvolt"},
      {std::nullopt, true, "home/.local/share/trakvolt"},
      {"", true, "home/.local/share/trakvolt"},              // set but empty
      {"relative/dir", true, "home/.local/share/trakvolt"},  // relative: ignored
      {"XDG", false, "XDG/trakvolt"},
      {std::nullopt, false, ""},
      {"relative/dir", false, ""},
  };
  for (const Case& c : cases) {
    DataHomeInputs in = in_;
    in.xdg_data_home = c.xdg && *c.xdg == "XDG" ? (root_ / "XDG").string() : c.xdg;
    if (!c.home_set) in.home.reset();
    SCOPED_TRACE(c.folder);
    if (c.folder.empty()) {
      EXPECT_THROW(ChooseDataHome(in), DataHomeError);
      continue;
    }
    const DataHome home = ChooseDataHome(in);
    EXPECT_FALSE(home.stay);
    EXPECT_EQ(home.folder, root_ / c.folder);
    EXPECT_EQ(home.installed, installed_);
  }
}

TEST_F(DataHomeTest, FindsTheDataBesideTheProgramFirstThenTheConfiguredPrefix) {
  const fs::path configured = MakeInstall("configured");
  EXPECT_EQ(ChooseDataHome(in_).installed, installed_);
  in_.data_beside_program = root_ / "relocated/share/trakvolt";  // nothing there
  EXPECT_EQ(ChooseDataHome(in_).installed, configured);
  in_.data_beside_program.clear();
  EXPECT_EQ(ChooseDataHome(in_).installed, configured);
}

TEST_F(DataHomeTest, NoInstalledDataIsAClearError) {
  in_.data_beside_program = root_ / "nowhere/share/trakvolt";
  try {
    ChooseDataHome(in_);
    FAIL() << "no error";
  } catch (const DataHomeError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("not installed"), std::string::npos) << message;
    EXPECT_NE(message.find(in_.data_beside_program.string()), std::string::npos) << message;
    EXPECT_NE(message.find(in_.configured_data.string()), std::string::npos) << message;
  }
}

TEST_F(DataHomeTest, EntersThePlayersFolderLinkedToTheInstalledData) {
  const fs::path previous = fs::current_path();
  const DataHome home = EnterDataHome(in_);
  const fs::path now = fs::current_path();
  fs::current_path(previous);
  EXPECT_EQ(now, PlayerFolder());
  EXPECT_TRUE(fs::is_directory(PlayerFolder() / "Data/Save"));
  for (const char* entry : {"Data/Res", "Data/Music", "website.url"}) {
    EXPECT_TRUE(fs::is_symlink(PlayerFolder() / entry)) << entry;
    EXPECT_EQ(fs::read_symlink(PlayerFolder() / entry), installed_ / entry) << entry;
  }
  EXPECT_EQ(ReadAll(PlayerFolder() / "Data/Res/Res1.dxg"), "usr");
  EXPECT_EQ(home.installed, installed_);
}

TEST_F(DataHomeTest, AnUpgradeOrAnotherPrefixRelinksAndKeepsTheSaves) {
  PrepareDataHome(ChooseDataHome(in_));
  Write(PlayerFolder() / "Data/Save/hs", "scores");
  Write(PlayerFolder() / "Data/Save/options", "options");
  // The game moves to another prefix that has no website shortcut.
  in_.data_beside_program = MakeInstall("opt");
  fs::remove(in_.data_beside_program / "website.url");
  PrepareDataHome(ChooseDataHome(in_));
  EXPECT_EQ(ReadAll(PlayerFolder() / "Data/Res/Res1.dxg"), "opt");
  EXPECT_EQ(ReadAll(PlayerFolder() / "Data/Music/Menu.xm"), "opt");
  EXPECT_FALSE(fs::exists(fs::symlink_status(PlayerFolder() / "website.url")));
  EXPECT_EQ(ReadAll(PlayerFolder() / "Data/Save/hs"), "scores");
  EXPECT_EQ(ReadAll(PlayerFolder() / "Data/Save/options"), "options");
  EXPECT_FALSE(fs::exists(fs::symlink_status(PlayerFolder() / "Data/Res.new")));
}

TEST_F(DataHomeTest, ThePlayersOwnFilesThereAreLeftAlone) {
  Write(PlayerFolder() / "Data/Music/Mine.xm", "mine");
  Write(PlayerFolder() / "website.url", "mine");
  PrepareDataHome(ChooseDataHome(in_));
  EXPECT_FALSE(fs::is_symlink(PlayerFolder() / "Data/Music"));
  EXPECT_EQ(ReadAll(PlayerFolder() / "Data/Music/Mine.xm"), "mine");
  EXPECT_EQ(ReadAll(PlayerFolder() / "website.url"), "mine");
  EXPECT_TRUE(fs::is_symlink(PlayerFolder() / "Data/Res"));
}

TEST_F(DataHomeTest, InstalledIntoTheDataHomeItselfItWorksThereAndLinksNothing) {
  // `cmake --install --prefix ~/.local` puts the data where the player's folder is.
  in_.data_beside_program = MakeInstall("home/.local");
  ASSERT_EQ(in_.data_beside_program, PlayerFolder());
  const DataHome home = ChooseDataHome(in_);
  PrepareDataHome(home);
  EXPECT_EQ(home.folder, PlayerFolder());
  EXPECT_TRUE(fs::is_directory(PlayerFolder() / "Data/Save"));
  for (const char* entry : {"Data/Res", "Data/Music", "website.url"})
    EXPECT_FALSE(fs::is_symlink(PlayerFolder() / entry)) << entry;
  EXPECT_EQ(ReadAll(PlayerFolder() / "Data/Res/Res1.dxg"), "home/.local");
}

TEST_F(DataHomeTest, AFolderThatCannotBeMadeIsAClearErrorAndLosesNothing) {
  // The data home is a file, so nothing can be created in it.
  Write(root_ / "home/.local/share", "not a folder");
  EXPECT_THROW(PrepareDataHome(ChooseDataHome(in_)), DataHomeError);
  EXPECT_EQ(ReadAll(root_ / "home/.local/share"), "not a folder");
  // Data/Save is a file: refused, and the file is kept.
  fs::remove(root_ / "home/.local/share");
  Write(PlayerFolder() / "Data/Save", "a file");
  try {
    PrepareDataHome(ChooseDataHome(in_));
    FAIL() << "no error";
  } catch (const DataHomeError& e) {
    EXPECT_NE(std::string(e.what()).find("Data/Save"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadAll(PlayerFolder() / "Data/Save"), "a file");
}

}  // namespace
}  // namespace trakvolt::platform

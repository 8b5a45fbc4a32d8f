// Replacing a file in one step: unique temporary files, links kept as links, the game's
// messages for failures.
#include "base/file_replace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/game_error.h"
#include "persist/helpers.h"

using namespace trakvolt;
namespace fs = std::filesystem;

namespace {

// A throw-away folder, with the list of what it holds.
class Folder : public savetest::TempSaveFolder {
 public:
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(Path()))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

using savetest::ErrorOf;

}  // namespace

TEST(PendingFile, WaitsBesideTheTargetUntilCommittedAndVanishesWhenDropped) {
  Folder folder;
  folder.Write("hs", "old");
  {
    PendingFile pending(folder.File("hs"), "new");
    EXPECT_EQ(folder.Read("hs"), "old");
    EXPECT_EQ(pending.TempPath().rfind(folder.File("hs.tmp."), 0), 0u);
    EXPECT_EQ(folder.Names().size(), 2u);
  }
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"hs"});
  EXPECT_EQ(folder.Read("hs"), "old");

  PendingFile pending(folder.File("hs"), "new");
  pending.Commit();
  EXPECT_EQ(folder.Read("hs"), "new");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"hs"});
}

TEST(PendingFile, TwoAtOnceGetTheirOwnNames) {
  Folder folder;
  PendingFile a(folder.File("hs"), "a");
  PendingFile b(folder.File("hs"), "b");
  EXPECT_NE(a.TempPath(), b.TempPath());
  b.Commit();
  EXPECT_EQ(folder.Read("hs"), "b");
}

TEST(ReplaceFileAtomically, ALinkStaysALinkAndItsTargetGetsTheNewContent) {
  Folder folder;
  fs::create_directory(folder.File("elsewhere"));
  folder.Write("elsewhere/scores", "old");
  fs::create_symlink("elsewhere/scores", folder.File("hs"));  // relative, from the link's folder
  fs::create_symlink(folder.File("hs"), folder.File("hs2"));  // a link to the link
  ReplaceFileAtomically(folder.File("hs2"), "new");
  EXPECT_TRUE(fs::is_symlink(folder.File("hs")));
  EXPECT_TRUE(fs::is_symlink(folder.File("hs2")));
  EXPECT_EQ(folder.Read("elsewhere/scores"), "new");
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"elsewhere", "hs", "hs2"}));

  fs::create_symlink("missing/nowhere", folder.File("dangling"));
  fs::create_directory(folder.File("missing"));
  ReplaceFileAtomically(folder.File("dangling"), "made");  // a dangling link gets its file
  EXPECT_EQ(folder.Read("missing/nowhere"), "made");

  fs::create_symlink("loop", folder.File("loop"));
  EXPECT_EQ(ErrorOf([&] { ReplaceFileAtomically(folder.File("loop"), "x"); }),
            "Too many levels of symbolic links");
}

TEST(ReplaceFileAtomically, NeverWritesThroughALinkLeftUnderATemporaryName) {
  Folder folder;
  folder.Write("outside", "keep me");
  fs::create_symlink(folder.File("outside"), folder.File("hs.tmp"));  // what an older game used
  ReplaceFileAtomically(folder.File("hs"), "table");
  EXPECT_EQ(folder.Read("outside"), "keep me");
  EXPECT_EQ(folder.Read("hs"), "table");
}

TEST(ReplaceFileAtomically, FailuresGetTheGameMessagesAndLeaveNothingBehind) {
  Folder folder;
  fs::create_directory(folder.File("hs"));  // a folder cannot be replaced by a file
  fs::create_directory(folder.File("hs/inside"));
  EXPECT_EQ(ErrorOf([&] { ReplaceFileAtomically(folder.File("hs"), "x"); }), "File access denied");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"hs"});
  EXPECT_EQ(ErrorOf([&] { ReplaceFileAtomically(folder.File("nowhere/hs"), "x"); }),
            "Path not found");
}

// Writing an archive never destroys the old one, even when the disk fills up halfway.
#include "archive/archive_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "base/game_error.h"

using namespace trakvolt;
namespace fs = std::filesystem;

TEST(ArchiveFile, AWriteThatRunsOutOfSpaceLeavesTheOldArchiveWhole) {
  std::string pattern = (fs::temp_directory_path() / "trakvolt-archive-XXXXXX").string();
  const fs::path folder = ::mkdtemp(pattern.data());
  const std::string archive = (folder / "Res1.dxg").string();
  const std::vector<std::uint8_t> old_bytes(64, 7), new_bytes(4096, 9);
  WriteArchiveFile(archive, old_bytes);

  // A child whose files may not grow past 1 KiB stands for a full disk.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1024, 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      WriteArchiveFile(archive, new_bytes);
    } catch (const GameError& e) {
      ::_exit(std::string(e.what()).find("Res1.dxg") != std::string::npos ? 3 : 4);
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);  // the write failed and said which file
  EXPECT_EQ(ReadArchiveFile(archive), old_bytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);  // no temporary file left

  WriteArchiveFile(archive, new_bytes);
  EXPECT_EQ(ReadArchiveFile(archive), new_bytes);
  fs::remove_all(folder);
}

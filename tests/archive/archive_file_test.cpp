// Reading archives whole, and writing them so the old one survives a disk that fills up.
#include "archive/archive_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

// Both ways of reading an archive: a copy, and the view loading uses.
std::vector<std::uint8_t> ViaView(const std::string& path) {
  const ArchiveFileView view(path);
  return std::vector<std::uint8_t>(view.Bytes().begin(), view.Bytes().end());
}

TEST(ArchiveFile, ReadsWholeFilesAndPipesAndNamesWhatCannotBeRead) {
  std::string pattern = (fs::temp_directory_path() / "trakvolt-archive-XXXXXX").string();
  const fs::path folder = ::mkdtemp(pattern.data());
  std::vector<std::uint8_t> bytes(200001);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 31 + i / 977);
  const std::string file = (folder / "Res3.dxg").string(), empty = (folder / "Empty.dxg").string();
  WriteArchiveFile(file, bytes);
  WriteArchiveFile(empty, {});
  const std::string fifo = (folder / "pipe").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

  for (auto read : {&ReadArchiveFile, &ViaView}) {
    EXPECT_EQ(read(file), bytes);
    EXPECT_TRUE(read(empty).empty());
    // A pipe has no size: it is read to its end all the same.
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      FILE* out = std::fopen(fifo.c_str(), "wb");
      const bool ok = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
      ::_exit(out && std::fclose(out) == 0 && ok ? 0 : 1);
    }
    EXPECT_EQ(read(fifo), bytes);
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    for (const fs::path& bad : {folder, folder / "missing.dxg"}) {
      try {
        read(bad.string());
        ADD_FAILURE() << bad << " was read";
      } catch (const GameError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"", 0), 0u) << e.what();
      }
    }
  }
  fs::remove_all(folder);
}

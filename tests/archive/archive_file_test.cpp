// Reading archives whole (only what can be an archive, and never a file half changed), and
// writing them so the old one survives a disk that fills up.
#include "archive/archive_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "archive/image_list.h"
#include "base/game_error.h"
#include "base/png_file.h"

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

namespace {

// Both ways of reading an archive: the tools' copy, and the view the game loads from.
std::vector<std::uint8_t> ViaView(const std::string& path) {
  const ArchiveFileView view(path);
  return std::vector<std::uint8_t>(view.Bytes().begin(), view.Bytes().end());
}

std::string ErrorOf(const std::function<void()>& read) {
  try {
    read();
  } catch (const GameError& e) {
    return e.what();
  }
  return "no error";
}

// A scratch folder, removed at the end.
struct Folder {
  fs::path path;
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "trakvolt-archive-XXXXXX").string();
    path = ::mkdtemp(pattern.data());
  }
  ~Folder() { fs::remove_all(path); }
};

// The process's peak resident size so far, in KiB.
long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

std::vector<std::uint8_t> OneDotArchive() {
  TImageCollection c;
  c.Add().SetName("Dot");
  c[0].SetPicture(MakeRgbImage(1, 1, 255, 255, 255));
  return c.SaveToBytes();
}

}  // namespace

TEST(ArchiveFile, ReadsWholeFilesAndPipesAndNamesWhatCannotBeRead) {
  const Folder folder;
  std::vector<std::uint8_t> bytes(200001);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 31 + i / 977);
  const std::string file = (folder.path / "Res3.dxg").string();
  const std::string empty = (folder.path / "Empty.dxg").string();
  WriteArchiveFile(file, bytes);
  WriteArchiveFile(empty, {});

  for (auto read : {&ReadArchiveFile, &ViaView}) {
    EXPECT_EQ(read(file), bytes);
    EXPECT_TRUE(read(empty).empty());
    for (const fs::path& bad : {folder.path, folder.path / "missing.dxg"}) {
      const std::string error = ErrorOf([&] { read(bad.string()); });
      EXPECT_EQ(error.rfind("Cannot open file \"", 0), 0u) << bad << ": " << error;
    }
  }

  // The tools take a pipe too ("<(...)", a FIFO): it has no size, and is read to its end.
  const std::string fifo = (folder.path / "pipe").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const pid_t writer = ::fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    FILE* out = std::fopen(fifo.c_str(), "wb");
    const bool ok = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    ::_exit(out && std::fclose(out) == 0 && ok ? 0 : 1);
  }
  EXPECT_EQ(ReadArchiveFile(fifo), bytes);
  int status = 0;
  ASSERT_EQ(::waitpid(writer, &status, 0), writer);
}

TEST(ArchiveFile, WhatCannotBeAnArchiveIsRefusedAtOnceWithoutReadingIt) {
  const Folder folder;
  const std::vector<std::uint8_t> start = OneDotArchive();
  const fs::path fifo = folder.path / "fifo.dxg", zero = folder.path / "zero.dxg";
  const fs::path sparse = folder.path / "sparse.dxg";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // no writer ever comes
  fs::create_symlink("/dev/zero", zero);
  WriteArchiveFile(sparse.string(), start);
  ASSERT_EQ(::truncate(sparse.c_str(), off_t{2} << 30), 0);  // 2 GB, a valid archive's start
  struct {
    fs::path path;
    const char* reason;
    bool pipe_for_tools;  // the tools read a FIFO as a pipe
  } cases[] = {
      {fifo, "Not a regular file", true},
      {zero, "Not a regular file", false},
      {sparse, "too large", false},
      {folder.path, "Not a regular file", false},
  };
  for (const auto& c : cases) {
    for (auto read : {&ViaView, &ReadArchiveFile}) {
      if (c.pipe_for_tools && read == &ReadArchiveFile) continue;
      std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
      const long peak_before = PeakResidentKiB();
      const std::string error = ErrorOf([&] { read(c.path.string()); });
      const long peak_after = PeakResidentKiB();
      EXPECT_EQ(error.rfind("Cannot open file \"", 0), 0u) << c.path << ": " << error;
      EXPECT_NE(error.find(c.reason), std::string::npos) << c.path << ": " << error;
      ASSERT_GT(peak_before, 0);
      EXPECT_LT(peak_after - peak_before, 32 * 1024) << c.path << ": KiB more at the peak";
    }
  }
}

TEST(ArchiveFile, AnArchiveRewrittenWhileTheGameLoadsItIsAnErrorNeverASignal) {
  const Folder folder;
  TImageCollection pictures;
  for (int i = 0; i < 6; ++i) {
    pictures.Add().SetName("Picture" + std::to_string(i));
    pictures[i].SetPicture(MakeRgbImage(512, 512, static_cast<std::uint8_t>(40 * i), 90, 200));
  }
  const std::vector<std::uint8_t> bytes = pictures.SaveToBytes();
  const std::string path = (folder.path / "Res1.dxg").string();
  WriteArchiveFile(path, bytes);

  // The child loads the archive through the game's image list, over and over, while this
  // process copies the archive over itself in place (cut to nothing, then written), as cp does.
  const pid_t loader = ::fork();
  ASSERT_GE(loader, 0);
  if (loader == 0) {
    for (int i = 0; i < 150; ++i) {
      try {
        TImageList list;
        list.LoadArchive(path);
      } catch (const GameError&) {
        // a half-written archive is the game's error, shown in a box
      } catch (...) {
        ::_exit(2);
      }
    }
    ::_exit(0);
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  int status = 0;
  pid_t done = 0;
  while ((done = ::waitpid(loader, &status, WNOHANG)) == 0) {
    ASSERT_EQ(::ftruncate(fd, 0), 0);
    for (std::size_t at = 0; at < bytes.size(); at += 65536) {
      const std::size_t n = std::min<std::size_t>(65536, bytes.size() - at);
      ASSERT_EQ(::pwrite(fd, bytes.data() + at, n, static_cast<off_t>(at)),
                static_cast<ssize_t>(n));
    }
  }
  ::close(fd);
  ASSERT_EQ(done, loader);
  EXPECT_FALSE(WIFSIGNALED(status)) << "the loader died from signal " << WTERMSIG(status);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST(ArchiveFile, TheToolsNamePathsAsGivenAndTheGameItsOwnWay) {
  const Folder folder;
  const fs::path previous = fs::current_path();
  fs::current_path(folder.path);
  struct {
    std::function<void()> call;
    const char* error;
  } cases[] = {
      {[] { ReadArchiveFile("out/x.dxg"); },
       "Cannot open file \"out/x.dxg\". No such file or directory"},
      {[] { WriteArchiveFile("out/x.dxg", {1}); },
       "Cannot write file \"out/x.dxg\". Path not found"},
      {[] { ArchiveFileView("Data/Res/Res1.dxg"); },
       "Cannot open file \"Data\\Res\\Res1.dxg\". No such file or directory"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.call), c.error);
  fs::current_path(previous);
}

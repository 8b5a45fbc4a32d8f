// Number and line reading rules of the save files, safe reading, and keeping damaged files
// aside.
#include "persist/save_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "helpers.h"

using namespace trakvolt;

struct NumberCase {
  const char* bytes;
  std::int32_t first;
  std::int32_t second;  // the next number, showing where reading went on
};

class ReadInteger : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadInteger, ReadsLikeTheGameAlwaysDid) {
  SaveFileReader reader(GetParam().bytes);
  EXPECT_EQ(reader.ReadInteger(), GetParam().first);
  EXPECT_EQ(reader.ReadInteger(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadInteger,
    ::testing::Values(NumberCase{" 1500 \r\n7\r\n", 1500, 7},
                      NumberCase{"\t\x01-42 and the rest\r\n8", -42, 8},  // rest of line dropped
                      NumberCase{"\r\n\r\n  +5\r\n6", 5, 6},              // empty lines skipped
                      NumberCase{"2147483647\n-2147483648", 2147483647, -2147483647 - 1},
                      NumberCase{"000000000000000000000000000000001\n9", 0, 9},  // 32 taken
                      NumberCase{"3", 3, 0},            // end of file reads 0
                      NumberCase{"1 rest\r2\r", 1, 2},  // CR alone ends a line
                      NumberCase{"", 0, 0}));

TEST(ReadIntegerErrors, WhatDoesNotConvertIsInvalidNumericInput) {
  for (const char* bytes : {"abc\r\n", "12x\r\n", "-\r\n", "+-1", "2147483648", "0x10"}) {
    SaveFileReader reader(bytes);
    EXPECT_EQ(savetest::ErrorOf([&] { reader.ReadInteger(); }), "Invalid numeric input") << bytes;
  }
}

TEST(ReadLine, TakesWholeLinesOfAnyLengthAndEmptyAtTheEnd) {
  const std::string long_name(300, '\xC6');
  SaveFileReader reader(long_name + "\r\n\r\nlast\nno end");
  EXPECT_EQ(reader.ReadLine(), long_name);
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_EQ(reader.ReadLine(), "last");
  EXPECT_EQ(reader.ReadLine(), "no end");
  EXPECT_EQ(reader.ReadLine(), "");
}

TEST(ReadLine, CrLfLfAndALoneCrEachEndOneLine) {
  SaveFileReader reader("a\r\nb\nc\rd\r\r\ne\n\rf");
  for (const char* want : {"a", "b", "c", "d", "", "e", "", "f", ""})
    EXPECT_EQ(reader.ReadLine(), want);
}

TEST(ReadSaveFile, ReadsOnlyRegularFilesOfSaveFileSize) {
  savetest::TempSaveFolder folder;
  EXPECT_EQ(savetest::ErrorOf([&] { ReadSaveFile(folder.File("hs")); }), "File not found");

  ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);  // no writer ever comes
  EXPECT_NE(
      savetest::ErrorOf([&] { ReadSaveFile(folder.File("fifo")); }).find("not a regular file"),
      std::string::npos);
  std::filesystem::create_directory(folder.File("folder"));
  EXPECT_NE(
      savetest::ErrorOf([&] { ReadSaveFile(folder.File("folder")); }).find("not a regular file"),
      std::string::npos);
  EXPECT_NE(savetest::ErrorOf([&] { ReadSaveFile("/dev/zero"); }).find("not a regular file"),
            std::string::npos);

  folder.Write("big", std::string(kMaxSaveFileSize + 1, '1'));
  EXPECT_NE(savetest::ErrorOf([&] { ReadSaveFile(folder.File("big")); }).find("too large"),
            std::string::npos);
  folder.Write("full", std::string(kMaxSaveFileSize, '1'));
  EXPECT_EQ(ReadSaveFile(folder.File("full")).size(), kMaxSaveFileSize);

  folder.Write("target", "scores");
  std::filesystem::create_symlink(folder.File("target"), folder.File("link"));
  EXPECT_EQ(ReadSaveFile(folder.File("link")), "scores");
  EXPECT_NE(savetest::ErrorOf([&] {
              ReadSaveFile(folder.File("link"), Links::Refuse);
            }).find("not a regular file"),
            std::string::npos);
}

TEST(KeepAside, KeepsEveryGenerationAndNeverReplacesOne) {
  savetest::TempSaveFolder folder;
  std::filesystem::create_directories(folder.File("hs.bad/something"));  // in the way
  for (int n = 1; n < kKeptAsideCopies; ++n) {
    folder.Write("hs", "copy " + std::to_string(n));
    EXPECT_TRUE(KeepAside(folder.File("hs"))) << n;
    EXPECT_EQ(folder.Read("hs.bad." + std::to_string(n)), "copy " + std::to_string(n));
  }
  folder.Write("hs", "one too many");
  const KeptAside refused = KeepAside(folder.File("hs"));
  EXPECT_FALSE(refused);
  EXPECT_NE(refused.why.find("hs.bad.9 are all taken"), std::string::npos) << refused.why;
  EXPECT_EQ(folder.Read("hs"), "one too many");  // left where it is
  EXPECT_EQ(folder.Read("hs.bad.1"), "copy 1");

  // The same content as a copy already kept goes without using a name.
  folder.Write("hs", "copy 4");
  const KeptAside again = KeepAside(folder.File("hs"));
  EXPECT_TRUE(again);
  EXPECT_EQ(again.name, folder.File("hs.bad.4"));
  EXPECT_FALSE(folder.Has("hs"));
}

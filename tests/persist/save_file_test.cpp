// Number and line reading rules of the save files, and the safe replacement of a file.
#include "persist/save_file.h"

#include <gtest/gtest.h>

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
                      NumberCase{"3", 3, 0},                               // end of file reads 0
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

TEST(ReadSaveFile, MissingFileIsFileNotFound) {
  savetest::TempSaveFolder folder;
  EXPECT_EQ(savetest::ErrorOf([&] { ReadSaveFile(folder.File("hs")); }), "File not found");
}

TEST(ReplaceFile, WritesTheNewContent) {
  savetest::TempSaveFolder folder;
  folder.Write("hs", "old");
  ReplaceFile(folder.File("hs"), [](SaveFileSink& s) {
    s.Write("new ");
    s.Write("table");
  });
  EXPECT_EQ(folder.Read("hs"), "new table");
  EXPECT_FALSE(folder.Has("hs.tmp"));
}

TEST(ReplaceFile, AFailureHalfwayLeavesTheOldFileIntact) {
  savetest::TempSaveFolder folder;
  folder.Write("hs", "the old table");
  EXPECT_EQ(savetest::ErrorOf([&] {
              ReplaceFile(folder.File("hs"), [](SaveFileSink& s) {
                s.Write("half of the new");
                throw GameError("Disk full");  // as the disk filling up would report it
              });
            }),
            "Disk full");
  EXPECT_EQ(folder.Read("hs"), "the old table");
  EXPECT_FALSE(folder.Has("hs.tmp"));
}

TEST(ReplaceFile, SystemErrorsGetTheGameMessages) {
  savetest::TempSaveFolder folder;
  std::filesystem::create_directory(folder.File("hs"));  // cannot be replaced by a file
  EXPECT_EQ(savetest::ErrorOf([&] {
              ReplaceFile(folder.File("hs"), [](SaveFileSink& s) { s.Write("x"); });
            }),
            "File access denied");
  EXPECT_FALSE(folder.Has("hs.tmp"));
  EXPECT_EQ(savetest::ErrorOf([&] { ReplaceFile(folder.File("nowhere/hs"), [](SaveFileSink&) {}); }),
            "Path not found");
}

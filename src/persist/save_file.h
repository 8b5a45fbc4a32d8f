// Reading the game's small text save files (cp1251 lines) safely, and keeping damaged ones
// aside.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace trakvolt {

// The default save folder, written the game's way; pass it through platform::NativePath.
inline constexpr const char* kSaveFolder = "Data\\Save";

// A save file is a few hundred bytes; anything larger is damaged, not read into memory.
inline constexpr std::size_t kMaxSaveFileSize = 1 << 20;

// `file` inside `folder` (either separator style).
std::string SaveFilePath(const std::string& folder, std::string_view file);

enum class Links { Follow, Refuse };

// Reads a whole save file. Only a regular file of at most kMaxSaveFileSize bytes is read; a
// FIFO, device or folder is refused without waiting on it. With Links::Refuse a symbolic link
// is refused too (for leftovers the game made itself). Raises GameError: "File not found" when
// it does not exist, else a message naming the file.
std::string ReadSaveFile(const std::string& path, Links links = Links::Follow);

// Walks the bytes of a save file line by line. CR LF, LF and a lone CR each end a line.
// Running off the end is not an error: a text then reads as empty and a number as 0.
class SaveFileReader {
 public:
  explicit SaveFileReader(std::string bytes) : bytes_(std::move(bytes)) {}

  // The rest of the current line (any length, without its line end); moves to the next line.
  std::string ReadLine();
  // Skips blanks, control characters and line breaks, converts up to 32 following non-blank
  // characters as a signed decimal int32 and drops the rest of that line. Anything that does
  // not convert raises GameError "Invalid numeric input".
  std::int32_t ReadInteger();
  bool AtEnd() const { return pos_ >= bytes_.size(); }

 private:
  void SkipRestOfLine();

  std::string bytes_;
  std::size_t pos_ = 0;
};

// How many damaged copies of one file are kept: `name`.bad, then `name`.bad.1 ... .bad.9.
inline constexpr int kKeptAsideCopies = 10;

// The name of kept-aside copy number `generation` (0 .. kKeptAsideCopies-1) of `path`.
std::string KeptAsideName(const std::string& path, int generation);

// Where KeepAside put a file, or why it could not.
struct KeptAside {
  std::string name;  // the kept-aside copy that now holds the file's content
  std::string why;   // empty when it was kept; else the reason, for the error box
  explicit operator bool() const { return why.empty(); }
};

// Moves a damaged save file (or whatever stands under its name) aside to the first free
// kept-aside name, never replacing an older copy. A regular file identical to a copy already
// kept is not kept twice: it is removed and that copy named. When it cannot be kept (every name
// taken, or the folder refuses) the file is left where it is.
KeptAside KeepAside(const std::string& path);

// When every kept-aside name of `path` is taken, removes the copies whose content is the same
// as the file standing at `path` (they hold nothing that is not in place), so that a damaged
// file can still be kept aside later. Links and files that cannot be read are left alone.
void FreeKeptAsideNames(const std::string& path);

}  // namespace trakvolt

// Reading and safely writing the game's small text save files (cp1251, CR LF lines).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace trakvolt {

// The default save folder, written the game's way; pass it through platform::NativePath.
inline constexpr const char* kSaveFolder = "Data\\Save";

// `file` inside `folder` (either separator style).
std::string SaveFilePath(const std::string& folder, std::string_view file);

// Reads a whole save file. A missing file raises GameError "File not found".
std::string ReadSaveFile(const std::string& path);

// Walks the bytes of a save file line by line. Running off the end is not an error: a text
// then reads as empty and a number as 0.
class SaveFileReader {
 public:
  explicit SaveFileReader(std::string bytes) : bytes_(std::move(bytes)) {}

  // The rest of the current line (any length, without its line end); moves to the next line.
  std::string ReadLine();
  // Skips blanks, control characters and line breaks, converts up to 32 following non-blank
  // characters as a signed decimal int32 and drops the rest of that line. Anything that does
  // not convert raises GameError "Invalid numeric input".
  std::int32_t ReadInteger();

 private:
  void SkipRestOfLine();

  std::string bytes_;
  std::size_t pos_ = 0;
};

// A file being written; every failed write raises the system's error message.
class SaveFileSink {
 public:
  virtual ~SaveFileSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

// Replaces `path` without ever leaving it half-written: `fill` writes into a temporary file in
// the same folder, which is flushed to disk and then renamed over the old file. When anything
// fails (including an exception thrown by `fill`), the temporary file is removed, the old file
// stays as it was and a GameError ("Disk full", "File access denied", ...) is raised.
void ReplaceFile(const std::string& path, const std::function<void(SaveFileSink&)>& fill);

// Moves a damaged save file aside to `path` + ".bad" (replacing an older one) so that the next
// save does not destroy what the player might still recover. Returns false when it could not.
bool MoveDamagedFileAside(const std::string& path);

}  // namespace trakvolt

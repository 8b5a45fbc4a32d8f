// Test helpers: a fresh temporary save folder, error capture and the default score table.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/game_error.h"
#include "persist/high_scores.h"

namespace trakvolt::savetest {

inline HighScoreTable DefaultTable() {
  HighScoreTable table;
  ResetHighScores(table);
  return table;
}

// Slots 1..10: what the score file holds (slot 11 is never saved).
inline std::vector<THighScore> Rows(const HighScoreTable& table) {
  return {table.slots.begin(), table.slots.begin() + HighScoreTable::kShownSlots};
}

// The message of the GameError that `f` raises, or "no error".
template <typename F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const GameError& e) {
    return e.what();
  }
  return "no error";
}

class TempSaveFolder {
 public:
  TempSaveFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "trakvolt-save-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempSaveFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempSaveFolder(const TempSaveFolder&) = delete;
  TempSaveFolder& operator=(const TempSaveFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
  }
  bool Has(const std::string& name) const { return std::filesystem::exists(File(name)); }
  // Puts a fixture from tests/persist/fixtures into the folder under `name`.
  void CopyFixture(const std::string& fixture, const std::string& name) const {
    std::ifstream in(std::string(TRAKVOLT_FIXTURES) + "/" + fixture, std::ios::binary);
    Write(name, {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
  }

 private:
  std::string path_;
};

}  // namespace trakvolt::savetest

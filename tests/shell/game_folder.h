// A throw-away working directory for a game run: Data/Res and Data/Music link to the build's
// generated data (or are absent), Data/Save starts empty, and the previous directory comes back
// at the end. Asked for the built data in a build that made none, it skips the running test
// before anything is made, so a fixture holding it never builds a game over nothing.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "support/built_data.h"

namespace trakvolt::testing_support {

class GameFolder {
 public:
  enum class Data { Built, None };
  explicit GameFolder(Data data = Data::Built) : previous_(std::filesystem::current_path()) {
    if (data == Data::Built) RequireGameData();
    std::string pattern = (std::filesystem::temp_directory_path() / "trakvolt-run-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    if (data == Data::Built) {
      const std::filesystem::path built = BuiltData();
      std::filesystem::create_directories(path_ / "Data");
      for (const char* sub : {"Res", "Music"})
        std::filesystem::create_directory_symlink(built / sub, path_ / "Data" / sub);
    }
    std::filesystem::current_path(path_);
  }
  ~GameFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

}  // namespace trakvolt::testing_support

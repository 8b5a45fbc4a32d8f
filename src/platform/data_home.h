// The folder the game works in: the one it was started from when that holds the game's data,
// otherwise the player's own folder in the XDG data home, linked to the installed data.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace trakvolt::platform {

// Every reason the game cannot get a working folder; the message says what to do (UTF-8).
class DataHomeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the decision looks at, gathered once by ReadDataHomeInputs (tests fill it by hand).
struct DataHomeInputs {
  std::filesystem::path working_dir;
  std::optional<std::string> xdg_data_home;  // $XDG_DATA_HOME, if set
  std::optional<std::string> home;           // $HOME, if set
  // Where the installed data may be, in order: beside the program (relocated prefix), then
  // the prefix the game was configured for. Empty entries are skipped.
  std::filesystem::path data_beside_program;
  std::filesystem::path configured_data;
};

struct DataHome {
  // True when the working folder already holds Data/Res: nothing is linked, nothing moves.
  bool stay = false;
  std::filesystem::path folder;     // the folder to work in
  std::filesystem::path installed;  // the installed read-only data (empty when staying)
};

// Reads the environment and the program's own location. `data_from_bin` is the installed
// data folder relative to the program's folder (e.g. "../share/trakvolt").
DataHomeInputs ReadDataHomeInputs(const std::filesystem::path& data_from_bin,
                                  const std::filesystem::path& configured_data);

// Decides where to work; throws DataHomeError when there is no data or no folder for saves.
DataHome ChooseDataHome(const DataHomeInputs& inputs);

// Makes the player's folder ready: Data/Save created (an existing one is never touched), and
// Data/Res, Data/Music and website.url pointing at the installed files, refreshed on every
// start so an upgrade or another prefix takes effect. Throws DataHomeError.
void PrepareDataHome(const DataHome& home);

// Chooses, prepares and changes into the working folder. Throws DataHomeError.
DataHome EnterDataHome(const DataHomeInputs& inputs);

}  // namespace trakvolt::platform

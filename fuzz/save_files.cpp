// Fuzzes the save-file readers: an options file and a score file from arbitrary bytes (the
// first byte says how many of the rest are the options), loaded as at start-up, saved as at
// exit and loaded again. The second load must give the same records with no message.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "persist/save_data.h"

namespace {

// One folder for the whole run, emptied before every input; in memory where the machine has
// it, since every exit write is flushed to disk.
const std::string& Folder() {
  static const std::string folder = [] {
    std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                          std::string("/trakvolt-fuzz-save-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  return folder;
}

void Empty(const std::string& folder) {
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") unlink((folder + "/" + name).c_str());
    }
    closedir(dir);
  }
}

void Put(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

bool SameRows(const trakvolt::HighScoreTable& a, const trakvolt::HighScoreTable& b) {
  for (int i = 1; i <= trakvolt::HighScoreTable::kShownSlots; ++i)
    if (!(a.Slot(i) == b.Slot(i))) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string& folder = Folder();
  Empty(folder);
  const std::size_t options_size = std::min<std::size_t>(data[0], size - 1);
  Put(folder + "/options", data + 1, options_size);
  Put(folder + "/hs", data + 1 + options_size, size - 1 - options_size);

  trakvolt::HighScoreTable table;
  trakvolt::TGameOptions options;
  std::string check;
  const trakvolt::SaveDataLoad first = trakvolt::LoadSaveData(folder, table, options, check);
  if (!first.may_save) std::abort();  // an empty folder always has room for kept-aside copies
  trakvolt::SaveGameData(folder, options, table);

  trakvolt::HighScoreTable table_again;
  trakvolt::TGameOptions options_again;
  std::string check_again;
  const trakvolt::SaveDataLoad second =
      trakvolt::LoadSaveData(folder, table_again, options_again, check_again);
  if (!second.messages.empty()) std::abort();       // what the game wrote reads back cleanly
  if (!SameRows(table, table_again)) std::abort();  // and holds the same table
  if (!(options == options_again)) std::abort();    // and the same settings
  if (check_again != trakvolt::ComputeScoreCheck(table)) std::abort();
  return 0;
}

// Start-up loading with recovery of interrupted exits, and the paired exit writes.
#include "persist/save_data.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/file_names.h"
#include "base/file_replace.h"
#include "base/game_error.h"
#include "persist/high_score_file.h"
#include "persist/options_file.h"
#include "persist/reset_copy.h"
#include "persist/save_file.h"

namespace trakvolt {
namespace {

enum class FileState { Missing, Read, Damaged };

// A save file as found at start-up.
struct FoundFile {
  std::string path;  // as the game names it (a link stays a link)
  FileState state = FileState::Missing;
  std::string bytes;  // what was read, also of a damaged file when it could be read
  bool bytes_read = false;
  std::string message;  // why it is damaged
};

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

FoundFile Find(const std::string& path) {
  FoundFile f;
  f.path = path;
  struct stat st {};
  // A dangling link is a first start too: the exit writes through it.
  if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return f;
  try {
    f.bytes = ReadSaveFile(path);
    f.bytes_read = true;
    f.state = FileState::Read;
  } catch (const std::exception& e) {
    f.state = FileState::Damaged;
    f.message = e.what();
  }
  return f;
}

// The write target of `path`, or the path itself when its links cannot be followed.
std::string TargetOf(const std::string& path) {
  try {
    return ResolveWriteTarget(path);
  } catch (const std::exception&) {
    return path;
  }
}

// Temporary files an interrupted exit may have left beside `path`'s target, by name; an older
// game left a plain ".tmp" beside the file itself.
std::vector<std::string> Leftovers(const std::string& path) {
  std::vector<std::string> found;
  const std::string prefix = TempPrefixFor(TargetOf(path));
  const std::string folder = FolderOf(prefix);
  const std::string name_prefix = prefix.substr(prefix.find_last_of('/') + 1);
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() > name_prefix.size() && name.compare(0, name_prefix.size(), name_prefix) == 0)
        found.push_back(folder + "/" + name);
    }
    ::closedir(dir);
  }
  std::sort(found.begin(), found.end());
  if (Exists(path + ".tmp")) found.push_back(path + ".tmp");
  return found;
}

std::vector<std::string> KeptAside(const std::string& path) {
  std::vector<std::string> found;
  for (int g = 0; g < kKeptAsideCopies; ++g)
    if (Exists(KeptAsideName(path, g))) found.push_back(KeptAsideName(path, g));
  return found;
}

// A complete score file among `candidates` whose table has the check text `check`: only a
// regular file (never through a link) that reads back exactly as the game writes it.
std::optional<std::pair<std::string, HighScoreTable>> FindTable(
    const std::vector<std::string>& candidates, const std::string& check) {
  for (const std::string& path : candidates) {
    try {
      const std::string bytes = ReadSaveFile(path, Links::Refuse);
      HighScoreTable table;
      ParseHighScores(bytes, table);
      if (HighScoreFileText(table) == bytes && ComputeScoreCheck(table) == check)
        return std::pair{path, table};
    } catch (const std::exception&) {
      // not this one
    }
  }
  return std::nullopt;
}

// A complete options file among `candidates` whose check text is `check`.
std::optional<std::pair<std::string, std::string>> FindOptions(
    const std::vector<std::string>& candidates, const std::string& check) {
  for (const std::string& path : candidates) {
    try {
      const std::string bytes = ReadSaveFile(path, Links::Refuse);
      TGameOptions options;
      std::string found_check;
      ParseOptions(bytes, options, found_check);
      if (OptionsFileText(options, found_check) == bytes && found_check == check)
        return std::pair{path, bytes};
    } catch (const std::exception&) {
    }
  }
  return std::nullopt;
}

std::string CannotKeepAside(const std::string& path) {
  return Format("%s could not be kept aside: the settings and scores will not be saved",
                GameFileName(path).c_str());
}

// Puts `bytes` (proven to complete the pair) in place of `file`. What stands there now is kept
// aside when it is damaged or `keep_current` says so; otherwise it is the old version that an
// interrupted exit was replacing.
bool PutInPlace(FoundFile& file, const std::string& bytes, bool keep_current,
                SaveDataLoad& result) {
  if ((file.state == FileState::Damaged || keep_current) && Exists(file.path)) {
    if (!KeepAside(file.path)) return false;
  }
  try {
    ReplaceFileAtomically(file.path, bytes);
  } catch (const std::exception& e) {
    result.messages.emplace_back(e.what());
    return false;
  }
  file.state = FileState::Read;
  file.bytes = bytes;
  return true;
}

}  // namespace

SaveDataLoad LoadSaveData(const std::string& folder, HighScoreTable& table, TGameOptions& options,
                          std::string& score_check) {
  SaveDataLoad result;
  FoundFile hs = Find(SaveFilePath(folder, kHighScoreFileName));
  FoundFile opts = Find(SaveFilePath(folder, kOptionsFileName));

  // The table as the file holds it.
  HighScoreTable loaded_table = table;
  if (hs.state == FileState::Read) {
    try {
      ParseHighScores(hs.bytes, loaded_table);
    } catch (const std::exception& e) {
      hs.state = FileState::Damaged;
      hs.message = e.what();
    }
  }
  if (hs.state == FileState::Damaged) result.messages.push_back(hs.message);

  // The options and the check text that vouches for the table.
  TGameOptions loaded_options;  // the first-run settings
  std::optional<std::string> check;
  if (opts.state == FileState::Read) {
    try {
      std::string c;
      ParseOptions(opts.bytes, loaded_options, c);
      check = c;
    } catch (const std::exception& e) {
      opts.state = FileState::Damaged;
      opts.message = e.what();
      loaded_options = TGameOptions{};
    }
  }
  if (opts.state == FileState::Damaged) {
    result.messages.push_back(opts.message);
    if (opts.bytes_read) check = ScoreCheckLine(opts.bytes);
  }

  bool table_ok = check && hs.state == FileState::Read && ComputeScoreCheck(loaded_table) == *check;
  const std::vector<std::string> leftovers_hs = Leftovers(hs.path);
  if (check && !table_ok) {
    // An exit cut short after the options were put in place: the new table waits beside the
    // old one. Else a kept-aside copy may be the one these options vouch for.
    const std::vector<std::string> kept = KeptAside(hs.path);
    for (const auto* candidates : {&leftovers_hs, &kept}) {
      if (auto found = FindTable(*candidates, *check)) {
        if (PutInPlace(hs, HighScoreFileText(found->second), candidates == &kept, result)) {
          loaded_table = found->second;
          table_ok = true;
          if (candidates == &kept) ::unlink(found->first.c_str());  // no longer set aside
        }
        break;
      }
    }
  }
  if (!table_ok && opts.state != FileState::Read && hs.state == FileState::Read) {
    // The options file is gone or damaged but a complete one beside it vouches for the table.
    if (auto found = FindOptions(Leftovers(opts.path), ComputeScoreCheck(loaded_table))) {
      if (PutInPlace(opts, found->second, false, result)) {
        std::string c;
        ParseOptions(found->second, loaded_options, c);
        check = c;
        table_ok = true;
      }
    }
  }

  // Damaged files go aside before anything is written over them.
  for (FoundFile* f : {&hs, &opts}) {
    if (f->state != FileState::Damaged || !Exists(f->path)) continue;
    if (!KeepAside(f->path)) {
      result.messages.push_back(CannotKeepAside(f->path));
      result.may_save = false;
    }
  }
  if (!table_ok) {
    // Nothing vouches for this table: the exit would overwrite it, so keep it beside.
    if (hs.state == FileState::Read && Exists(hs.path) && !KeepAside(hs.path)) {
      result.messages.push_back(CannotKeepAside(hs.path));
      result.may_save = false;
    }
    ResetHighScores(loaded_table);
  }

  // The pair on disk is settled: what an interrupted exit (or a reset's copy) left is no longer
  // needed.
  for (const std::string& path :
       {hs.path, opts.path, hs.path + kResetCopySuffix, opts.path + kResetCopySuffix})
    for (const std::string& leftover : Leftovers(path)) ::unlink(leftover.c_str());

  table = loaded_table;
  options = loaded_options;
  score_check = check.value_or(std::string{});
  return result;
}

void SaveGameData(const std::string& folder, const TGameOptions& options,
                  const HighScoreTable& table, const SaveStepHook& hook) {
  const auto step = [&](std::string_view name) {
    if (hook) hook(name);
  };
  step("create folder");
  const std::string native_folder = SaveFilePath(folder, "");
  std::error_code ec;
  std::filesystem::create_directories(native_folder, ec);
  if (ec)
    throw GameError(Format("Cannot create the folder %s: %s", GameFileName(folder).c_str(),
                           IoErrorMessage(ec.value()).c_str()));
  step("write scores");
  PendingFile scores(SaveFilePath(folder, kHighScoreFileName), HighScoreFileText(table));
  step("write options");
  PendingFile settings(SaveFilePath(folder, kOptionsFileName), OptionsFileText(options, table));
  step("put options in place");
  settings.Commit();
  // From here the new table's temporary file is what completes the pair: a failure keeps it
  // for the next start instead of removing it.
  step("put scores in place");
  try {
    scores.Commit();
  } catch (...) {
    scores.Keep();
    throw;
  }
  step("sync folders");
  settings.SyncFolder();
  if (FolderOf(scores.Target()) != FolderOf(settings.Target())) scores.SyncFolder();
  step("done");
}

}  // namespace trakvolt

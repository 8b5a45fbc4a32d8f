// Start-up loading with recovery of interrupted exits, and the paired exit writes.
#include "persist/save_data.h"

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
#include "platform/platform.h"

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
  std::string kept_as;  // where start-up set it aside
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

// Where an interrupted exit may have left a complete new version of `path`: the game's
// temporary files beside its target, then the plain ".tmp" an older game left beside the file.
std::vector<std::string> Leftovers(const std::string& path) {
  std::vector<std::string> found = TempFilesFor(TargetOf(path));
  if (Exists(path + ".tmp")) found.push_back(path + ".tmp");
  return found;
}

std::vector<std::string> KeptAsideCopies(const std::string& path) {
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

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// What start-up does to the folder, and what it tells about it.
class Repairs {
 public:
  Repairs(SaveAccess access, const SaveStepHook& hook, SaveDataLoad& result)
      : writes_(access == SaveAccess::ReadWrite), hook_(hook), result_(result) {}

  bool Writes() const { return writes_; }
  // A version that completes the pair stayed where it was: the pair on disk is not settled.
  bool Unsettled() const { return unsettled_; }

  // Moves `candidate` (a file proven to complete the pair) into the place of `file`. What
  // stands there is kept aside first when it is damaged or `keep_current` says so (a table the
  // options do not vouch for); otherwise it is the old version an interrupted exit was
  // replacing. When this fails the candidate stays where it is and the player is told.
  void MoveIntoPlace(FoundFile& file, const std::string& candidate, const std::string& bytes,
                     bool keep_current) {
    if (!writes_) return;
    if ((file.state == FileState::Damaged || keep_current) && Exists(file.path)) {
      if (!SetAside(file)) {
        unsettled_ = true;
        return;
      }
    }
    try {
      if (hook_) hook_("recover " + BaseName(file.path));
      const std::string target = TargetOf(file.path);
      // A rename needs no room on the disk; a link's target on another file system gets a copy.
      if (::rename(candidate.c_str(), target.c_str()) != 0) {
        if (errno != EXDEV) throw GameError(IoErrorMessage(errno));
        ReplaceFileAtomically(file.path, bytes);
        ::unlink(candidate.c_str());
      }
      SyncFolderOf(target);
    } catch (const std::exception& e) {
      unsettled_ = true;
      result_.messages.push_back(Format(
          "%s\n%s could not be brought up to date: its newer version stays in %s for the next "
          "start",
          e.what(), GameFileName(file.path).c_str(), GameFileName(candidate).c_str()));
      return;
    }
    file.state = FileState::Read;
    file.bytes = bytes;
  }

  // Keeps a damaged or unvouched file aside. Returns false when it had to stay in place.
  bool SetAside(FoundFile& file) {
    if (!writes_ || !Exists(file.path)) return true;
    if (hook_) hook_("keep " + BaseName(file.path) + " aside");
    const KeptAside kept = KeepAside(file.path);
    if (kept) {
      file.kept_as = kept.name;
      return true;
    }
    // Writing over it would lose it: this game saves nothing.
    const std::string name = GameFileName(file.path);
    result_.messages.push_back(
        Format("%s\n%s could not be kept aside: the settings and scores will not be saved",
               kept.why.c_str(), name.c_str()));
    result_.may_save = false;
    result_.why_not_saved =
        Format("%s could not be kept aside (%s)", name.c_str(), kept.why.c_str());
    return false;
  }

 private:
  bool writes_;
  const SaveStepHook& hook_;
  SaveDataLoad& result_;
  bool unsettled_ = false;
};

// A damaged file's message: the reason, then where it went.
std::string DamagedMessage(const FoundFile& file, const char* defaults) {
  if (file.kept_as.empty()) return file.message;
  return Format("%s\n%s is kept as %s; %s", file.message.c_str(), GameFileName(file.path).c_str(),
                GameFileName(file.kept_as).c_str(),
                file.state == FileState::Read ? "its complete version took its place" : defaults);
}

}  // namespace

SaveDataLoad LoadSaveData(const std::string& folder, HighScoreTable& table, TGameOptions& options,
                          std::string& score_check, SaveAccess access, const SaveStepHook& hook) {
  SaveDataLoad result;
  Repairs repairs(access, hook, result);
  if (!repairs.Writes()) {
    const std::string name = GameFileName(platform::NativePath(folder));
    result.messages.push_back(
        Format("The save folder %s is in use by another game\nThis game will not save its settings "
               "or scores",
               name.c_str()));
    result.may_save = false;
    result.why_not_saved = Format("the save folder %s is in use by another game", name.c_str());
  }
  const std::string hs_path = SaveFilePath(folder, kHighScoreFileName);
  const std::string opts_path = SaveFilePath(folder, kOptionsFileName);
  if (repairs.Writes()) {
    // Copies that only repeat what is in place must not keep a damaged file from going aside.
    FreeKeptAsideNames(hs_path);
    FreeKeptAsideNames(opts_path);
  }
  FoundFile hs = Find(hs_path);
  FoundFile opts = Find(opts_path);

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
  const bool hs_damaged = hs.state == FileState::Damaged;

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
  const bool opts_damaged = opts.state == FileState::Damaged;
  if (opts_damaged && opts.bytes_read) check = ScoreCheckLine(opts.bytes);

  bool table_ok = check && hs.state == FileState::Read && ComputeScoreCheck(loaded_table) == *check;
  if (check && !table_ok) {
    // An exit cut short after the options were put in place: the new table waits beside the
    // old one. Else a kept-aside copy may be the one these options vouch for.
    const std::vector<std::string> leftovers = Leftovers(hs.path);
    const std::vector<std::string> kept = KeptAsideCopies(hs.path);
    for (const auto* candidates : {&leftovers, &kept}) {
      if (auto found = FindTable(*candidates, *check)) {
        repairs.MoveIntoPlace(hs, found->first, HighScoreFileText(found->second),
                              candidates == &kept);
        loaded_table = found->second;
        table_ok = true;
        break;
      }
    }
  }
  if (!table_ok && opts.state != FileState::Read && hs.state == FileState::Read) {
    // The options file is gone or damaged but a complete one beside it vouches for the table.
    if (auto found = FindOptions(Leftovers(opts.path), ComputeScoreCheck(loaded_table))) {
      repairs.MoveIntoPlace(opts, found->first, found->second, false);
      std::string c;
      ParseOptions(found->second, loaded_options, c);
      check = c;
      table_ok = true;
    }
  }

  // Damaged files go aside before anything is written over them.
  for (FoundFile* f : {&hs, &opts})
    if (f->state == FileState::Damaged) repairs.SetAside(*f);
  if (!table_ok) {
    // Nothing vouches for this table: the exit would overwrite it, so keep it beside.
    if (hs.state == FileState::Read) repairs.SetAside(hs);
    ResetHighScores(loaded_table);
  }
  // The damage is told first, in load order, then what start-up could not mend.
  std::vector<std::string> told;
  if (hs_damaged) told.push_back(DamagedMessage(hs, "the default scores take its place"));
  if (opts_damaged) told.push_back(DamagedMessage(opts, "the first-run settings take its place"));
  result.messages.insert(result.messages.begin() + (repairs.Writes() ? 0 : 1), told.begin(),
                         told.end());

  // Once the pair on disk is complete, what an interrupted exit (or a reset's copy) left is no
  // longer needed; a version that could not be moved into place stays for the next start.
  if (repairs.Writes()) {
    if (table_ok && !repairs.Unsettled())
      for (const std::string& path : {hs.path, opts.path})
        for (const std::string& leftover : TempFilesFor(TargetOf(path))) ::unlink(leftover.c_str());
    for (const std::string& path : {hs.path + kResetCopySuffix, opts.path + kResetCopySuffix})
      for (const std::string& leftover : TempFilesFor(TargetOf(path))) ::unlink(leftover.c_str());
  }

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
  // Every failure names the file and says what the player still has.
  const std::string hs_path = SaveFilePath(folder, kHighScoreFileName);
  const std::string opts_path = SaveFilePath(folder, kOptionsFileName);
  const auto failed = [](const std::exception& e, const std::string& path, const char* what) {
    return GameError(Format("%s\n%s %s", e.what(), GameFileName(path).c_str(), what));
  };
  step("write scores");
  std::optional<PendingFile> scores, settings;
  try {
    scores.emplace(hs_path, HighScoreFileText(table));
  } catch (const std::exception& e) {
    throw failed(e, hs_path, "could not be written: nothing was saved");
  }
  step("write options");
  try {
    settings.emplace(opts_path, OptionsFileText(options, table));
  } catch (const std::exception& e) {
    throw failed(e, opts_path, "could not be written: nothing was saved");
  }
  step("put options in place");
  try {
    settings->Commit();
  } catch (const std::exception& e) {
    throw failed(e, opts_path, "could not be replaced: nothing was saved");
  }
  // From here the new table's temporary file is what completes the pair: a failure keeps it
  // for the next start instead of removing it.
  step("put scores in place");
  try {
    scores->Commit();
  } catch (const std::exception& e) {
    const std::string waiting = scores->TempPath();
    scores->Keep();
    throw failed(e, hs_path,
                 Format("could not be replaced: the settings were saved, and the new scores wait "
                        "in %s for the next start",
                        GameFileName(waiting).c_str())
                     .c_str());
  }
  step("sync folders");
  settings->SyncFolder();
  if (FolderOf(scores->Target()) != FolderOf(settings->Target())) scores->SyncFolder();
  step("done");
}

}  // namespace trakvolt

// The working folder's choice: stay beside the data, or the player's folder in the data home.
#include "platform/data_home.h"

#include <cstdlib>
#include <system_error>

namespace trakvolt::platform {
namespace fs = std::filesystem;
namespace {

// What the player's folder links to in the installed data, by the same relative names.
constexpr const char* kInstalledEntries[] = {"Data/Res", "Data/Music", "website.url"};

bool HoldsGameData(const fs::path& folder) {
  std::error_code ec;
  return !folder.empty() && fs::is_directory(folder / "Data" / "Res", ec);
}

std::optional<std::string> Env(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

// The XDG data home: $XDG_DATA_HOME when it is an absolute path (a relative one is ignored,
// as the XDG rules say), otherwise ~/.local/share.
fs::path DataHomeBase(const DataHomeInputs& in) {
  if (in.xdg_data_home && fs::path(*in.xdg_data_home).is_absolute()) return *in.xdg_data_home;
  if (in.home && fs::path(*in.home).is_absolute()) return fs::path(*in.home) / ".local" / "share";
  throw DataHomeError(
      "there is no folder for your settings and scores: neither XDG_DATA_HOME nor HOME is set "
      "to an absolute path");
}

[[noreturn]] void Fail(const std::string& what, const fs::path& path, const std::error_code& ec) {
  throw DataHomeError(what + " " + path.string() + ": " + ec.message());
}

// Points `link` at `target`, replacing an older link in one rename, so the folder never lacks
// it. A real file or folder there is the player's own and stays.
void RefreshLink(const fs::path& link, const fs::path& target) {
  std::error_code ec;
  const fs::file_status st = fs::symlink_status(link, ec);
  const bool is_link = fs::is_symlink(st);
  if (fs::exists(st) && !is_link) return;
  if (!fs::exists(target, ec)) {
    if (is_link) fs::remove(link, ec);
    return;
  }
  if (is_link && fs::read_symlink(link, ec) == target && !ec) return;
  fs::path fresh = link;
  fresh += ".new";
  fs::remove(fresh, ec);
  fs::create_symlink(target, fresh, ec);
  if (ec) Fail("cannot link the installed " + target.string() + " as", link, ec);
  fs::rename(fresh, link, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(fresh, ignored);
    Fail("cannot link the installed " + target.string() + " as", link, ec);
  }
}

}  // namespace

DataHomeInputs ReadDataHomeInputs(const fs::path& data_from_bin, const fs::path& configured_data) {
  DataHomeInputs in;
  std::error_code ec;
  in.working_dir = fs::current_path(ec);
  if (ec)
    throw DataHomeError("the folder the game was started from cannot be read: " + ec.message());
  in.xdg_data_home = Env("XDG_DATA_HOME");
  in.home = Env("HOME");
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && program.is_absolute())
    in.data_beside_program = (program.parent_path() / data_from_bin).lexically_normal();
  in.configured_data = configured_data;
  return in;
}

DataHome ChooseDataHome(const DataHomeInputs& in) {
  if (HoldsGameData(in.working_dir)) return DataHome{true, in.working_dir, {}};
  fs::path installed;
  for (const fs::path& candidate : {in.data_beside_program, in.configured_data}) {
    if (HoldsGameData(candidate)) {
      installed = candidate;
      break;
    }
  }
  if (installed.empty()) {
    std::string looked;
    for (const fs::path& candidate : {in.data_beside_program, in.configured_data})
      if (!candidate.empty()) looked += (looked.empty() ? "" : " nor ") + candidate.string();
    throw DataHomeError(
        "the game's data is not installed: neither " + in.working_dir.string() +
        (looked.empty() ? "" : " nor " + looked) +
        " holds Data/Res (start the game from its build folder, or install it again)");
  }
  return DataHome{false, DataHomeBase(in) / "trakvolt", installed};
}

void PrepareDataHome(const DataHome& home) {
  if (home.stay) return;
  const fs::path save = home.folder / "Data" / "Save";
  std::error_code ec;
  fs::create_directories(save, ec);
  if (ec) Fail("cannot create the folder for your settings and scores", save, ec);
  if (!fs::is_directory(save, ec))
    throw DataHomeError(save.string() +
                        " is not a folder: your settings and scores cannot be kept");
  for (const char* entry : kInstalledEntries)
    RefreshLink(home.folder / entry, home.installed / entry);
}

DataHome EnterDataHome(const DataHomeInputs& inputs) {
  DataHome home = ChooseDataHome(inputs);
  PrepareDataHome(home);
  std::error_code ec;
  fs::current_path(home.folder, ec);
  if (ec) Fail("cannot work in", home.folder, ec);
  return home;
}

}  // namespace trakvolt::platform

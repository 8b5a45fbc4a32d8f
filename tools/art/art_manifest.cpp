// Parsing of the art source manifest.
#include "art_manifest.h"

#include <glob.h>

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace trakvolt::art {
namespace {

struct LineError {
  std::string where;
  [[noreturn]] void operator()(const std::string& what) const {
    throw std::runtime_error(where + ": " + what);
  }
};

int ParseInt(const std::string& text, int lo, int hi, const LineError& fail,
             const std::string& what) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi)
    fail(what + " must be a whole number " + std::to_string(lo) + ".." + std::to_string(hi) +
         ", got '" + text + "'");
  return value;
}

bool ParseBool(const std::string& text, const LineError& fail, const std::string& what) {
  if (text == "0") return false;
  if (text == "1") return true;
  fail(what + " must be 0 or 1, got '" + text + "'");
}

Size ParseSize(const std::string& text, const LineError& fail, const std::string& what) {
  const auto x = text.find('x');
  if (x == std::string::npos) fail(what + " must be WxH, got '" + text + "'");
  return Size{ParseInt(text.substr(0, x), 0, 4096, fail, what),
              ParseInt(text.substr(x + 1), 0, 4096, fail, what)};
}

std::uint32_t ParseColour(const std::string& text, const LineError& fail, const std::string& what) {
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (text.size() != 6 || ec != std::errc() || end != text.data() + text.size())
    fail(what + " must be six hex digits RRGGBB, got '" + text + "'");
  return value;
}

std::vector<std::filesystem::path> ExpandSources(const std::filesystem::path& folder,
                                                 const std::string& list, const LineError& fail) {
  std::vector<std::filesystem::path> out;
  std::stringstream items(list);
  std::string item;
  while (std::getline(items, item, ',')) {
    if (item.empty()) fail("empty source in '" + list + "'");
    const std::filesystem::path full = folder / item;
    if (item.find_first_of("*?[") != std::string::npos) {
      glob_t matches{};
      const int rc = glob(full.c_str(), 0, nullptr, &matches);  // sorted by glob itself
      if (rc == 0)
        for (std::size_t i = 0; i < matches.gl_pathc; ++i) out.emplace_back(matches.gl_pathv[i]);
      globfree(&matches);
      if (rc != 0) fail("no file matches '" + item + "'");
    } else {
      if (!std::filesystem::is_regular_file(full)) fail("source '" + item + "' not found");
      out.push_back(full);
    }
  }
  if (out.empty()) fail("no sources");
  return out;
}

ImageEntry ParseImage(std::istringstream& words, const std::filesystem::path& folder,
                      const LineError& fail) {
  ImageEntry e;
  std::string sources;
  if (!(words >> e.name >> sources)) fail("expected: image NAME SOURCE[,SOURCE...] [options]");
  e.sources = ExpandSources(folder, sources, fail);
  for (std::string opt; words >> opt;) {
    const auto eq = opt.find('=');
    const std::string k = opt.substr(0, eq), v = eq == std::string::npos ? "" : opt.substr(eq + 1);
    if (k == "pattern")
      e.pattern = ParseSize(v, fail, k);
    else if (k == "skip")
      e.skip = ParseSize(v, fail, k);
    else if (k == "transparent")
      e.transparent = ParseBool(v, fail, k);
    else if (k == "key")
      e.key = ParseColour(v, fail, k);
    else if (k == "dither")
      e.dither = ParseBool(v, fail, k);
    else
      fail("unknown image option '" + opt + "'");
  }
  return e;
}

FontEntry ParseFont(std::istringstream& words, const std::filesystem::path& folder,
                    const LineError& fail) {
  FontEntry e;
  if (!(words >> e.name)) fail("expected: font NAME cell=W height=H size=PX baseline=Y [options]");
  for (std::string opt; words >> opt;) {
    const auto eq = opt.find('=');
    const std::string k = opt.substr(0, eq), v = eq == std::string::npos ? "" : opt.substr(eq + 1);
    if (k == "cell")
      e.cell = ParseInt(v, 4, 256, fail, k);
    else if (k == "height")
      e.height = ParseInt(v, 4, 256, fail, k);
    else if (k == "size")
      e.size = ParseInt(v, 4, 256, fail, k);
    else if (k == "baseline")
      e.baseline = ParseInt(v, 1, 256, fail, k);
    else if (k == "widths") {
      e.widths = ParseInt(v, 24, 40, fail, k);
      if (e.widths != 24 && e.widths != 40) fail("widths must be 24 or 40");
    } else if (k == "outline")
      e.outline = ParseInt(v, 0, 4, fail, k);
    else if (k == "shadow")
      e.shadow = ParseInt(v, 0, 4, fail, k);
    else if (k == "top")
      e.top = ParseColour(v, fail, k);
    else if (k == "bottom")
      e.bottom = ParseColour(v, fail, k);
    else if (k == "edge")
      e.edge = ParseColour(v, fail, k);
    else if (k == "dim")
      e.dim = ParseBool(v, fail, k);
    else if (k == "face")
      e.face = std::filesystem::path(v).is_absolute() ? std::filesystem::path(v) : folder / v;
    else if (k == "key")
      e.key = ParseColour(v, fail, k);
    else if (k == "dither")
      e.dither = ParseBool(v, fail, k);
    else
      fail("unknown font option '" + opt + "'");
  }
  if (e.baseline >= e.height) fail("baseline must lie inside the frame height");
  if (!std::filesystem::is_regular_file(e.face))
    fail("font face '" + e.face.string() + "' not found");
  return e;
}

}  // namespace

ArtManifest ReadArtManifest(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path.string() + ": cannot open manifest");
  ArtManifest manifest;
  manifest.folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
    std::istringstream words(text);
    std::string kind;
    if (!(words >> kind)) continue;
    const LineError fail{path.string() + ":" + std::to_string(number)};
    if (kind == "image") {
      ImageEntry e = ParseImage(words, manifest.folder, fail);
      e.line = number;
      manifest.entries.emplace_back(std::move(e));
    } else if (kind == "font") {
      FontEntry e = ParseFont(words, manifest.folder, fail);
      e.line = number;
      manifest.entries.emplace_back(std::move(e));
    } else {
      fail("unknown entry '" + kind + "' (expected image or font)");
    }
  }
  return manifest;
}

}  // namespace trakvolt::art

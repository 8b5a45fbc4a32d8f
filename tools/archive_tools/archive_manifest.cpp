// Manifest parsing and formatting, and packing and unpacking archives through it.
#include "archive_manifest.h"

#include <cctype>
#include <charconv>
#include <set>

#include "archive/archive_file.h"
#include "archive/archive_object.h"
#include "archive/image_list.h"
#include "archive/named_collection.h"
#include "archive/wave_list.h"
#include "base/cp1251.h"
#include "base/game_error.h"
#include "base/png_file.h"

namespace trakvolt {

namespace {

// Splits a line into words; "double quotes" hold spaces and '#', \" and \\ escape inside them.
// A '#' outside quotes starts a comment.
std::vector<std::string> Words(std::string_view line, const std::string& where) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      std::string w;
      ++i;
      while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        w += line[i++];
      }
      if (i == line.size()) throw GameError(where + ": unterminated quote");
      ++i;
      words.push_back(std::move(w));
    } else {
      const std::size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
      words.emplace_back(line.substr(start, i - start));
    }
  }
  return words;
}

std::string Quoted(const std::string& w) {
  for (unsigned char c : w)
    if (c < 0x20 && c != '\t')
      throw GameError("A name with control characters cannot be written to a manifest");
  const bool plain = !w.empty() && w.find_first_of(" \t\r\"#\\") == std::string::npos;
  if (plain) return w;
  std::string out = "\"";
  for (char c : w) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

int ParseInt(std::string_view s, const std::string& where) {
  int v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size())
    throw GameError(where + ": not a number: " + std::string(s));
  return v;
}

bool ParseFlag(std::string_view s, const std::string& where) {
  if (s == "0") return false;
  if (s == "1") return true;
  throw GameError(where + ": expected 0 or 1, got " + std::string(s));
}

void ParsePair(std::string_view s, int& a, int& b, const std::string& where) {
  const std::size_t x = s.find('x');
  if (x == std::string_view::npos) throw GameError(where + ": expected WxH, got " + std::string(s));
  a = ParseInt(s.substr(0, x), where);
  b = ParseInt(s.substr(x + 1), where);
}

// RRGGBB as in HTML, or AARRGGBB for keys with a high byte; stored 0xAABBGGRR.
std::uint32_t ParseKey(std::string_view s, const std::string& where) {
  std::uint32_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 16);
  if ((s.size() != 6 && s.size() != 8) || ec != std::errc() || end != s.data() + s.size())
    throw GameError(where + ": key must be RRGGBB, got " + std::string(s));
  return (v & 0xFF000000u) | ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}

std::string FormatKey(std::uint32_t c) {
  const std::uint32_t rgb = ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
  return c > 0xFFFFFFu ? Format("%08X", (c & 0xFF000000u) | rgb) : Format("%06X", rgb);
}

ManifestEntry ParseEntry(const std::vector<std::string>& w, bool images, const std::string& where) {
  const bool image = w[0] == "image";
  if (w[0] != "image" && w[0] != "wave") throw GameError(where + ": unknown entry '" + w[0] + "'");
  if (image != images)
    throw GameError(where + ": '" + w[0] + "' entry in an archive of " +
                    (images ? "images" : "sounds"));
  if (w.size() < 3) throw GameError(where + ": expected " + w[0] + " NAME FILE [options]");
  ManifestEntry e;
  e.name = w[1];
  e.file = w[2];
  for (std::size_t i = 3; i < w.size(); ++i) {
    const std::size_t eq = w[i].find('=');
    const std::string key = w[i].substr(0, eq);
    const std::string_view value =
        eq == std::string::npos ? std::string_view() : std::string_view(w[i]).substr(eq + 1);
    if (eq == std::string::npos) throw GameError(where + ": expected OPTION=VALUE, got " + w[i]);
    if (image && key == "pattern")
      ParsePair(value, e.pattern_width, e.pattern_height, where);
    else if (image && key == "skip")
      ParsePair(value, e.skip_width, e.skip_height, where);
    else if (image && key == "transparent")
      e.transparent = ParseFlag(value, where);
    else if (image && key == "key")
      e.key = ParseKey(value, where);
    else if (image && key == "system")
      e.system_memory = ParseFlag(value, where);
    else if (!image && key == "looped")
      e.looped = ParseFlag(value, where);
    else if (!image && key == "max")
      e.max_playing = ParseInt(value, where);
    else
      throw GameError(where + ": unknown option '" + key + "' for " + w[0]);
  }
  return e;
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  return ReadArchiveFile(path.string());
}

// A file name for an item: its name with unsafe characters replaced, unique ignoring case.
std::string SafeFileName(const std::string& name, const char* ext, std::set<std::string>& used) {
  std::string base;
  for (unsigned char c : name)
    base += (std::isalnum(c) && c < 0x80) || c == '_' || c == '-' ? static_cast<char>(c) : '_';
  if (base.empty()) base = "item";
  std::string file = base + ext;
  for (int n = 2; used.contains(LowerCp1251(file)); ++n)
    file = base + "_" + std::to_string(n) + ext;
  used.insert(LowerCp1251(file));
  return file;
}

}  // namespace

Manifest ParseManifest(std::string_view text, const std::string& source) {
  Manifest m;
  bool have_kind = false;
  int line_no = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++line_no;
    const std::string where = source + ":" + std::to_string(line_no);
    const std::vector<std::string> w = Words(line, where);
    if (w.empty()) continue;
    if (!have_kind) {
      if (w.size() != 2 || w[0] != "archive" || (w[1] != "images" && w[1] != "sounds"))
        throw GameError(where + ": the first entry must be 'archive images' or 'archive sounds'");
      m.images = w[1] == "images";
      have_kind = true;
      continue;
    }
    ManifestEntry e = ParseEntry(w, m.images, where);
    e.line = line_no;
    m.entries.push_back(std::move(e));
  }
  if (!have_kind) throw GameError(source + ": empty manifest (no 'archive' entry)");
  return m;
}

std::string FormatManifest(const Manifest& m) {
  std::string out = m.images ? "archive images\n" : "archive sounds\n";
  for (const ManifestEntry& e : m.entries) {
    out += (m.images ? "image " : "wave ") + Quoted(e.name) + " " + Quoted(e.file);
    if (m.images) {
      if (e.pattern_width || e.pattern_height)
        out += Format(" pattern=%dx%d", e.pattern_width, e.pattern_height);
      if (e.skip_width || e.skip_height) out += Format(" skip=%dx%d", e.skip_width, e.skip_height);
      if (!e.transparent) out += " transparent=0";
      if (e.key) out += " key=" + FormatKey(e.key);
      if (e.system_memory) out += " system=1";
    } else {
      if (e.looped) out += " looped=1";
      if (e.max_playing) out += Format(" max=%d", e.max_playing);
    }
    out += "\n";
  }
  return out;
}

std::vector<std::uint8_t> PackArchive(const Manifest& m, const std::filesystem::path& base_dir) {
  auto failing = [](const ManifestEntry& e, const std::string& why) {
    return GameError(Format("line %d (%s): %s", e.line, e.name.c_str(), why.c_str()));
  };
  if (m.images) {
    TImageCollection c;
    for (const ManifestEntry& e : m.entries) {
      TImageCollectionItem& item = c.Add();
      item.SetName(Utf8ToCp1251(e.name));
      item.SetPatternWidth(e.pattern_width);
      item.SetPatternHeight(e.pattern_height);
      item.SetSkipWidth(e.skip_width);
      item.SetSkipHeight(e.skip_height);
      item.SetTransparent(e.transparent);
      item.SetTransparentColor(e.key);
      item.SetSystemMemory(e.system_memory);
      try {
        if (e.file != "-") item.SetPicture(ReadPng((base_dir / e.file).string()));
      } catch (const GameError& err) {
        throw failing(e, err.what());
      }
    }
    return c.SaveToBytes();
  }
  TSoundCollection c;
  for (const ManifestEntry& e : m.entries) {
    TSoundCollectionItem& item = c.Add();
    item.SetName(Utf8ToCp1251(e.name));
    item.SetLooped(e.looped);
    item.SetMaxPlayingCount(e.max_playing);
    if (e.file == "-") continue;
    try {
      TWave wave = ParseRiffWave(ReadWholeFile(base_dir / e.file), true);
      if (wave.Format.size() < 16) throw GameError(e.file + ": no \"fmt \" chunk");
      item.SetWave(std::move(wave));
    } catch (const GameError& err) {
      throw failing(e, err.what());
    }
  }
  return c.SaveToBytes();
}

Manifest UnpackArchive(std::span<const std::uint8_t> archive,
                       const std::filesystem::path& out_dir) {
  Manifest m;
  std::set<std::string> used{"manifest.txt"};
  m.images = ArchiveHoldsImages(archive, {});
  if (m.images) {
    TImageCollection c;
    c.LoadFromBytes(archive);
    for (int i = 0; i < c.Count(); ++i) {
      const TImageCollectionItem& item = c[i];
      ManifestEntry e;
      e.name = Cp1251ToUtf8(item.Name());
      e.pattern_width = item.PatternWidth();
      e.pattern_height = item.PatternHeight();
      e.skip_width = item.SkipWidth();
      e.skip_height = item.SkipHeight();
      e.transparent = item.Transparent();
      e.key = item.TransparentColor();
      e.system_memory = item.SystemMemory();
      e.file = "-";
      if (const std::optional<RgbImage> picture = item.DecodePicture()) {
        e.file = SafeFileName(item.Name(), ".png", used);
        WritePng((out_dir / e.file).string(), *picture);
      }
      m.entries.push_back(std::move(e));
    }
  } else {
    TSoundCollection c;
    c.LoadFromBytes(archive);
    for (int i = 0; i < c.Count(); ++i) {
      const TSoundCollectionItem& item = c[i];
      ManifestEntry e;
      e.name = Cp1251ToUtf8(item.Name());
      e.looped = item.Looped();
      e.max_playing = item.MaxPlayingCount();
      e.file = "-";
      if (!item.Wave().Empty()) {
        e.file = SafeFileName(item.Name(), ".wav", used);
        WriteArchiveFile((out_dir / e.file).string(), BuildRiffWave(item.Wave(), true));
      }
      m.entries.push_back(std::move(e));
    }
  }
  WriteArchiveFile((out_dir / "manifest.txt").string(), [&] {
    const std::string text = FormatManifest(m);
    return std::vector<std::uint8_t>(text.begin(), text.end());
  }());
  return m;
}

bool ArchiveHoldsImages(std::span<const std::uint8_t> archive, const std::filesystem::path& path) {
  const std::string root = PeekRootClass(archive);
  if (root == kImageRootClass) return true;
  if (root == kSoundRootClass) return false;
  return LowerCp1251(path.extension().string()) != ".dxw";
}

}  // namespace trakvolt

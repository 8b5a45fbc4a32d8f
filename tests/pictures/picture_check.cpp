// The screen guard's comparison with the reference pictures, the pictures a mismatch leaves,
// and the art fingerprint kept beside the references.
#include "pictures/picture_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "base/game_error.h"
#include "base/png_file.h"

namespace trakvolt::testing_support {
namespace fs = std::filesystem;

namespace {

constexpr const char* kArchives[] = {"Res1.dxg", "Res3.dxg"};
constexpr const char* kArtFile = "art.txt";
constexpr Pixel565 kMagenta = 0xF81F;
constexpr Pixel565 kYellow = 0xFFE0;

std::string Hex(std::uint64_t v) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llx", static_cast<unsigned long long>(v));
  return text;
}

std::optional<std::uint64_t> HashFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::uint64_t h = 0xcbf29ce484222325ull;
  std::vector<char> block(1 << 16);
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const std::streamsize got = in.gcount();
    for (std::streamsize i = 0; i < got; ++i) {
      h ^= static_cast<unsigned char>(block[static_cast<std::size_t>(i)]);
      h *= 0x100000001b3ull;
    }
  }
  return h;
}

std::string ArtText(const ArtFingerprint& art) {
  std::string text = "# The generated art the reference pictures were taken with (FNV-1a 64).\n";
  for (const auto& [file, hash] : art) text += file + " " + hash + "\n";
  return text;
}

// What art.txt holds, or nothing when it is missing.
std::optional<ArtFingerprint> ReadArtFile(const fs::path& path) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  ArtFingerprint art;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string file, hash;
    words >> file >> hash;
    art.emplace_back(file, hash);
  }
  return art;
}

std::string Size(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

void RemoveFile(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

std::optional<fs::path> Canonical(const fs::path& path) {
  std::error_code ec;
  fs::path out = fs::weakly_canonical(path, ec);
  if (ec) return std::nullopt;
  return out;
}

}  // namespace

ArtFingerprint FingerprintArt(const fs::path& art) {
  ArtFingerprint out;
  for (const char* file : kArchives) {
    const std::optional<std::uint64_t> hash = HashFile(art / file);
    out.emplace_back(file, hash ? Hex(*hash) : "missing");
  }
  return out;
}

PictureDifference Compare(const Surface& reference, const Surface& actual) {
  PictureDifference d;
  for (int y = 0; y < actual.Height(); ++y)
    for (int x = 0; x < actual.Width(); ++x) {
      if (reference.At(x, y) == actual.At(x, y)) continue;
      d.box = d.count == 0 ? Rect{x, y, x + 1, y + 1}
                           : Rect{std::min(d.box.left, x), std::min(d.box.top, y),
                                  std::max(d.box.right, x + 1), std::max(d.box.bottom, y + 1)};
      ++d.count;
    }
  return d;
}

Surface DifferencePicture(const Surface& reference, const Surface& actual,
                          const PictureDifference& difference) {
  Surface out(reference.Width(), reference.Height());
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) {
      // Two fifths of each channel: the picture stays readable and magenta stands out on it.
      const unsigned p = reference.At(x, y);
      out.At(x, y) = static_cast<Pixel565>(((p >> 11) * 2 / 5) << 11 |
                                           (((p >> 5) & 0x3Fu) * 2 / 5) << 5 | (p & 0x1Fu) * 2 / 5);
    }
  if (difference.count == 0) return out;
  // The frame runs two pixels outside the box, pressed inside the picture at its edges.
  const Rect frame = Rect{difference.box.left - 2, difference.box.top - 2, difference.box.right + 2,
                          difference.box.bottom + 2}
                         .Intersect(Bounds(0, 0, out.Width(), out.Height()));
  for (int x = frame.left; x < frame.right; ++x)
    out.At(x, frame.top) = out.At(x, frame.bottom - 1) = kYellow;
  for (int y = frame.top; y < frame.bottom; ++y)
    out.At(frame.left, y) = out.At(frame.right - 1, y) = kYellow;
  for (int y = difference.box.top; y < difference.box.bottom; ++y)
    for (int x = difference.box.left; x < difference.box.right; ++x)
      if (reference.At(x, y) != actual.At(x, y)) out.At(x, y) = kMagenta;
  return out;
}

PictureGuard::PictureGuard(GuardPlaces places, const char* renew)
    : places_(std::move(places)), renew_value_(renew ? renew : "") {
  fs::path value(renew_value_);
  if (!value.has_filename()) value = value.parent_path();  // a trailing slash names it too
  if (!renew_value_.empty() && value.is_absolute()) {
    const std::optional<fs::path> asked = Canonical(value);
    const std::optional<fs::path> folder = Canonical(places_.references);
    renewing_ = asked && folder && *asked == *folder;
  }
}

const ArtFingerprint& PictureGuard::Art() {
  if (!art_) art_ = FingerprintArt(places_.art);
  return *art_;
}

std::string PictureGuard::ArtNote() {
  const std::optional<ArtFingerprint> then = ReadArtFile(places_.references / kArtFile);
  if (!then)
    return "no " + (places_.references / kArtFile).string() +
           ", so nothing tells whether the generated art or the drawing changed";
  if (*then == Art())
    return "the drawing changed (the generated art is the one the references were made with)";
  std::string note =
      "the generated art changed since the references were made (a new librsvg, cairo or "
      "FreeType can move pixels):";
  for (const auto& [file, hash] : Art()) {
    std::string before = "not kept";
    for (const auto& [kept_file, kept_hash] : *then)
      if (kept_file == file) before = kept_hash;
    if (before != hash) note += " " + file + " was " + before + ", is " + hash + ";";
  }
  note.pop_back();
  return note;
}

std::string PictureGuard::Advice(bool missing) const {
  std::string advice = (missing ? "\n  renew the references to add it: "
                                : "\n  if the change is meant, renew the references: ") +
                       places_.renew_command;
  if (!renew_value_.empty() && !renewing_)
    advice += "\n  TRAKVOLT_GUARD_RENEW=" + renew_value_ +
              " renews nothing: only the absolute path " + places_.references.string() + " does";
  return advice;
}

fs::path PictureGuard::FailurePath(const std::string& name, const char* suffix) const {
  return places_.failures / (name + suffix);
}

void PictureGuard::ClearFailure(const std::string& name) const {
  RemoveFile(FailurePath(name, ".png"));
  RemoveFile(FailurePath(name, ".diff.png"));
}

void PictureGuard::Renew(const std::string& name, const Surface& picture) {
  fs::create_directories(places_.references);
  const fs::path path = places_.references / (name + ".png");
  WritePng(path.string(), picture);
  std::printf("renewed %s\n", path.string().c_str());
}

::testing::AssertionResult PictureGuard::Check(const std::string& name, const Surface& picture) {
  const fs::path path = places_.references / (name + ".png");
  std::optional<Surface> reference;
  std::string unreadable = "it is missing";
  if (fs::exists(path)) {
    try {
      reference = ToSurface565(ReadPng(path.string()));
    } catch (const GameError& e) {
      unreadable = e.what();
    }
  }
  const bool same_size =
      reference && reference->Width() == picture.Width() && reference->Height() == picture.Height();
  const PictureDifference difference =
      same_size ? Compare(*reference, picture) : PictureDifference{};

  if (same_size && difference.count == 0 && !renewing_) {
    ClearFailure(name);
    return ::testing::AssertionSuccess();
  }
  if (renewing_) {
    if (!same_size || difference.count > 0) Renew(name, picture);
    const fs::path art_file = places_.references / kArtFile;
    if (ReadArtFile(art_file) != Art()) {
      std::ofstream out(art_file);
      if (!(out << ArtText(Art()) << std::flush))
        throw GameError("Cannot write " + art_file.string());
      std::printf("renewed %s\n", art_file.string().c_str());
    }
    ClearFailure(name);
    return ::testing::AssertionSuccess();
  }

  fs::create_directories(places_.failures);
  const fs::path actual = FailurePath(name, ".png");
  const fs::path diff = FailurePath(name, ".diff.png");
  WritePng(actual.string(), picture);
  RemoveFile(diff);
  std::string message;
  if (!reference) {
    message = name + " has no usable reference " + path.string() + ": " + unreadable +
              "\n  the picture: " + actual.string();
  } else if (!same_size) {
    message = name + " is " + Size(picture.Width(), picture.Height()) + " but its reference " +
              path.string() + " is " + Size(reference->Width(), reference->Height()) + "\n  " +
              ArtNote() + "\n  the picture: " + actual.string();
  } else {
    WritePng(diff.string(), DifferencePicture(*reference, picture, difference));
    const Rect& box = difference.box;
    message = name + " differs from its reference " + path.string() + "\n  " +
              std::to_string(difference.count) +
              (difference.count == 1 ? " pixel differs" : " pixels differ") + ", within x " +
              std::to_string(box.left) + ".." + std::to_string(box.right - 1) + ", y " +
              std::to_string(box.top) + ".." + std::to_string(box.bottom - 1) + " (" +
              Size(box.Width(), box.Height()) + ")\n  " + ArtNote() +
              "\n  the picture:     " + actual.string() + "\n  the differences: " + diff.string();
  }
  return ::testing::AssertionFailure() << message << Advice(!reference);
}

}  // namespace trakvolt::testing_support

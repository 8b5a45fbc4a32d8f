// The screen guard's comparison: a picture against its reference PNG, with the actual picture and
// a difference picture left behind when they differ, and the art fingerprint that tells a new
// librsvg / cairo / FreeType apart from a change to the drawing.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/surface.h"

namespace trakvolt::testing_support {

struct GuardPlaces {
  std::filesystem::path references;  // NAME.png for each picture, and art.txt
  std::filesystem::path failures;    // where a mismatch leaves NAME.png and NAME.diff.png
  std::filesystem::path art;         // the folder holding the generated Res1.dxg and Res3.dxg
  std::string renew_command;         // named in every failure
};

// The generated archives the pictures are made from, each with its FNV-1a 64 in hex ("missing"
// when the file is not there).
using ArtFingerprint = std::vector<std::pair<std::string, std::string>>;
ArtFingerprint FingerprintArt(const std::filesystem::path& art);

// The pixels that differ between two pictures of the same size and the box around them.
struct PictureDifference {
  long count = 0;
  Rect box{};  // empty when nothing differs
};
PictureDifference Compare(const Surface& reference, const Surface& actual);
// The reference dimmed, the differing pixels in magenta, a yellow frame around their box.
Surface DifferencePicture(const Surface& reference, const Surface& actual,
                          const PictureDifference& difference);

class PictureGuard {
 public:
  // `renew` is the value of TRAKVOLT_GUARD_RENEW (null when unset). Only the absolute path of
  // the references folder itself renews, so a stray value can't rewrite the references.
  PictureGuard(GuardPlaces places, const char* renew);

  bool Renewing() const { return renewing_; }

  // Passes when `picture` equals references/NAME.png. Renewing, it writes the reference when it
  // is missing or differs, and art.txt when the art changed, and passes.
  ::testing::AssertionResult Check(const std::string& name, const Surface& picture);

 private:
  const ArtFingerprint& Art();
  std::string ArtNote();
  std::string Advice(bool missing) const;
  void Renew(const std::string& name, const Surface& picture);
  std::filesystem::path FailurePath(const std::string& name, const char* suffix) const;
  // Removes the pictures an earlier mismatch of `name` left.
  void ClearFailure(const std::string& name) const;

  GuardPlaces places_;
  std::string renew_value_;
  bool renewing_ = false;
  std::optional<ArtFingerprint> art_;  // read on first use: hashing the archives takes a while
};

}  // namespace trakvolt::testing_support

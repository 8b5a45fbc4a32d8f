// Fuzzes the archive reader: image and sound archives from arbitrary bytes, then drawing every
// pattern plain and rotated, and writing a loaded archive back (it must read back the same).
#include <cstdint>
#include <cstdlib>
#include <span>

#include "archive/image_list.h"
#include "archive/wave_list.h"
#include "base/game_error.h"

namespace {

template <class Collection>
void CheckRewrite(const Collection& loaded) {
  const std::vector<std::uint8_t> first = loaded.SaveToBytes();
  Collection again;
  again.LoadFromBytes(first);
  if (again.SaveToBytes() != first) std::abort();  // the writer and reader disagree
}

void DrawAll(const trakvolt::TImageCollection& images, std::uint8_t seed) {
  trakvolt::Surface target(48, 40);
  for (int i = 0; i < images.Count(); ++i) {
    const trakvolt::TImageCollectionItem& item = images[i];
    const int n = std::min(item.CountPatterns(), 4);
    for (int k = -1; k <= n; ++k) {
      item.Draw(target.View(), seed % 40 - 20, seed / 8 - 10, k);
      item.DrawRotated(target.View(), 24, 20, item.FrameWidth() % 97, item.FrameHeight() % 89, k,
                       (seed & 3) * 0.5, (seed >> 2 & 3) * 0.5, seed + k * 37);
    }
    item.PatternRect(item.CountPatterns() - 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const std::uint8_t seed = size ? data[size - 1] : 0;
  try {
    trakvolt::TImageCollection images;
    images.Initialize();
    try {
      images.LoadFromBytes(bytes);
    } catch (const trakvolt::GameError&) {
      DrawAll(images, seed);  // what was read before the failure stays usable
      throw;
    }
    DrawAll(images, seed);
    CheckRewrite(images);
  } catch (const trakvolt::GameError&) {
  }
  try {
    trakvolt::TSoundCollection sounds;
    sounds.LoadFromBytes(bytes);
    for (int i = 0; i < sounds.Count(); ++i) sounds.FindByName(sounds[i].Name());
    CheckRewrite(sounds);
  } catch (const trakvolt::GameError&) {
  }
  return 0;
}

// Pictures as the archive holds them: image items with their patterns, the image collection
// and the image list the sprites and text draw through.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/named_collection.h"
#include "base/image.h"
#include "base/opaque_spans.h"
#include "base/png_file.h"
#include "base/surface.h"

namespace trakvolt {

class TImageCollection;

// A named picture cut into patterns (animation frames).
//
// The picture is decoded to RGB565 when it is set. While the display device is initialised the
// item has its surface: the whole picture, on which every pattern lies, so PatternRect gives
// picture coordinates.
class TImageCollectionItem : public TNamedItem, public TImage {
 public:
  int PatternWidth() const { return pattern_width_; }
  void SetPatternWidth(int v) { pattern_width_ = v; }
  int PatternHeight() const { return pattern_height_; }
  void SetPatternHeight(int v) { pattern_height_ = v; }
  int SkipWidth() const { return skip_width_; }
  void SetSkipWidth(int v) { skip_width_ = v; }
  int SkipHeight() const { return skip_height_; }
  void SetSkipHeight(int v) { skip_height_ = v; }
  bool SystemMemory() const { return system_memory_; }
  void SetSystemMemory(bool v) { system_memory_ = v; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }
  // 0x00BBGGRR; setting it re-keys the item's surface.
  std::uint32_t TransparentColor() const { return transparent_color_; }
  void SetTransparentColor(std::uint32_t c);
  // The colour key as the surface compares it.
  Pixel565 KeyColor() const { return key_; }

  // The picture payload as stored in the archive ("Picture.Data"); empty when there is none,
  // or when the collection was loaded without keeping payloads.
  const std::vector<std::uint8_t>& PictureData() const { return picture_data_; }
  // Whether the payload is at hand (always, unless loading dropped one).
  bool PictureDataKept() const { return !payload_dropped_; }
  // Decodes and keeps a payload; raises the decoder's errors and then keeps the old picture.
  void SetPictureData(std::vector<std::uint8_t> payload);
  // Decodes a payload into the picture without keeping it (the game never reads it again).
  void LoadPicture(std::span<const std::uint8_t> payload);
  // Stores the picture as a 24-bit bitmap, losslessly.
  void SetPicture(const RgbImage& image);
  // Drops the picture.
  void ClearPicture();
  bool HasPicture() const { return has_picture_; }
  // The decoded picture in RGB565 (empty without a picture).
  const Surface& Picture() const { return picture_; }
  // The picture in 8 bits per channel as stored, for tools; nothing without a picture. Raises
  // GameError when the payload was not kept.
  std::optional<RgbImage> DecodePicture() const;

  // Whether the item has its surface (the device is initialised and there is a picture).
  bool HasSurfaces() const { return has_surfaces_; }
  // Called by the collection when the display device initialises, is restored or finalises.
  void PrepareSurfaces();
  void ReleaseSurfaces() { has_surfaces_ = false; }

  // The effective pattern size: the set size when above 0, else the picture's.
  int EffectivePatternWidth() const;
  int EffectivePatternHeight() const;
  int CountPatterns() const;
  // Pattern `index` in surface coordinates; empty for an index out of range.
  Rect PatternRect(int index) const;

  // TImage: frames are the patterns.
  int FrameWidth() const override { return EffectivePatternWidth(); }
  int FrameHeight() const override { return EffectivePatternHeight(); }
  int FrameCount() const override { return CountPatterns(); }
  // Draws pattern `index` with its top-left at (x, y), colour-keyed when Transparent, clipped.
  // Nothing without surfaces or for an index out of range.
  void Draw(const SurfaceView& dst, int x, int y, int index) const override;
  // Draws pattern `index` scaled to width x height and turned by angle/256 of a full turn
  // (clockwise on screen), so that the point (center_x * width, center_y * height) of the
  // scaled pattern lands on (x, y). Nothing without surfaces, for an index out of range, or
  // for a width or height of 0 (or above 32768).
  void DrawRotated(const SurfaceView& dst, int x, int y, int width, int height, int index,
                   double center_x, double center_y, int angle) const;

 private:
  friend class TImageCollection;
  const TImageCollection* collection_ = nullptr;
  int pattern_width_ = 0, pattern_height_ = 0, skip_width_ = 0, skip_height_ = 0;
  bool system_memory_ = false;
  bool transparent_ = true;
  std::uint32_t transparent_color_ = 0;
  Pixel565 key_ = 0;
  std::vector<std::uint8_t> picture_data_;
  bool payload_dropped_ = false;
  bool has_picture_ = false;
  Surface picture_;
  bool has_surfaces_ = false;
  // The opaque runs of the picture for keyed drawing, found at the first keyed draw after the
  // surface was prepared (a new picture always prepares it again) or the key changed.
  mutable OpaqueSpans spans_;
};

// The image items in archive order, looked up by name ("Image '%s' not found").
class TImageCollection : public TNamedCollection<TImageCollectionItem> {
 public:
  TImageCollection() : TNamedCollection("Image") {}

  // Empties the collection and reads the archive file into it; prepares the items when the
  // device is initialised. Raises "Cannot open file "%s". %s" and the reader's errors.
  void LoadArchive(const std::string& file_name);
  // The same from bytes in memory. After a failure the items read before it remain.
  void LoadFromBytes(std::span<const std::uint8_t> bytes);
  // The archive bytes of the collection (root "TImageCollectionComponent"). Raises GameError
  // when a picture's payload was not kept.
  std::vector<std::uint8_t> SaveToBytes() const;

  // Whether loading keeps each picture's payload beside the decoded picture (on by default:
  // the archive tools write it back byte for byte; the game turns it off).
  bool KeepPictureData() const { return keep_picture_data_; }
  void SetKeepPictureData(bool keep) { keep_picture_data_ = keep; }

  // The display device's notifications: give every item its surface, or take them away.
  void Initialize();
  void Finalize();
  bool Initialized() const { return initialized_; }

  // 256 entries of blue, green, red, reserved, as read from the archive; the game does not use it.
  std::array<std::uint8_t, 1024> ColorTable{};

 protected:
  void Added(TImageCollectionItem& item) override { item.collection_ = this; }

 private:
  bool initialized_ = false;
  bool keep_picture_data_ = true;
};

// The image list component of the main window (`MImageList`, `MImageList3`).
class TImageList : public TImageSource {
 public:
  // The game only draws the pictures: their archive payloads are not kept.
  TImageList() { Items.SetKeepPictureData(false); }

  TImageCollection Items;

  void LoadArchive(const std::string& file_name) { Items.LoadArchive(file_name); }
  const TImage& Find(std::string_view name) const override { return Items.FindByName(name); }
  TImageCollectionItem& FindItem(std::string_view name) const { return Items.FindByName(name); }
  // Call when the display initialises (or is restored) and before it finalises.
  void Initialize() { Items.Initialize(); }
  void Finalize() { Items.Finalize(); }
};

}  // namespace trakvolt

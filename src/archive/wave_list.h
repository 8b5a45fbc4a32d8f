// Sound effects as the archive holds them: wave data, wave items, the wave collection and list.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/named_collection.h"

namespace trakvolt {

// One sound: the format block exactly as the "fmt " chunk held it (a WAVEFORMATEX of any length)
// and the sample bytes of the "data" chunk.
struct TWave {
  std::vector<std::uint8_t> Format;
  std::vector<std::uint8_t> Samples;

  bool Empty() const { return Format.empty() && Samples.empty(); }
  // Fields of the format block; 0 when the block is too short to hold them.
  std::uint16_t FormatTag() const { return Field16(0); }
  std::uint16_t Channels() const { return Field16(2); }
  std::uint32_t SamplesPerSec() const { return Field32(4); }
  std::uint32_t AvgBytesPerSec() const { return Field32(8); }
  std::uint16_t BlockAlign() const { return Field16(12); }
  std::uint16_t BitsPerSample() const { return Field16(14); }

  bool operator==(const TWave&) const = default;

 private:
  std::uint16_t Field16(std::size_t at) const;
  std::uint32_t Field32(std::size_t at) const;
};

// Parses a RIFF WAVE file: "fmt " and "data" chunks are kept, others skipped by their length.
// Raises "Stream read error" below 12 bytes or when a kept chunk runs past the end, and
// "Wave is invalid" when the file does not start "RIFF", size, "WAVE". Inside archives chunks
// follow each other with no padding; ordinary .wav files pad odd chunks (`pad_odd_chunks`).
TWave ParseRiffWave(std::span<const std::uint8_t> bytes, bool pad_odd_chunks = false);
// "RIFF", size, "WAVE", the "fmt " chunk and the "data" chunk, with no padding after odd
// lengths (as the archives store it; set `pad_odd_chunks` for a .wav file).
std::vector<std::uint8_t> BuildRiffWave(const TWave& wave, bool pad_odd_chunks = false);

// A named sound of the wave list. Frequency, pan and volume are not stored in the archive and
// are 0 after loading: the recorded rate, the centre and full volume.
class TSoundCollectionItem : public TNamedItem {
 public:
  bool Looped() const { return looped_; }
  void SetLooped(bool v) { looped_ = v; }
  // How many copies may sound at once; 0 means no limit. Negative values are stored as 0.
  int MaxPlayingCount() const { return max_playing_count_; }
  void SetMaxPlayingCount(int v) { max_playing_count_ = v < 0 ? 0 : v; }
  const TWave& Wave() const { return wave_; }
  void SetWave(TWave w) { wave_ = std::move(w); }

  int Frequency = 0;
  int Pan = 0;
  int Volume = 0;

 private:
  bool looped_ = false;
  int max_playing_count_ = 0;
  TWave wave_;
};

// The wave items in archive order, looked up by name ("Wave '%s' not found").
class TSoundCollection : public TNamedCollection<TSoundCollectionItem> {
 public:
  TSoundCollection() : TNamedCollection("Wave") {}

  // Empties the collection and reads the archive file into it. Raises
  // "Cannot open file "%s". %s" when the file can't be read, and the reader's errors.
  void LoadArchive(const std::string& file_name);
  // The same from bytes in memory. After a failure the items read before it remain.
  void LoadFromBytes(std::span<const std::uint8_t> bytes);
  // The archive bytes of the collection (root "TSoundCollectionComponent").
  std::vector<std::uint8_t> SaveToBytes() const;
};

// The sound-effect list component of the main window (`MWaveList`).
class TWaveList {
 public:
  TSoundCollection Items;

  void LoadArchive(const std::string& file_name) { Items.LoadArchive(file_name); }
  TSoundCollectionItem& Find(std::string_view name) const { return Items.FindByName(name); }
};

}  // namespace trakvolt

// RIFF wave parsing and building, and reading and writing the wave archive.
#include "archive/wave_list.h"

#include <cstring>

#include "archive/archive_file.h"
#include "archive/archive_object.h"
#include "archive/archive_stream.h"

namespace trakvolt {

namespace {

bool IdIs(std::span<const std::uint8_t> id, const char* name) {
  return std::memcmp(id.data(), name, 4) == 0;
}

// Reads the items of a wave collection value.
class SoundSink : public CollectionSink {
 public:
  explicit SoundSink(TSoundCollection& c) : c_(c) {}
  std::string_view ItemClassName() const override { return "TSoundCollectionItem"; }
  void Clear() override { c_.Clear(); }
  void AddItem() override { c_.Add(); }
  void ReadItemProperty(const std::string& name, ByteReader& in) override {
    TSoundCollectionItem& item = c_[c_.Count() - 1];
    if (name == "Name") {
      item.SetName(ReadStringValue(in));
    } else if (name == "Looped") {
      item.SetLooped(ReadBooleanValue(in));
    } else if (name == "MaxPlayingCount") {
      item.SetMaxPlayingCount(ReadIntegerValue(in));
    } else if (name == "Wave.WAVE") {
      item.SetWave(ParseRiffWave(ReadBinaryValue(in)));
    } else {
      UnknownProperty(name);
    }
  }

 private:
  TSoundCollection& c_;
};

}  // namespace

std::uint16_t TWave::Field16(std::size_t at) const {
  if (Format.size() < at + 2) return 0;
  return static_cast<std::uint16_t>(Format[at] | (Format[at + 1] << 8));
}

std::uint32_t TWave::Field32(std::size_t at) const {
  if (Format.size() < at + 4) return 0;
  return static_cast<std::uint32_t>(Field16(at)) |
         (static_cast<std::uint32_t>(Field16(at + 2)) << 16);
}

TWave ParseRiffWave(std::span<const std::uint8_t> bytes, bool pad_odd_chunks) {
  ByteReader in(bytes);
  const auto riff = in.Bytes(4);
  in.U32();
  const auto wave = in.Bytes(4);
  if (!IdIs(riff, "RIFF") || !IdIs(wave, "WAVE")) throw GameError("Wave is invalid");
  TWave out;
  while (in.Remaining() >= 8) {
    const auto id = in.Bytes(4);
    const std::uint32_t len = in.U32();
    if (IdIs(id, "fmt ")) {
      const auto b = in.Bytes(len);
      out.Format.assign(b.begin(), b.end());
    } else if (IdIs(id, "data")) {
      const auto b = in.Bytes(len);
      out.Samples.assign(b.begin(), b.end());
    } else {
      // A chunk that claims more than is left ends the scan.
      if (len >= in.Remaining()) break;
      in.Skip(len);
    }
    if (pad_odd_chunks && (len & 1u) && in.Remaining() > 0) in.Skip(1);
  }
  return out;
}

std::vector<std::uint8_t> BuildRiffWave(const TWave& wave, bool pad_odd_chunks) {
  ByteWriter out;
  auto chunk = [&](const char* id, const std::vector<std::uint8_t>& data) {
    out.Text(std::string_view(id, 4));
    out.U32(static_cast<std::uint32_t>(data.size()));
    out.Bytes(data);
    if (pad_odd_chunks && (data.size() & 1u)) out.U8(0);
  };
  out.Text("RIFF");
  out.U32(0);  // patched below
  out.Text("WAVE");
  chunk("fmt ", wave.Format);
  chunk("data", wave.Samples);
  std::vector<std::uint8_t>& bytes = out.Data();
  const auto size = static_cast<std::uint32_t>(bytes.size() - 8);
  for (int i = 0; i < 4; ++i)
    bytes[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
  return std::move(bytes);
}

void TSoundCollection::LoadArchive(const std::string& file_name) {
  const ArchiveFileView file(file_name);
  Clear();
  LoadFromBytes(file.Bytes());
}

void TSoundCollection::LoadFromBytes(std::span<const std::uint8_t> bytes) {
  Clear();
  SoundSink sink(*this);
  ReadArchiveStream(bytes, kSoundRootClass, [&](const std::string& name, ByteReader& in) {
    if (name == "List")
      ReadCollectionValue(in, sink);
    else
      UnknownProperty(name);
  });
}

std::vector<std::uint8_t> TSoundCollection::SaveToBytes() const {
  return WriteArchiveStream(kSoundRootClass, [&](ByteWriter& out) {
    out.ShortString("List");
    WriteCollectionValue(out, Count(), [&](ByteWriter& w, int i) {
      const TSoundCollectionItem& item = (*this)[i];
      w.ShortString("Name");
      w.StringValue(item.Name());
      w.ShortString("Looped");
      w.BooleanValue(item.Looped());
      w.ShortString("MaxPlayingCount");
      w.IntegerValue(item.MaxPlayingCount());
      if (!item.Wave().Empty()) {
        w.ShortString("Wave.WAVE");
        w.BinaryValue(BuildRiffWave(item.Wave()));
      }
    });
  });
}

}  // namespace trakvolt

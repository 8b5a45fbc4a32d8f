// A tiny byte builder for hand-made archive fixtures, so each test shows what its bytes mean.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace trakvolt::testing_archive {

struct Bytes {
  std::vector<std::uint8_t> b;

  Bytes& U8(unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  Bytes& U16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
  Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& Raw(std::string_view s) {
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
  Bytes& Add(const Bytes& o) {
    b.insert(b.end(), o.b.begin(), o.b.end());
    return *this;
  }
  Bytes& Add(const std::vector<std::uint8_t>& o) {
    b.insert(b.end(), o.begin(), o.end());
    return *this;
  }
  Bytes& Short(std::string_view s) { return U8(static_cast<unsigned>(s.size())).Raw(s); }

  // Values with their tags.
  Bytes& Int8(int v) { return U8(2).U8(static_cast<unsigned>(v) & 0xFF); }
  Bytes& Int16(int v) { return U8(3).U16(static_cast<unsigned>(v) & 0xFFFF); }
  Bytes& Int32(std::int32_t v) { return U8(4).U32(static_cast<std::uint32_t>(v)); }
  Bytes& Str(std::string_view s) { return U8(6).Short(s); }
  Bytes& LStr(std::string_view s) {
    return U8(12).U32(static_cast<std::uint32_t>(s.size())).Raw(s);
  }
  Bytes& Ident(std::string_view s) { return U8(7).Short(s); }
  Bytes& Bool(bool v) { return U8(v ? 9 : 8); }
  Bytes& Binary(const Bytes& data) {
    return U8(10).U32(static_cast<std::uint32_t>(data.b.size())).Add(data);
  }
  // A property: its name, then the value the caller appends.
  Bytes& Prop(std::string_view name) { return Short(name); }
};

// Resource header, "TPF0", the root object named `object_name` with the given property bytes
// (without their terminating zero), and the empty child list.
// `prefix` goes before the class name (a 0xF0..0xFF flags byte and what it announces).
inline Bytes Archive(const Bytes& properties,
                     std::string_view root_class = "TSoundCollectionComponent",
                     std::string_view object_name = "", const Bytes& prefix = {}) {
  Bytes body;
  body.Raw("TPF0").Add(prefix).Short(root_class).Short(object_name).Add(properties).U8(0).U8(0);
  Bytes out;
  out.U8(0xFF).U16(10).Raw("TSOUNDCOLLECTIONCOMPONENT").U8(0).U16(0x1030);
  out.U32(static_cast<std::uint32_t>(body.b.size())).Add(body);
  return out;
}

// A collection value: tag 14, each item (tag 1, its property bytes, 0), and the final 0.
inline Bytes Collection(const std::vector<Bytes>& items) {
  Bytes out;
  out.U8(14);
  for (const Bytes& item : items) out.U8(1).Add(item).U8(0);
  out.U8(0);
  return out;
}

// A RIFF file; each chunk is id and bytes, written with exactly their length.
inline Bytes Riff(const std::vector<std::pair<std::string, Bytes>>& chunks) {
  Bytes body;
  body.Raw("WAVE");
  for (const auto& [id, data] : chunks)
    body.Raw(id).U32(static_cast<std::uint32_t>(data.b.size())).Add(data);
  Bytes out;
  out.Raw("RIFF").U32(static_cast<std::uint32_t>(body.b.size())).Add(body);
  return out;
}

// The message a collection's load raises for `archive`, or "(loaded)".
template <class Collection>
std::string LoadErrorOf(const Bytes& archive) {
  Collection c;
  try {
    c.LoadFromBytes(archive.b);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(loaded)";
}

}  // namespace trakvolt::testing_archive

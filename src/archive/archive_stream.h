// Byte-level reading and writing of the archives' property-stream values (little-endian).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trakvolt {

// The value tags of the property stream.
enum class ValueTag : std::uint8_t {
  Null = 0,
  List = 1,
  Int8 = 2,
  Int16 = 3,
  Int32 = 4,
  Extended = 5,
  String = 6,
  Ident = 7,
  False = 8,
  True = 9,
  Binary = 10,
  Set = 11,
  LString = 12,
  Nil = 13,
  Collection = 14,
  Single = 15,
  Currency = 16,
  Date = 17,
  WString = 18,
  Int64 = 19,
  Utf8String = 20,
};

// Bounds-checked reads from a block of bytes; running past the end raises "Stream read error".
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return bytes_.size() - pos_; }
  bool AtEnd() const { return pos_ == bytes_.size(); }

  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::span<const std::uint8_t> Bytes(std::size_t n);
  // A separate reader over the next n bytes, which this reader steps past.
  ByteReader Block(std::size_t n) { return ByteReader(Bytes(n)); }
  void Skip(std::size_t n) { Bytes(n); }
  // The next byte without consuming it.
  std::uint8_t Peek();
  // A length byte, then that many characters.
  std::string ShortString();

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

// Typed property values. A tag that does not fit the property raises "Invalid property value".
ValueTag ReadTag(ByteReader& in);
std::int32_t ReadIntegerValue(ByteReader& in);  // tags 2, 3, 4
bool ReadBooleanValue(ByteReader& in);          // tags 8, 9
std::string ReadStringValue(ByteReader& in);    // tags 6, 12
std::uint32_t ReadColorValue(ByteReader& in);  // tags 2, 3, 4, or an identifier (7) naming a colour
std::span<const std::uint8_t> ReadBinaryValue(ByteReader& in);  // tag 10

// The colour of an identifier such as "clRed" (0x00BBGGRR); false when it names none.
bool ColorFromIdent(std::string_view ident, std::uint32_t& color);

// Little-endian output with the property-stream value encodings.
class ByteWriter {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void U16(std::uint16_t v);
  void U32(std::uint32_t v);
  void Bytes(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
  void Text(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
  // Raises GameError when the text is longer than 255 bytes.
  void ShortString(std::string_view s);

  void Tag(ValueTag t) { U8(static_cast<std::uint8_t>(t)); }
  void IntegerValue(std::int32_t v);  // the smallest of tags 2, 3, 4 that holds v
  void BooleanValue(bool v) { Tag(v ? ValueTag::True : ValueTag::False); }
  void StringValue(std::string_view s);  // tag 6 up to 255 bytes, else tag 12
  void BinaryValue(std::span<const std::uint8_t> b);

  std::vector<std::uint8_t>& Data() { return bytes_; }
  const std::vector<std::uint8_t>& Data() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace trakvolt

// Property-stream values: bounds-checked reads and the smallest-tag writes.
#include "archive/archive_stream.h"

#include <array>
#include <limits>

#include "base/game_error.h"

namespace trakvolt {

namespace {

[[noreturn]] void ReadError() { throw GameError("Stream read error"); }
[[noreturn]] void InvalidValue() { throw GameError("Invalid property value"); }

struct NamedColor {
  std::string_view name;
  std::uint32_t value;
};

constexpr std::array<NamedColor, 22> kColors{{
    {"clBlack", 0x000000},     {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},     {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},      {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},       {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},      {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},     {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},     {"clMedGray", 0xA4A0A0},    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
}};

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::int32_t ReadIntegerPayload(ByteReader& in, ValueTag tag) {
  switch (tag) {
    case ValueTag::Int8:
      return static_cast<std::int8_t>(in.U8());
    case ValueTag::Int16:
      return static_cast<std::int16_t>(in.U16());
    case ValueTag::Int32:
      return in.I32();
    default:
      InvalidValue();
  }
}

}  // namespace

std::uint8_t ByteReader::U8() {
  if (Remaining() < 1) ReadError();
  return bytes_[pos_++];
}

std::uint16_t ByteReader::U16() {
  const auto b = Bytes(2);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t ByteReader::U32() {
  const auto b = Bytes(4);
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::span<const std::uint8_t> ByteReader::Bytes(std::size_t n) {
  if (n > Remaining()) ReadError();
  const auto out = bytes_.subspan(pos_, n);
  pos_ += n;
  return out;
}

std::uint8_t ByteReader::Peek() {
  if (Remaining() < 1) ReadError();
  return bytes_[pos_];
}

std::string ByteReader::ShortString() {
  const std::size_t n = U8();
  const auto b = Bytes(n);
  return std::string(b.begin(), b.end());
}

ValueTag ReadTag(ByteReader& in) {
  const std::uint8_t t = in.U8();
  if (t > static_cast<std::uint8_t>(ValueTag::Utf8String)) InvalidValue();
  return static_cast<ValueTag>(t);
}

std::int32_t ReadIntegerValue(ByteReader& in) { return ReadIntegerPayload(in, ReadTag(in)); }

bool ReadBooleanValue(ByteReader& in) {
  switch (ReadTag(in)) {
    case ValueTag::False:
      return false;
    case ValueTag::True:
      return true;
    default:
      InvalidValue();
  }
}

std::string ReadStringValue(ByteReader& in) {
  switch (ReadTag(in)) {
    case ValueTag::String:
      return in.ShortString();
    case ValueTag::LString: {
      const std::uint32_t n = in.U32();
      const auto b = in.Bytes(n);
      return std::string(b.begin(), b.end());
    }
    default:
      InvalidValue();
  }
}

std::uint32_t ReadColorValue(ByteReader& in) {
  const ValueTag tag = ReadTag(in);
  if (tag == ValueTag::Ident) {
    std::uint32_t color = 0;
    if (!ColorFromIdent(in.ShortString(), color)) InvalidValue();
    return color;
  }
  return static_cast<std::uint32_t>(ReadIntegerPayload(in, tag));
}

std::span<const std::uint8_t> ReadBinaryValue(ByteReader& in) {
  if (ReadTag(in) != ValueTag::Binary) InvalidValue();
  const std::uint32_t n = in.U32();
  return in.Bytes(n);
}

bool ColorFromIdent(std::string_view ident, std::uint32_t& color) {
  for (const NamedColor& c : kColors)
    if (SameIgnoringAsciiCase(c.name, ident)) {
      color = c.value;
      return true;
    }
  return false;
}

void ByteWriter::U16(std::uint16_t v) {
  U8(static_cast<std::uint8_t>(v));
  U8(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::U32(std::uint32_t v) {
  U16(static_cast<std::uint16_t>(v));
  U16(static_cast<std::uint16_t>(v >> 16));
}

void ByteWriter::ShortString(std::string_view s) {
  if (s.size() > 255) throw GameError(Format("Name too long for the archive: %.40s...", s.data()));
  U8(static_cast<std::uint8_t>(s.size()));
  Text(s);
}

void ByteWriter::IntegerValue(std::int32_t v) {
  if (v >= std::numeric_limits<std::int8_t>::min() &&
      v <= std::numeric_limits<std::int8_t>::max()) {
    Tag(ValueTag::Int8);
    U8(static_cast<std::uint8_t>(v));
  } else if (v >= std::numeric_limits<std::int16_t>::min() &&
             v <= std::numeric_limits<std::int16_t>::max()) {
    Tag(ValueTag::Int16);
    U16(static_cast<std::uint16_t>(v));
  } else {
    Tag(ValueTag::Int32);
    U32(static_cast<std::uint32_t>(v));
  }
}

void ByteWriter::StringValue(std::string_view s) {
  if (s.size() <= 255) {
    Tag(ValueTag::String);
    ShortString(s);
  } else {
    Tag(ValueTag::LString);
    U32(static_cast<std::uint32_t>(s.size()));
    Text(s);
  }
}

void ByteWriter::BinaryValue(std::span<const std::uint8_t> b) {
  Tag(ValueTag::Binary);
  U32(static_cast<std::uint32_t>(b.size()));
  Bytes(b);
}

}  // namespace trakvolt

// Resource header, signature, root object, collection values and error wrapping.
#include "archive/archive_object.h"

#include <cctype>

#include "base/game_error.h"

namespace trakvolt {

namespace {

[[noreturn]] void InvalidFormat() { throw GameError("Invalid stream format"); }

// Checks the resource header and the signature; leaves `in` on the root object.
void ReadHeader(ByteReader& in) {
  if (in.Remaining() < 3) InvalidFormat();
  if (in.U8() != 0xFF || in.U16() != 10) InvalidFormat();
  // The name ends at a zero byte; the flags and the stream size after it are not needed.
  while (in.U8() != 0) {
  }
  in.Skip(6);
  if (in.Remaining() < 4) InvalidFormat();
  const auto sig = in.Bytes(4);
  if (std::string_view(reinterpret_cast<const char*>(sig.data()), 4) != "TPF0") InvalidFormat();
}

// Skips the optional prefix byte (0xF0..0xFF) and the child position it may announce.
void SkipPrefix(ByteReader& in) {
  const std::uint8_t b = in.Peek();
  if ((b & 0xF0) != 0xF0) return;
  in.U8();
  if (b & 0x02) ReadIntegerValue(in);
}

// Reads properties until the empty name, handing each to `handler`, and re-raises a failure
// as "Error reading OBJECT.PROPERTY: message".
void ReadPropertyList(ByteReader& in, const std::string& object_name,
                      const PropertyHandler& handler) {
  for (;;) {
    std::string name = in.ShortString();
    if (name.empty()) return;
    try {
      handler(name, in);
    } catch (const GameError& e) {
      throw GameError(
          Format("Error reading %s%s%s: %s", object_name.c_str(), ".", name.c_str(), e.what()));
    }
  }
}

}  // namespace

void UnknownProperty(const std::string& name) {
  throw GameError(Format("Property %s does not exist", name.c_str()));
}

void ReadArchiveStream(std::span<const std::uint8_t> bytes, std::string_view root_class,
                       const PropertyHandler& on_property) {
  ByteReader in(bytes);
  ReadHeader(in);
  SkipPrefix(in);
  in.ShortString();  // the class name; the caller already knows what it reads into
  std::string object_name = in.ShortString();
  if (object_name.empty()) object_name = std::string(root_class);
  ReadPropertyList(in, object_name, on_property);
  // The child list: archives have none, so the first byte must end it.
  if (in.U8() != 0) throw GameError("Invalid stream format");
}

void ReadCollectionValue(ByteReader& in, CollectionSink& sink) {
  if (ReadTag(in) != ValueTag::Collection) throw GameError("Invalid property value");
  if (in.Peek() != 0) sink.Clear();
  const std::string item_class(sink.ItemClassName());
  while (in.Peek() != 0) {
    // An optional order value, read and ignored.
    const std::uint8_t t = in.Peek();
    if (t == static_cast<std::uint8_t>(ValueTag::Int8) ||
        t == static_cast<std::uint8_t>(ValueTag::Int16) ||
        t == static_cast<std::uint8_t>(ValueTag::Int32))
      ReadIntegerValue(in);
    if (ReadTag(in) != ValueTag::List) throw GameError("Invalid property value");
    sink.AddItem();
    ReadPropertyList(in, item_class, [&](const std::string& name, ByteReader& r) {
      sink.ReadItemProperty(name, r);
    });
  }
  in.U8();
}

std::string PeekRootClass(std::span<const std::uint8_t> bytes) {
  try {
    ByteReader in(bytes);
    ReadHeader(in);
    SkipPrefix(in);
    return in.ShortString();
  } catch (const GameError&) {
    return {};
  }
}

std::vector<std::uint8_t> WriteArchiveStream(
    std::string_view root_class, const std::function<void(ByteWriter&)>& write_properties) {
  ByteWriter body;
  body.Text("TPF0");
  body.ShortString(root_class);
  body.ShortString("");
  write_properties(body);
  body.U8(0);  // end of the property list
  body.U8(0);  // end of the (empty) child list

  ByteWriter out;
  out.U8(0xFF);
  out.U16(10);
  std::string resource_name(root_class.substr(0, 63));
  for (char& c : resource_name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  out.Text(resource_name);
  out.U8(0);
  out.U16(0x1030);
  out.U32(static_cast<std::uint32_t>(body.Data().size()));
  out.Bytes(body.Data());
  return std::move(out.Data());
}

void WriteCollectionValue(ByteWriter& out, int count,
                          const std::function<void(ByteWriter&, int)>& write_item) {
  out.Tag(ValueTag::Collection);
  for (int i = 0; i < count; ++i) {
    out.Tag(ValueTag::List);
    write_item(out, i);
    out.U8(0);
  }
  out.U8(0);
}

}  // namespace trakvolt

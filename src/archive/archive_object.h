// The archive's outer layers: resource header, "TPF0" signature, the root object with its
// property list, collection values, and the "Error reading ..." wrapping of failures.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_stream.h"

namespace trakvolt {

// Called for each root property with its stored name; the reader is positioned on the value.
// Unknown names should raise "Property %s does not exist".
using PropertyHandler = std::function<void(const std::string& name, ByteReader& in)>;

// Reads a whole archive: the resource header, the signature and the root object, handing each
// root property to `on_property`. `root_class` names the root in error messages when the stream
// gives it no object name.
void ReadArchiveStream(std::span<const std::uint8_t> bytes, std::string_view root_class,
                       const PropertyHandler& on_property);

// The target of a collection value.
class CollectionSink {
 public:
  virtual ~CollectionSink() = default;
  virtual std::string_view ItemClassName() const = 0;
  virtual void Clear() = 0;
  // Appends an item with default properties; following properties go to it.
  virtual void AddItem() = 0;
  virtual void ReadItemProperty(const std::string& name, ByteReader& in) = 0;
};

// Reads a collection value (tag 14). A collection holding at least one item first empties the
// sink; each item is appended before its properties are read.
void ReadCollectionValue(ByteReader& in, CollectionSink& sink);

// "Property %s does not exist".
[[noreturn]] void UnknownProperty(const std::string& name);

// The class name a root of the given kind carries in the stream.
inline constexpr std::string_view kImageRootClass = "TImageCollectionComponent";
inline constexpr std::string_view kSoundRootClass = "TSoundCollectionComponent";

// Reads only the header and the root's class name; empty when the bytes are not an archive.
std::string PeekRootClass(std::span<const std::uint8_t> bytes);

// Writes a whole archive: resource header (flags 0x1030, stream size), "TPF0", the root object
// of class `root_class` with an empty name, the properties `write_properties` emits, and the
// empty property and child list ends.
std::vector<std::uint8_t> WriteArchiveStream(
    std::string_view root_class, const std::function<void(ByteWriter&)>& write_properties);

// Writes a collection value of `count` items; `write_item` emits item i's properties.
void WriteCollectionValue(ByteWriter& out, int count,
                          const std::function<void(ByteWriter&, int)>& write_item);

}  // namespace trakvolt

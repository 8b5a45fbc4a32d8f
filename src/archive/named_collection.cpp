// The name index: cp1251 lower-casing, the bucket hash and the bucket chains.
#include "archive/named_collection.h"

namespace trakvolt {

namespace {

unsigned char LowerByte(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDF)) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x80:
      return 0x90;  // Ђ
    case 0x81:
      return 0x83;  // Ѓ
    case 0x8A:
      return 0x9A;  // Љ
    case 0x8C:
      return 0x9C;  // Њ
    case 0x8D:
      return 0x9D;  // Ќ
    case 0x8E:
      return 0x9E;  // Ћ
    case 0x8F:
      return 0x9F;  // Џ
    case 0xA1:
      return 0xA2;  // Ў
    case 0xA3:
      return 0xBC;  // Ј
    case 0xA5:
      return 0xB4;  // Ґ
    case 0xA8:
      return 0xB8;  // Ё
    case 0xAA:
      return 0xBA;  // Є
    case 0xAF:
      return 0xBF;  // Ї
    case 0xB2:
      return 0xB3;  // І
    case 0xBD:
      return 0xBE;  // Ѕ
    default:
      return c;
  }
}

int BucketOfLower(std::string_view s) {
  std::size_t h = s.size() * 16;
  if (s.size() >= 2)
    h += static_cast<unsigned char>(s[s.size() - 2]) + static_cast<unsigned char>(s[0]);
  return static_cast<int>(h % 256);
}

}  // namespace

std::string LowerCp1251(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
  return out;
}

int NameBucket(std::string_view name) { return BucketOfLower(LowerCp1251(name)); }

void TNamedItem::SetName(std::string name) {
  if (owner_) owner_->Unlink(*this);
  name_ = std::move(name);
  if (owner_) owner_->Link(*this);
}

void NameIndex::Link(TNamedItem& item) {
  item.lower_ = LowerCp1251(item.name_);
  item.bucket_ = BucketOfLower(item.lower_);
  item.next_ = heads_[static_cast<std::size_t>(item.bucket_)];
  heads_[static_cast<std::size_t>(item.bucket_)] = &item;
}

void NameIndex::Unlink(TNamedItem& item) {
  if (item.bucket_ < 0) return;
  TNamedItem** link = &heads_[static_cast<std::size_t>(item.bucket_)];
  while (*link && *link != &item) link = &(*link)->next_;
  if (*link) *link = item.next_;
  item.next_ = nullptr;
  item.bucket_ = -1;
}

TNamedItem* NameIndex::Find(std::string_view name) const {
  const std::string lower = LowerCp1251(name);
  for (TNamedItem* p = heads_[static_cast<std::size_t>(BucketOfLower(lower))]; p; p = p->next_)
    if (p->lower_ == lower) return p;
  return nullptr;
}

}  // namespace trakvolt

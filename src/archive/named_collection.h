// Named items and collections with the 256-bucket, case-insensitive name index.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/game_error.h"

namespace trakvolt {

// cp1251 text in lower case (Latin and Cyrillic letters, Ё and the other cp1251 capitals).
std::string LowerCp1251(std::string_view s);
// The bucket of a name: on the lower-cased name s of length L, (L * 16 + s[L-2] + s[0]) mod 256,
// the two characters only when L >= 2.
int NameBucket(std::string_view name);

class NameIndex;

// An item with a name, linked into its collection's index.
class TNamedItem {
 public:
  TNamedItem() = default;
  TNamedItem(const TNamedItem&) = delete;
  TNamedItem& operator=(const TNamedItem&) = delete;
  virtual ~TNamedItem() = default;

  const std::string& Name() const { return name_; }
  // Moves the item to the head of its new bucket, so among equal names the last set wins.
  void SetName(std::string name);
  int Index() const { return index_; }

 private:
  friend class NameIndex;
  template <class Item>
  friend class TNamedCollection;
  std::string name_;
  std::string lower_;  // name_ lower-cased, compared by lookups
  int index_ = 0;
  NameIndex* owner_ = nullptr;
  TNamedItem* next_ = nullptr;  // next item in the same bucket
  int bucket_ = -1;
};

// The 256 bucket chains.
class NameIndex {
 public:
  void Link(TNamedItem& item);
  void Unlink(TNamedItem& item);
  TNamedItem* Find(std::string_view name) const;

 private:
  std::array<TNamedItem*, 256> heads_{};
};

// An ordered list of items of one kind with lookup by name. `kind` words the lookup failure:
// "Image '%s' not found" / "Wave '%s' not found".
template <class Item>
class TNamedCollection {
 public:
  explicit TNamedCollection(const char* kind)
      : kind_(kind), index_(std::make_unique<NameIndex>()) {}
  TNamedCollection(const TNamedCollection&) = delete;
  TNamedCollection& operator=(const TNamedCollection&) = delete;
  virtual ~TNamedCollection() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  Item& operator[](int i) { return *items_.at(static_cast<std::size_t>(i)); }
  const Item& operator[](int i) const { return *items_.at(static_cast<std::size_t>(i)); }

  // Appends an item with default properties and an empty name.
  Item& Add() {
    auto item = std::make_unique<Item>();
    item->index_ = Count();
    item->owner_ = index_.get();
    index_->Link(*item);
    items_.push_back(std::move(item));
    Added(*items_.back());
    return *items_.back();
  }

  void Delete(int i) {
    Item& item = (*this)[i];
    index_->Unlink(item);
    items_.erase(items_.begin() + i);
    for (int k = i; k < Count(); ++k) items_[static_cast<std::size_t>(k)]->index_ = k;
  }

  void Clear() {
    while (!items_.empty()) Delete(Count() - 1);
  }

  // The item named `name` (any letter case), or nullptr.
  Item* Find(std::string_view name) const { return static_cast<Item*>(index_->Find(name)); }

  Item& FindByName(std::string_view name) const {
    Item* item = Find(name);
    if (!item)
      throw GameError(
          Format("%s '%.*s' not found", kind_, static_cast<int>(name.size()), name.data()));
    return *item;
  }

 protected:
  // Lets a collection link a new item to itself.
  virtual void Added(Item&) {}

 private:
  const char* kind_;
  std::unique_ptr<NameIndex> index_;
  std::vector<std::unique_ptr<Item>> items_;
};

}  // namespace trakvolt

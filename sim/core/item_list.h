// The items of a document. Every command works on a copy of the printer's memory, so a
// receipt's items are kept in shared blocks: a copy shares them all, and a change copies
// only the block it touches. Copying a 999-item receipt per command would make each item
// dearer than the one before it.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/money.h"

namespace ecfsim {

struct Item {
  int number = 0;
  std::string code;
  std::string name;
  std::string unit;
  Milli quantity = 0;
  Milli unitPrice = 0;
  Cents total = 0;
  int taxCode = 0;
  bool cancelled = false;
  bool operator==(const Item&) const = default;
};

class ItemList {
 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Item;
    using difference_type = std::ptrdiff_t;
    using pointer = const Item*;
    using reference = const Item&;

    const_iterator() = default;
    const_iterator(const ItemList* list, std::size_t index) : list_(list), index_(index) {}
    reference operator*() const { return (*list_)[index_]; }
    pointer operator->() const { return &(*list_)[index_]; }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++index_;
      return before;
    }
    bool operator==(const const_iterator& other) const { return index_ == other.index_; }

   private:
    const ItemList* list_ = nullptr;
    std::size_t index_ = 0;
  };

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const Item& operator[](std::size_t index) const {
    return (*blocks_[index / kBlockSize])[index % kBlockSize];
  }
  // The item to change: its block is copied first when another copy of the list shares it.
  Item& operator[](std::size_t index);
  void push_back(Item item);
  void clear();

  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size_}; }

  // The first index at which the two lists differ (the shorter one's size when one
  // continues the other; size() when they are equal). Shared blocks are skipped unread.
  std::size_t firstDifference(const ItemList& other) const;
  bool operator==(const ItemList& other) const {
    return size_ == other.size_ && firstDifference(other) == size_;
  }

 private:
  static constexpr std::size_t kBlockSize = 32;
  using Block = std::vector<Item>;
  Block& ownBlock(std::size_t block);

  std::vector<std::shared_ptr<Block>> blocks_;
  std::size_t size_ = 0;
};

}  // namespace ecfsim

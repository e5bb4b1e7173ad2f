#include "core/item_list.h"

#include <algorithm>

namespace ecfsim {

ItemList::Block& ItemList::ownBlock(std::size_t block) {
  std::shared_ptr<Block>& shared = blocks_[block];
  if (shared.use_count() > 1) shared = std::make_shared<Block>(*shared);
  return *shared;
}

Item& ItemList::operator[](std::size_t index) {
  return ownBlock(index / kBlockSize)[index % kBlockSize];
}

void ItemList::push_back(Item item) {
  if (size_ % kBlockSize == 0) {
    blocks_.push_back(std::make_shared<Block>());
    blocks_.back()->reserve(kBlockSize);
  }
  ownBlock(blocks_.size() - 1).push_back(std::move(item));
  ++size_;
}

void ItemList::clear() {
  blocks_.clear();
  size_ = 0;
}

std::size_t ItemList::firstDifference(const ItemList& other) const {
  const std::size_t common = std::min(size_, other.size_);
  for (std::size_t block = 0; block * kBlockSize < common; ++block) {
    if (blocks_[block] == other.blocks_[block]) continue;
    const std::size_t first = block * kBlockSize;
    const std::size_t last = std::min(common, first + kBlockSize);
    for (std::size_t index = first; index < last; ++index) {
      if (!((*this)[index] == other[index])) return index;
    }
  }
  return common;
}

}  // namespace ecfsim

// An ordered list of texts, as hosts pass voucher texts and report lines.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ecf/export.h"

namespace ecf {

class ECF_API StringList {
 public:
  StringList() = default;
  StringList(std::initializer_list<std::string> items) : items_(items) {}

  std::size_t count() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  void add(std::string item) { items_.push_back(std::move(item)); }
  void clear() { items_.clear(); }
  const std::string& operator[](std::size_t i) const { return items_.at(i); }
  std::string& operator[](std::size_t i) { return items_.at(i); }
  const std::vector<std::string>& items() const { return items_; }
  // The items joined by carriage return and line feed, each one ended by it.
  std::string text() const {
    std::string all;
    for (const auto& item : items_) all += item + "\r\n";
    return all;
  }

 private:
  std::vector<std::string> items_;
};

}  // namespace ecf

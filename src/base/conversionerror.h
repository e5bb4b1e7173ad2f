// A text that does not read as the number or date asked for.
#pragma once

#include <stdexcept>

namespace ecf {

class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace ecf

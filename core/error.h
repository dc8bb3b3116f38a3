// An error that ends the current handler and reaches the application's general error box.
#pragma once

#include <stdexcept>
#include <string>

namespace kv {

class KeyvaneError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kv

// An error that ends the current handler and reaches the application's general error box.
#pragma once

#include <stdexcept>
#include <string>

namespace kv {

class KeyvaneError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A save refused because the folder may be read but not written (Program Files for a standard
// user, a read-only share): no file of Keyvane's can be kept there, however often it tries.
class FolderNotWritable : public KeyvaneError {
 public:
  FolderNotWritable(const std::string& message, std::string folder)
      : KeyvaneError(message), folder_(std::move(folder)) {}
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

}  // namespace kv

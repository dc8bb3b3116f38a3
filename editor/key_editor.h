// Rules of the "Create or Edit Key" page that need no window.
#pragma once

#include <string>

#include "actions/catalogue.h"

namespace kv {

// The title the page proposes for a field action: the default title, two blanks and the
// field text's short name; the default title alone for an empty field.
std::string FieldTitle(int code, const std::string& fieldText);

}  // namespace kv

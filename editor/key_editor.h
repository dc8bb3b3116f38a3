// Rules of the "Create or Edit Key" page that need no window.
#pragma once

#include <string>

namespace kv {

// Actions whose argument is the field box's text.
bool IsFieldAction(int code);
// Actions whose argument is built from the combo lists.
bool IsComboAction(int code);
// "- Select One -" and the separator lines.
bool IsNonAction(int code);

// The title the page proposes for a field action: the default title, two blanks and the
// field text's short name; the default title alone for an empty field.
std::string FieldTitle(int code, const std::string& fieldText);

}  // namespace kv

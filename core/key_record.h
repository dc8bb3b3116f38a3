// A key's record in a settings or theme file: its section ("F1Key" ... "PDKey") holds the
// title ("Label"), the action code ("Action") and the action's argument ("File").
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/ini_document.h"

namespace kv {

struct KeyRecord {
  std::optional<std::string> label;  // absent: the record has no title value
  int action = 0;                    // 0 when absent or not a number
  std::optional<std::string> file;   // absent: the record has no argument value

  // The order in which Write adds values that a section does not hold yet.
  enum class Order { LabelFirst, ActionFirst };

  static KeyRecord Read(const IniDocument& doc, std::string_view section);

  std::string LabelOr(std::string_view fallback) const { return label ? *label : std::string(fallback); }
  std::string FileOr(std::string_view fallback) const { return file ? *file : std::string(fallback); }

  // Writes the title and the action, and the argument when the record has one: an absent
  // argument leaves any stored one as it is. An absent title is not written either.
  void Write(IniDocument& doc, std::string_view section, Order order = Order::LabelFirst) const;

  // Removes the title, the action and the argument; the section's other values stay.
  static void Erase(IniDocument& doc, std::string_view section);
};

}  // namespace kv

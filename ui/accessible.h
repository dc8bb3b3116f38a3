// What a screen reader is told of the window's contents: one item per key, page tab, painted
// text and control, with the role, name, value, description and state it reads.
#pragma once

#include <string>

#include "ui/control.h"

namespace kv::ui {

enum class AccessibleRole { PushButton, PageTab, StaticText, CheckBox, Text, ComboBox };

struct AccessibleItem {
  AccessibleRole role = AccessibleRole::StaticText;
  const Control* control = nullptr;  // the control it stands for
  // A control with a window of its own (a button, box or list) is an object of its own, which
  // the system describes but for what is told here; a painted one exists only in this list.
  bool ownWindow = false;
  bool checked = false;
  std::string name;
  std::string value;
  std::string description;
  bool focusable = false;
  bool focused = false;
  bool selectable = false;
  bool selected = false;
  bool unavailable = false;
  Rect bounds;  // in the window's client area, at 96 DPI
};

}  // namespace kv::ui

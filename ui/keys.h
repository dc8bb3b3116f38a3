// The keys of the keyboard that move the focus and act on what it is on, as the window reports
// them to the program.
#pragma once

namespace kv::ui {

enum class Key { Tab, Left, Right, Up, Down, Home, End, PageUp, PageDown, Enter, Space };

struct KeyState {
  bool ctrl = false;
  bool shift = false;
};

}  // namespace kv::ui

// GDI fonts for the model's fonts at one DPI, created once and kept.
#pragma once

#include <windows.h>

#include <map>
#include <tuple>

#include "platform/win32/handles.h"
#include "ui/control.h"

namespace kv::win32 {

class FontCache {
 public:
  HFONT Get(const ui::Font& font, int dpi);
  void Clear() { fonts_.clear(); }

 private:
  using Key = std::tuple<std::string, int, bool, bool, int>;
  std::map<Key, UniqueFont> fonts_;
};

}  // namespace kv::win32

// Keyvane's layout is kept at 96 DPI; this turns it into the window's pixels.
#pragma once

#include <windows.h>

#include "ui/control.h"

namespace kv::win32 {

struct Scale {
  int dpi = 96;
  int operator()(int v) const { return MulDiv(v, dpi, 96); }
  // Window pixels back to layout units.
  int Unscale(int v) const { return MulDiv(v, 96, dpi); }
  RECT ToRect(const ui::Rect& r) const {
    return RECT{(*this)(r.left), (*this)(r.top), (*this)(r.left + r.width), (*this)(r.top + r.height)};
  }
};

// The DPI of the monitor the window is on (GetDpiForWindow where Windows has it).
int WindowDpi(HWND window);

inline COLORREF ToColorRef(ui::Color c) {
  return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

}  // namespace kv::win32

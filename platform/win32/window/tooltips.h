// The hints of the controls as tooltips: one tooltip window for the main window, with a tool
// per control whose hint is not empty while the control is shown. A windowed control's tool
// is its own window; a painted control's tool is its place in the main window.
#pragma once

#include <windows.h>
// After windows.h, which it relies on.
#include <commctrl.h>

#include <string>
#include <unordered_map>

#include "platform/win32/window/dpi.h"
#include "ui/control.h"

namespace kv::win32 {

class Tooltips {
 public:
  Tooltips() = default;
  Tooltips(const Tooltips&) = delete;
  Tooltips& operator=(const Tooltips&) = delete;
  ~Tooltips();

  // Ties the hints to the main window; the tooltip window follows with the first hint shown.
  void Create(HINSTANCE instance, HWND owner);
  void Destroy();
  HWND hwnd() const { return tips_; }  // null until a hint has shown

  // Brings the control's tool in line with its hint, place and visibility. `window` is the
  // control's own window, or null for a painted control.
  void Update(const ui::Control& control, HWND window, const Scale& scale);

 private:
  struct Tool {
    UINT_PTR id = 0;
    bool added = false;
    std::wstring text;
    RECT rect{};
  };
  TTTOOLINFOW Info(Tool& tool, HWND window);
  bool EnsureWindow();

  HINSTANCE instance_ = nullptr;
  HWND tips_ = nullptr;
  HWND owner_ = nullptr;
  UINT_PTR nextId_ = 1;
  std::unordered_map<const ui::Control*, Tool> tools_;
};

}  // namespace kv::win32

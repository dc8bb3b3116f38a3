// What screen readers get from the main window: an accessible object (IAccessible) whose
// children are the keys, the page tabs, the painted texts and the controls, read from the
// program's own description of them; and, for the edit boxes and drop-down lists, the system's
// object named by the text painted beside them, which Windows cannot find since that text has
// no window. Active Accessibility comes from oleacc.dll, loaded from the system folder when a
// screen reader first asks.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

#include "app/window_events.h"

namespace kv::win32 {

// What the object needs of the window it describes.
struct AccessibleHost {
  HWND window = nullptr;
  WindowEvents* program = nullptr;
  std::function<RECT(const ui::Rect&)> toClient;        // layout units to client pixels
  std::function<HWND(const ui::Control&)> windowOf;     // a control's window, or null
  std::function<void(const ui::Control&)> defaultAction;  // run later, not inside the call
};

class MainWindowAccessible;

// The main window's side: answers WM_GETOBJECT and raises the events screen readers follow.
class WindowAccessibility {
 public:
  explicit WindowAccessibility(AccessibleHost host);
  ~WindowAccessibility();
  WindowAccessibility(const WindowAccessibility&) = delete;
  WindowAccessibility& operator=(const WindowAccessibility&) = delete;

  // WM_GETOBJECT; false when the request is not for the client area (or oleacc is missing).
  bool Answer(WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The focus is now on a painted item, or went to one of the controls' windows.
  void FocusChanged();
  // After each change on screen: names, values, selection and states compared with the last
  // time, and an event raised for each that changed.
  void ContentsChanged();
  // The window is going: objects that clients still hold answer that it is gone.
  void Disconnect();

 private:
  AccessibleHost host_;
  MainWindowAccessible* object_ = nullptr;
  std::vector<ui::AccessibleItem> last_;
};

// WM_GETOBJECT of a control's own window: the system's object, told as `item` says.
bool AnswerAs(HWND window, WPARAM wParam, LPARAM lParam, const ui::AccessibleItem& item, LRESULT& result);

}  // namespace kv::win32

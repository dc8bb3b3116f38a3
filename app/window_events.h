// What the window on screen needs from the program: the controls it shows, and the events
// that belong to the window as a whole rather than to one control. The Win32 window talks to
// the program through this alone.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/accessible.h"
#include "ui/control.h"
#include "ui/keys.h"
#include "ui/menu.h"
#include "ui/window.h"

namespace kv {

// The places of the window that take the keyboard's focus without a window of their own: the
// key layout and the page tabs, each one stop of the Tab order. None while the focus is on a
// control with a window of its own.
enum class FocusStop { None, Keys, Tabs };

class WindowEvents {
 public:
  virtual ~WindowEvents() = default;

  // The root of the control tree: caption, colour and size of the window itself.
  virtual ui::Window& Root() = 0;
  // Every control below the root, parents before their children, in painting order.
  virtual const std::vector<std::unique_ptr<ui::Control>>& Controls() const = 0;
  // The menu of the notification-area icon.
  virtual ui::PopupMenu& TrayMenu() = 0;

  // A global hot key registered with `id` was pressed (WM_HOTKEY).
  virtual void HotKeyPressed(uint32_t id) = 0;
  // The notification-area icon was double-clicked.
  virtual void TrayIconDoubleClicked() = 0;
  // The close button or WM_CLOSE; returns whether the window may close.
  virtual bool CloseRequested() = 0;
  // WM_ENDSESSION: the Windows session ends (`ending`) or goes on after all.
  virtual void SessionEnded(bool ending) = 0;
  // Another program (the setup program, about to replace or remove Keyvane's files) asks
  // Keyvane to end as the tray's Exit ends it.
  virtual void ExitRequested() = 0;

  // The keyboard's focus came to `stop` (None: to a control with a window of its own).
  virtual void FocusMoved(FocusStop stop) = 0;
  // A key pressed anywhere in the window that may move the focus or act on it; true when the
  // program used it.
  virtual bool KeyPressed(ui::Key key, ui::KeyState state) = 0;
  // The painted control that the focus is on (a key's shape, a page tab), or null.
  virtual const ui::Control* FocusedPaintedControl() const = 0;

  // What a screen reader reads of the window, child by child, and the default action of one of
  // them (a key pressed, a tab clicked).
  virtual std::vector<ui::AccessibleItem> AccessibleItems() const = 0;
  virtual void AccessibleDefaultAction(const ui::Control& control) = 0;
};

}  // namespace kv

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

// A message of the notification-area icon: the mouse message or the notification (numbers as
// Windows has them), where it happened on the screen, and whether the shell speaks version 4
// (which follows a right click with WM_CONTEXTMENU and tells of the keyboard on the icon).
struct TrayMessage {
  uint32_t event = 0;
  int x = 0;
  int y = 0;
  bool version4 = false;
};
inline constexpr uint32_t kTrayLeftDown = 0x0201;   // WM_LBUTTONDOWN
inline constexpr uint32_t kTrayLeftUp = 0x0202;     // WM_LBUTTONUP
inline constexpr uint32_t kTrayDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr uint32_t kTrayRightUp = 0x0205;    // WM_RBUTTONUP
inline constexpr uint32_t kTrayContextMenu = 0x007B;  // WM_CONTEXTMENU: right click, Shift+F10, menu key
inline constexpr uint32_t kTraySelect = 0x0400;     // NIN_SELECT: after a left click
inline constexpr uint32_t kTrayKeySelect = 0x0401;  // NIN_KEYSELECT: Enter or Space on the icon

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
  // A message from the notification-area icon, as Windows sends it.
  virtual void TrayIconMessage(const TrayMessage& message) = 0;
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

// What the window on screen needs from the program: the controls it shows, and the events
// that belong to the window as a whole rather than to one control. The Win32 window talks to
// the program through this alone.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/control.h"
#include "ui/menu.h"
#include "ui/window.h"

namespace kv {

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
};

}  // namespace kv

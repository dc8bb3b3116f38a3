// System-wide hot keys, delivered as WM_HOTKEY to Keyvane's main window.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/platform.h"

namespace kv::win32 {

class Win32HotKeys final : public platform::HotKeys {
 public:
  // The main window is created after the platform objects, so it is looked up on each call.
  explicit Win32HotKeys(std::function<HWND()> owner) : owner_(std::move(owner)) {}

  // Refused while there is no main window: a key registered without one would be delivered
  // to the thread's queue, where no window procedure sees it.
  bool Register(uint32_t id, uint32_t modifiers, uint32_t virtualKey) override;
  bool Unregister(uint32_t id) override;

 private:
  std::function<HWND()> owner_;
};

}  // namespace kv::win32

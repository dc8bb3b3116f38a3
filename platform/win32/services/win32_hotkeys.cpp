#include "platform/win32/services/win32_hotkeys.h"

namespace kv::win32 {

bool Win32HotKeys::Register(uint32_t id, uint32_t modifiers, uint32_t virtualKey) {
  const HWND window = owner_ ? owner_() : nullptr;
  if (window == nullptr) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  return ::RegisterHotKey(window, static_cast<int>(id), modifiers, virtualKey) != 0;
}

bool Win32HotKeys::Unregister(uint32_t id) {
  const HWND window = owner_ ? owner_() : nullptr;
  if (window == nullptr) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  return ::UnregisterHotKey(window, static_cast<int>(id)) != 0;
}

}  // namespace kv::win32

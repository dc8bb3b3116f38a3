#include "platform/win32/services/message_pump.h"

#include <windows.h>

#include <utility>

namespace kv::win32 {

namespace {
std::function<bool(MSG&)>& Filter() {
  static std::function<bool(MSG&)> filter;
  return filter;
}
}  // namespace

void SetMessageFilter(std::function<bool(MSG&)> filter) { Filter() = std::move(filter); }

bool DispatchWaitingMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (Filter() && Filter()(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace kv::win32

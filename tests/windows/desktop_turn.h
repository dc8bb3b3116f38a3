// Tests that need the desktop to themselves (focus, the clipboard) take turns across the test
// processes that ctest runs in parallel, by a named mutex.
#pragma once

#include <windows.h>

#include "platform/win32/handles.h"

namespace kv::win32 {

class DesktopTurn {
 public:
  explicit DesktopTurn(const wchar_t* name) : mutex_(::CreateMutexW(nullptr, FALSE, name)) {
    if (mutex_) {
      const DWORD result = ::WaitForSingleObject(mutex_.get(), 60000);
      held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
  }
  ~DesktopTurn() {
    if (held_) ::ReleaseMutex(mutex_.get());
  }
  DesktopTurn(const DesktopTurn&) = delete;
  DesktopTurn& operator=(const DesktopTurn&) = delete;
  bool held() const { return held_; }

 private:
  UniqueHandle mutex_;
  bool held_ = false;
};

}  // namespace kv::win32

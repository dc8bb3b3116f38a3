// Sleep, hibernation and ExitWindowsEx with the shutdown privilege.
#pragma once

#include "platform/platform.h"

namespace kv::win32 {

class Win32Power final : public platform::Power {
 public:
  uintptr_t LinkApi(const std::string& module, const std::string& function) override;
  bool CallSetSuspendState(uintptr_t entry, bool hibernate, bool force, bool disableWakeEvents) override;
  bool EnableShutdownPrivilege() override;
  bool ExitSession(unsigned flags) override;
};

}  // namespace kv::win32

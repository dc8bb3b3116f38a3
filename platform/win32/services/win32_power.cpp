#include "platform/win32/services/win32_power.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/services/system_library.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

uintptr_t Win32Power::LinkApi(const std::string& module, const std::string& function) {
  const std::wstring name = Widen(module);
  HMODULE handle = ::GetModuleHandleW(name.c_str());
  // Loaded for the rest of the run, so that the remembered entry stays valid; from the system
  // folder only.
  if (!handle) handle = LoadSystemLibrary(name.c_str());
  return reinterpret_cast<uintptr_t>(FunctionIn<void*>(handle, function.c_str()));
}

bool Win32Power::CallSetSuspendState(uintptr_t entry, bool hibernate, bool force,
                                     bool disableWakeEvents) {
  using Fn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
  const auto setSuspendState = reinterpret_cast<Fn>(reinterpret_cast<void*>(entry));
  return setSuspendState(hibernate ? 1 : 0, force ? 1 : 0, disableWakeEvents ? 1 : 0) != 0;
}

bool Win32Power::EnableShutdownPrivilege() {
  UniqueHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()))
    return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
    return false;
  // AdjustTokenPrivileges also succeeds when the token does not hold the privilege at all;
  // only ERROR_NOT_ALL_ASSIGNED tells.
  ::SetLastError(ERROR_SUCCESS);
  if (!::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)) return false;
  return ::GetLastError() == ERROR_SUCCESS;
}

bool Win32Power::ExitSession(unsigned flags) { return ::ExitWindowsEx(flags, 0) != 0; }

}  // namespace kv::win32

#include "platform/win32/services/win32_wow64.h"

#include <windows.h>

namespace kv::win32 {

namespace {

template <typename Fn>
Fn Kernel32Function(const char* name) {
  HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
  if (!kernel32) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(kernel32, name)));
}

}  // namespace

platform::Wow64Probe Win32Wow64::ProbeSystemWow64Directory() {
  using platform::Wow64Probe;
  if (!::GetModuleHandleA("kernel32.dll")) return Wow64Probe::NoKernel32;
  using Fn = UINT(WINAPI*)(LPWSTR, UINT);
  const auto getDirectory = Kernel32Function<Fn>("GetSystemWow64DirectoryW");
  if (!getDirectory) return Wow64Probe::NoFunction;
  wchar_t buffer[261];
  if (getDirectory(buffer, 261) != 0) return Wow64Probe::Succeeded;
  return ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED ? Wow64Probe::NotImplemented : Wow64Probe::Failed;
}

std::optional<uintptr_t> Win32Wow64::DisableRedirection() {
  using Fn = BOOL(WINAPI*)(PVOID*);
  const auto disable = Kernel32Function<Fn>("Wow64DisableWow64FsRedirection");
  PVOID old = nullptr;
  if (!disable || !disable(&old)) return std::nullopt;
  return reinterpret_cast<uintptr_t>(old);
}

void Win32Wow64::RevertRedirection(uintptr_t oldState) {
  using Fn = BOOL(WINAPI*)(PVOID);
  if (const auto revert = Kernel32Function<Fn>("Wow64RevertWow64FsRedirection"))
    revert(reinterpret_cast<PVOID>(oldState));
}

}  // namespace kv::win32

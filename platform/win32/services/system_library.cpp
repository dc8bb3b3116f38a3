#include "platform/win32/services/system_library.h"

namespace kv::win32 {

namespace {

bool restricted = false;

// Libraries that the system's own libraries load late, by bare name, through their delayed
// imports: the themes library behind the common controls takes msimg32.dll so. Not every system
// keeps such late loads to the restricted search (Wine does not), so they are loaded first from
// the system folder, and found loaded when asked for.
constexpr const wchar_t* kLoadedLateBySystemLibraries[] = {L"msimg32.dll"};

}  // namespace

void RestrictLibrarySearch() {
  // kernel32 is in every process before its first instruction; the function is looked up, since
  // Windows XP and an un-updated Windows 7 lack it.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  restricted = setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Without it the current folder, at least, leaves the search; every library Keyvane loads
  // itself is named by its full path.
  if (!restricted) ::SetDllDirectoryW(L"");
  for (const wchar_t* name : kLoadedLateBySystemLibraries) LoadSystemLibrary(name);
}

bool LibrarySearchRestricted() { return restricted; }

std::wstring SystemLibraryPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = L"";
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\" + name;
}

HMODULE LoadLibraryAt(const std::wstring& path) {
  if (path.empty()) return nullptr;
  // The restricted search covers the library's own dependencies; without it, the altered search
  // starts them in the library's folder instead of the program's.
  return ::LoadLibraryExW(path.c_str(), nullptr, restricted ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadSystemLibrary(const wchar_t* name) { return LoadLibraryAt(SystemLibraryPath(name)); }

}  // namespace kv::win32

// Libraries come from the system folder only. Windows looks for a library in the program's own
// folder first unless told otherwise, and a portable Keyvane lives in Downloads folders, which
// hold whatever other sites dropped there: a library of a system name planted beside
// keyvane.exe must never run.
#pragma once

#include <windows.h>

#include <string>

namespace kv::win32 {

// Restricts the search of every later load, and of the libraries those loads bring with them,
// to the system folder. The first thing the entry does, before any window or library.
void RestrictLibrarySearch();
// Whether the system could restrict the search (Windows 8 and later, and Windows 7 and Vista
// with the update that brought SetDefaultDllDirectories).
bool LibrarySearchRestricted();
// `name` in the system folder, for example C:\Windows\system32\hhctrl.ocx; empty when the
// system folder cannot be found.
std::wstring SystemLibraryPath(const wchar_t* name);
// Loads a library by its full path; what it depends on is looked for beside it, in the system
// folder, never beside the program.
HMODULE LoadLibraryAt(const std::wstring& path);
// Loads `name` from the system folder.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a library loaded at run time, or null when the library or the function is
// missing. The library stays loaded, so the pointer stays valid.
template <typename Function>
Function FunctionIn(HMODULE library, const char* name) {
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name))) : nullptr;
}
// A function of a system library that the first window does not need, loaded from the system
// folder when first asked for, so that a start does not wait for its library.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  return FunctionIn<Function>(LoadSystemLibrary(library), name);
}

}  // namespace kv::win32

// The common controls (version 6, which Keyvane's manifest names), loaded at run time once the
// library search is restricted. Imported by the program they would be loaded before any of its
// code runs, and the libraries they need (uxtheme.dll) looked for beside the program first.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace kv::win32::comctl {

// Loads the library if it is not loaded yet and registers the control classes `classes` names.
bool Init(DWORD classes);
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id);
LRESULT DefSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace kv::win32::comctl

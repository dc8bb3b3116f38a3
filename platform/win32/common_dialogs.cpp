#include "platform/win32/common_dialogs.h"

#include <string>

namespace kv::win32 {
namespace {

// The library from the system folder only, never one planted beside the program.
HMODULE Library() {
  static const HMODULE library = [] {
    wchar_t folder[MAX_PATH] = L"";
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return HMODULE{nullptr};
    return ::LoadLibraryW((std::wstring(folder) + L"\\comdlg32.dll").c_str());
  }();
  return library;
}

template <typename Function>
Function* Find(const char* name) {
  HMODULE library = Library();
  return library ? reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(library, name)))
                 : nullptr;
}

bool initFailed = false;  // the library or a function in it is missing

template <typename Function, typename Request>
BOOL Show(const char* name, Request& request) {
  static Function* const show = Find<Function>(name);
  initFailed = show == nullptr;
  return show ? show(&request) : FALSE;
}

}  // namespace

BOOL ShowOpenFileDialog(OPENFILENAMEW& request) {
  return Show<BOOL WINAPI(OPENFILENAMEW*)>("GetOpenFileNameW", request);
}

BOOL ShowPrintDialog(PRINTDLGW& request) {
  return Show<BOOL WINAPI(PRINTDLGW*)>("PrintDlgW", request);
}

DWORD CommonDialogError() {
  if (initFailed) return CDERR_INITIALIZATION;
  static auto* const error = Find<DWORD WINAPI()>("CommDlgExtendedError");
  return error ? error() : CDERR_INITIALIZATION;
}

}  // namespace kv::win32

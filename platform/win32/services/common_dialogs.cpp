#include "platform/win32/services/common_dialogs.h"

#include <string>

#include "platform/win32/services/system_library.h"

namespace kv::win32 {
namespace {

HMODULE Library() {
  static const HMODULE library = LoadSystemLibrary(L"comdlg32.dll");
  return library;
}

template <typename Function>
Function* Find(const char* name) {
  return FunctionIn<Function*>(Library(), name);
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

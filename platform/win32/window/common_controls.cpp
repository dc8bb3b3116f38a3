#include "platform/win32/window/common_controls.h"

#include "platform/win32/services/system_library.h"

namespace kv::win32::comctl {

namespace {

struct Functions {
  decltype(&::InitCommonControlsEx) init = nullptr;
  decltype(&::SetWindowSubclass) setSubclass = nullptr;
  decltype(&::RemoveWindowSubclass) removeSubclass = nullptr;
  decltype(&::DefSubclassProc) defSubclassProc = nullptr;
};

template <typename Function>
void Find(HMODULE library, const char* name, Function& function) {
  function = FunctionIn<Function>(library, name);
}

const Functions& Library() {
  static const Functions functions = [] {
    Functions f;
    // By name, not by path, so that the manifest's version 6 is the one loaded; the restricted
    // search keeps both it and what it needs to the system's own folders.
    if (HMODULE library = ::LoadLibraryW(L"comctl32.dll")) {
      Find(library, "InitCommonControlsEx", f.init);
      Find(library, "SetWindowSubclass", f.setSubclass);
      Find(library, "RemoveWindowSubclass", f.removeSubclass);
      Find(library, "DefSubclassProc", f.defSubclassProc);
    }
    return f;
  }();
  return functions;
}

}  // namespace

bool Init(DWORD classes) {
  INITCOMMONCONTROLSEX init{sizeof init, classes};
  return Library().init && Library().init(&init);
}

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
  return Library().setSubclass ? Library().setSubclass(window, proc, id, data) : FALSE;
}

BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id) {
  return Library().removeSubclass ? Library().removeSubclass(window, proc, id) : FALSE;
}

LRESULT DefSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Without the library no subclass was installed: the window's own procedure handles it.
  return Library().defSubclassProc ? Library().defSubclassProc(window, msg, wParam, lParam)
                                   : ::DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace kv::win32::comctl

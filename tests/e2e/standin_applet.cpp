// A control-panel applet that stands in for a page of the system's: opened, it notes its own
// file name in the file that KEYVANE_STANDIN_LOG names, so the scenarios can tell which page
// Keyvane asked for. Copied into the system folder as ncpa.cpl, netcpl.cpl and nusrmgr.cpl.
#include <windows.h>
#include <cpl.h>

#include <cstdio>
#include <cwchar>

namespace {

HMODULE self = nullptr;

void NoteOpened() {
  wchar_t log[MAX_PATH] = L"";
  if (!::GetEnvironmentVariableW(L"KEYVANE_STANDIN_LOG", log, MAX_PATH)) return;
  wchar_t name[MAX_PATH] = L"";
  ::GetModuleFileNameW(self, name, MAX_PATH);
  if (FILE* file = _wfopen(log, L"a")) {
    std::fwprintf(file, L"applet %ls\n", name);
    std::fclose(file);
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) LONG CALLBACK CPlApplet(HWND, UINT message, LPARAM, LPARAM data) {
  switch (message) {
    case CPL_INIT: return 1;
    case CPL_GETCOUNT: return 1;
    case CPL_INQUIRE: {
      auto* info = reinterpret_cast<CPLINFO*>(data);
      info->idIcon = CPL_DYNAMIC_RES;
      info->idName = CPL_DYNAMIC_RES;
      info->idInfo = CPL_DYNAMIC_RES;
      info->lData = 0;
      return 0;
    }
    case CPL_NEWINQUIRE: {
      auto* info = reinterpret_cast<NEWCPLINFOW*>(data);
      info->dwSize = sizeof(NEWCPLINFOW);
      info->hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
      lstrcpynW(info->szName, L"Stand-in", 32);
      lstrcpynW(info->szInfo, L"Keyvane test page", 64);
      return 0;
    }
    case CPL_DBLCLK:
      NoteOpened();
      return 0;
    default:
      return 0;
  }
}

// A library planted beside a program under a system library's name (MSIMG32.dll, POWRPROF.dll,
// hhctrl.ocx, ...), as a Downloads folder may hold one. It does nothing but leave a marker
// beside itself, "<its own file name>.loaded", when some process loads it.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH + 8] = L"";
  const DWORD length = ::GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  ::lstrcatW(path, L".loaded");
  const HANDLE marker = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE) ::CloseHandle(marker);
  return TRUE;
}

// What a program that imports MSIMG32.dll needs of it, so that such a program starts with the
// planted copy as it would on Windows. (The system header declares it imported.)
#pragma GCC diagnostic ignored "-Wattributes"
extern "C" __declspec(dllexport) BOOL WINAPI TransparentBlt(HDC dest, int x, int y, int w, int h, HDC src,
                                                            int sx, int sy, int sw, int sh, UINT transparent) {
  return ::GdiTransparentBlt(dest, x, y, w, h, src, sx, sy, sw, sh, transparent);
}

// Measures a hot key's launch as its user sees it: from the hot key reaching a program's
// window to the first visible window of the program it starts, polled every millisecond.
// Prints the milliseconds, then closes the started program and waits for it to end.
// Usage: keyvane_hotkeytime <window class> <hot-key id, or the name of its global atom>
//                           <class of the started program's window>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK FindShown(HWND w, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t cls[64] = L"";
  ::GetClassNameW(w, cls, 64);
  if (::IsWindowVisible(w) && std::wcscmp(cls, search->cls) == 0) {
    search->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindShownWindow(const wchar_t* cls) {
  Search search{cls, nullptr};
  ::EnumWindows(&FindShown, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const HWND program = ::FindWindowW(argv[1], nullptr);
  if (!program) return 1;
  WPARAM id = static_cast<WPARAM>(std::wcstoul(argv[2], nullptr, 10));
  if (id == 0) id = ::GlobalFindAtomW(argv[2]);
  if (id == 0 || FindShownWindow(argv[3])) return 1;

  LARGE_INTEGER frequency, start, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  if (!::PostMessageW(program, WM_HOTKEY, id, 0)) return 1;
  HWND started = nullptr;
  for (int i = 0; i < 30000 && !(started = FindShownWindow(argv[3])); ++i) ::Sleep(1);
  ::QueryPerformanceCounter(&now);
  const double ms = static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
  std::printf("%.1f\n", started ? ms : -1.0);
  if (!started) return 1;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(started, &pid);
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
  ::PostMessageW(started, WM_CLOSE, 0, 0);
  if (process) {
    ::WaitForSingleObject(process, 5000);
    ::CloseHandle(process);
  }
  return 0;
}

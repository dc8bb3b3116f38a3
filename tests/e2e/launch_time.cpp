// Measures a program's start-up as its user sees it: from asking Windows to start it to its
// first visible top-level window, polled every millisecond. Prints the milliseconds, then
// ends the program. Usage: keyvane_launchtime <folder> <program> [arguments]
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
  DWORD pid;
  bool found;
};

BOOL CALLBACK FindShown(HWND w, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  if (pid == search->pid && ::IsWindowVisible(w) && ::GetWindow(w, GW_OWNER) == nullptr) {
    wchar_t cls[64] = L"";
    ::GetClassNameW(w, cls, 64);
    // Tool tips and the tray's own windows are not the program's window.
    if (std::wstring(cls) != L"tooltips_class32") {
      search->found = true;
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  std::wstring command = L"\"" + std::wstring(argv[2]) + L"\"";
  for (int i = 3; i < argc; ++i) command += L" " + std::wstring(argv[i]);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER frequency, start, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, argv[1], &si, &pi))
    return 1;
  Search search{pi.dwProcessId, false};
  for (int i = 0; i < 30000 && !search.found; ++i) {
    ::EnumWindows(&FindShown, reinterpret_cast<LPARAM>(&search));
    if (!search.found) ::Sleep(1);
  }
  ::QueryPerformanceCounter(&now);
  const double ms = static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
  std::printf("%.1f\n", search.found ? ms : -1.0);
  ::TerminateProcess(pi.hProcess, 0);
  ::WaitForSingleObject(pi.hProcess, 5000);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return search.found ? 0 : 1;
}

// The yardstick for a hot key's launch: a minimal Win32 program with one hidden window that
// registers a hot key and, when it arrives, starts the program named on its command line the
// way Keyvane starts a program file (CreateProcess with the path as the command line).
#include <windows.h>

#include <string>

namespace {

std::wstring g_command;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_HOTKEY) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION info{};
    std::wstring command = g_command;
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info)) {
      ::CloseHandle(info.hThread);
      ::CloseHandle(info.hProcess);
    }
    return 0;
  }
  if (msg == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  g_command = L"\"" + std::wstring(commandLine) + L"\"";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"KeyvaneMinimalLauncher";
  ::RegisterClassExW(&wc);
  HWND w = ::CreateWindowExW(0, wc.lpszClassName, L"Launcher", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                             100, nullptr, nullptr, instance, nullptr);
  // Ctrl+Alt+F7: beside Keyvane's own F7, which the timing gives the same program to start.
  ::RegisterHotKey(w, 1, MOD_CONTROL | MOD_ALT, VK_F7);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

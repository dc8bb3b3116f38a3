// Drives a running keyvane.exe from outside, as Windows and the user would: finds its main
// window, posts hot keys and closes, ends the session. Prints results on stdout.
//   driver wait-window <ms>       waits for the shown main window; prints "x y" of its client origin
//   driver post-hotkey <atom>     posts WM_HOTKEY with the global atom of that name
//   driver close                  posts WM_CLOSE (the window's close button)
//   driver end-session            sends WM_QUERYENDSESSION and WM_ENDSESSION(TRUE)
//   driver visible                prints 1 when the main window is visible, else 0
//   driver count                  prints how many Keyvane main windows exist
//   driver texts                  prints the text of each child window, one per line
//   driver free-key <vk>          prints 1 when no program holds that key as a hot key
//   driver tray <mouse message>   posts the tray icon's notification (e.g. 517 = right button up)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string_view>

namespace {

constexpr const wchar_t* kClass = L"TKeyvaneMainWindow";

HWND MainWindow() { return ::FindWindowW(kClass, nullptr); }

BOOL CALLBACK PrintChildText(HWND child, LPARAM) {
  wchar_t text[256] = L"";
  ::GetWindowTextW(child, text, 256);
  std::wprintf(L"%ls\n", text);
  return TRUE;
}

int CountWindows() {
  int count = 0;
  HWND w = nullptr;
  while ((w = ::FindWindowExW(nullptr, w, kClass, nullptr)) != nullptr) ++count;
  return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring_view command = argv[1];
  if (command == L"wait-window") {
    const DWORD timeout = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 10000;
    const DWORD start = ::GetTickCount();
    HWND w = nullptr;
    while (!(w = MainWindow()) || !::IsWindowVisible(w)) {
      if (::GetTickCount() - start > timeout) return 1;
      ::Sleep(50);
    }
    POINT origin{0, 0};
    ::ClientToScreen(w, &origin);
    std::printf("%ld %ld\n", origin.x, origin.y);
    return 0;
  }
  if (command == L"free-key" && argc > 2) {
    const bool free = ::RegisterHotKey(nullptr, 0xBEEF, 0, static_cast<UINT>(_wtoi(argv[2]))) != 0;
    if (free) ::UnregisterHotKey(nullptr, 0xBEEF);
    std::printf("%d\n", free ? 1 : 0);
    return 0;
  }
  if (command == L"count") {
    std::printf("%d\n", CountWindows());
    return 0;
  }
  HWND w = MainWindow();
  if (!w) return 1;
  if (command == L"post-hotkey" && argc > 2) {
    const ATOM atom = ::GlobalFindAtomW(argv[2]);
    if (!atom) return 1;
    return ::PostMessageW(w, WM_HOTKEY, atom, 0) ? 0 : 1;
  }
  if (command == L"close") return ::PostMessageW(w, WM_CLOSE, 0, 0) ? 0 : 1;
  if (command == L"end-session") {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(w, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &result);
    ::SendMessageTimeoutW(w, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &result);
    return 0;
  }
  if (command == L"texts") {
    ::EnumChildWindows(w, &PrintChildText, 0);
    return 0;
  }
  if (command == L"tray" && argc > 2)
    return ::PostMessageW(w, WM_APP + 1, 1, static_cast<LPARAM>(_wtoi(argv[2]))) ? 0 : 1;
  if (command == L"visible") {
    std::printf("%d\n", ::IsWindowVisible(w) ? 1 : 0);
    return 0;
  }
  return 2;
}

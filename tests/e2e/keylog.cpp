// A small window for the end-to-end scenarios: it takes the focus and writes every key it
// receives, and the clipboard's text whenever Ctrl+V arrives, to the log file named on its
// command line, one line each ("down 0x11", "up 0x43", "paste <text>").
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

FILE* g_log = nullptr;

void Log(const std::wstring& line) {
  if (!g_log) return;
  std::fwprintf(g_log, L"%ls\n", line.c_str());
  std::fflush(g_log);
}

std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!::OpenClipboard(owner)) return L"<busy>";
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = chars;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  // One log line per paste: line breaks are written as \n.
  std::wstring escaped;
  for (wchar_t c : text) escaped += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : std::wstring(1, c);
  return escaped;
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  wchar_t line[64];
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      std::swprintf(line, 64, L"down 0x%02X", static_cast<unsigned>(wParam));
      Log(line);
      if (wParam == 'V' && (::GetKeyState(VK_CONTROL) & 0x8000)) Log(L"paste " + ClipboardText(hwnd));
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      std::swprintf(line, 64, L"up 0x%02X", static_cast<unsigned>(wParam));
      Log(line);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  g_log = _wfopen(argv[1], L"w");
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KeyvaneKeyLog";
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  ::RegisterClassW(&wc);
  HWND hwnd = ::CreateWindowW(L"KeyvaneKeyLog", L"Keyvane key log", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              40, 500, 300, 120, nullptr, nullptr, wc.hInstance, nullptr);
  ::SetForegroundWindow(hwnd);
  ::SetFocus(hwnd);
  Log(L"ready");
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  std::fclose(g_log);
  return 0;
}

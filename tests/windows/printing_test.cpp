// The print dialog Keyvane shows before printing a theme, against the real dialog: what it
// offers, and that cancelling it prints nothing. It needs a printer (under Wine a CUPS queue,
// scripts/print-queue.sh start); without one Windows shows a different box, and the test skips.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwctype>
#include <string>

#include "platform/win32/services/common_dialogs.h"
#include "platform/win32/services/win32_printing.h"
#include "tests/windows/desktop_turn.h"

namespace kv::win32 {
namespace {

// A default printer, as the dialog would first offer it.
bool PrinterInstalled() {
  PRINTDLGW request{};
  request.lStructSize = sizeof(request);
  request.Flags = PD_RETURNDEFAULT;
  const bool found = ShowPrintDialog(request) != FALSE;
  if (request.hDevMode != nullptr) ::GlobalFree(request.hDevMode);
  if (request.hDevNames != nullptr) ::GlobalFree(request.hDevNames);
  return found;
}

// What the print dialog showed when it opened; the dialog is then cancelled.
struct SeenPrintDialog {
  std::wstring caption;
  bool printToFileShown = false;
  std::wstring printToFileText;
};

SeenPrintDialog* seen = nullptr;
HWND opened = nullptr;

BOOL CALLBACK LookAtControl(HWND control, LPARAM) {
  wchar_t text[128] = L"";
  ::GetWindowTextW(control, text, 128);
  std::wstring lower = text;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  // The check box is chx1 in the dialog's template; its text names it in any case.
  const bool printToFile = ::GetDlgCtrlID(control) == 0x410 || lower.find(L"to fi") != std::wstring::npos;
  if (printToFile && ::IsWindowVisible(control)) {
    seen->printToFileShown = true;
    seen->printToFileText = text;
  }
  return TRUE;
}

void CALLBACK LookThenCancel(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  if (opened == nullptr || seen == nullptr) return;
  wchar_t caption[128] = L"";
  ::GetWindowTextW(opened, caption, 128);
  seen->caption = caption;
  ::EnumChildWindows(opened, &LookAtControl, 0);
  ::PostMessageW(opened, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(opened, IDCANCEL)));
}

LRESULT CALLBACK WatchForDialog(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && opened == nullptr) {
    wchar_t className[16] = L"";
    ::GetClassNameW(reinterpret_cast<HWND>(wParam), className, 16);
    if (std::wstring(className) == L"#32770") {
      opened = reinterpret_cast<HWND>(wParam);
      ::SetTimer(nullptr, 0, 200, &LookThenCancel);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(PrintDialog, OffersNoPrintToFileAndCancelPrintsNothing) {
  if (!PrinterInstalled()) GTEST_SKIP() << "no printer installed";
  DesktopTurn turn{L"KeyvaneTestsFocusTurn"};
  SeenPrintDialog dialog;
  seen = &dialog;
  opened = nullptr;
  HHOOK hook = ::SetWindowsHookExW(WH_CBT, &WatchForDialog, nullptr, ::GetCurrentThreadId());
  Win32Printing printing{[] { return HWND{}; }};
  const platform::PrintOutcome outcome = printing.PrintLines("Keyvane dialog test", {"one line"});
  ::UnhookWindowsHookEx(hook);
  seen = nullptr;

  EXPECT_EQ(dialog.caption, L"Print");
  EXPECT_FALSE(dialog.printToFileShown) << "shown: " << std::string(dialog.printToFileText.begin(),
                                                                      dialog.printToFileText.end());
  EXPECT_EQ(outcome, platform::PrintOutcome::Cancelled);
}

}  // namespace
}  // namespace kv::win32

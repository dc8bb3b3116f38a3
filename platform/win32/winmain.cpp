// Keyvane's entry on Windows: the real platform around the portable program.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "platform/win32/window/common_controls.h"
#include "platform/win32/window/main_window.h"
#include "platform/win32/services/system_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_ansi.h"
#include "platform/win32/services/win32_dialogs.h"
#include "platform/win32/services/win32_files.h"
#include "platform/win32/services/win32_help.h"
#include "platform/win32/services/win32_hotkeys.h"
#include "platform/win32/services/win32_keyboard.h"
#include "platform/win32/services/win32_power.h"
#include "platform/win32/services/win32_printing.h"
#include "platform/win32/services/win32_processes.h"
#include "platform/win32/services/win32_shortcuts.h"
#include "platform/win32/services/win32_system.h"
#include "platform/win32/services/win32_tray.h"
#include "platform/win32/services/win32_wow64.h"

namespace {

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 1; argv && i < count; ++i) args.push_back(kv::win32::Narrow(argv[i]));
  if (argv) ::LocalFree(argv);
  return args;
}

HICON TrayImage(HINSTANCE instance, int id) {
  return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  kv::win32::RestrictLibrarySearch();
  kv::win32::comctl::Init(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES);

  using namespace kv::win32;
  MainWindow window(instance);
  auto owner = [&window] { return window.hwnd(); };
  Win32System system;
  Win32Files files;
  Win32Ansi ansi;
  Win32HotKeys hotKeys(owner);
  Win32TrayIcon tray(owner, kTrayCallbackMessage, {TrayImage(instance, 2), TrayImage(instance, 3)});
  Win32Dialogs dialogs(owner, [&window] { return window.Title(); });
  Win32Wow64 wow64;
  Win32Processes processes(owner);
  Win32Power power;
  Win32Keyboard keyboard(owner);
  Win32Shortcuts shortcuts;
  Win32Printing printing(owner);
  Win32Help help(owner);
  tray.HoldAdds();  // until the window is on the screen
  window.SetTray(&tray);
  kv::platform::Platform platform{system, files, ansi,      hotKeys, tray,     dialogs,
                                  window, wow64, processes, power,   keyboard, shortcuts,
                                  printing, help};
  return kv::RunProgram(platform, Arguments(), window);
}

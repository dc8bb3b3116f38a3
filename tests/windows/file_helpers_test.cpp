// The redirection-aware file helpers and the shortcut target reader over the real Windows
// layer: what the run-at-startup shortcut relies on.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "actions/file_redirection.h"
#include "core/text_util.h"
#include "platform/win32/window/main_window.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_ansi.h"
#include "platform/win32/services/win32_dialogs.h"
#include "platform/win32/services/win32_files.h"
#include "platform/win32/services/win32_hotkeys.h"
#include "platform/win32/services/win32_keyboard.h"
#include "platform/win32/services/win32_power.h"
#include "platform/win32/services/win32_printing.h"
#include "platform/win32/services/win32_processes.h"
#include "platform/win32/services/win32_help.h"
#include "platform/win32/services/win32_shortcuts.h"
#include "platform/win32/services/win32_system.h"
#include "platform/win32/services/win32_tray.h"
#include "platform/win32/services/win32_wow64.h"

namespace kv::win32 {
namespace {

// The whole real platform, as keyvane.exe puts it together (without a main window).
class RealPlatform : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = Narrow(temp) + "keyvane-file-helpers-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryW(Widen(folder_).c_str(), nullptr);
  }
  void TearDown() override {
    for (const char* name : {"\\present.txt", "\\startup.lnk", "\\quoted.lnk", "\\nodrive.lnk"})
      ::DeleteFileW(Widen(folder_ + name).c_str());
    ::RemoveDirectoryW(Widen(folder_).c_str());
  }
  std::string Path(const char* name) const { return folder_ + "\\" + name; }
  void Touch(const std::string& path) {
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
  }
  void Link(const std::string& path, const std::string& target) {
    platform::ShortcutInfo info;
    info.target = target;
    shortcuts.Write(path, info);
  }

  std::string folder_;
  MainWindow window{::GetModuleHandleW(nullptr)};
  Win32System system;
  Win32Files files;
  Win32Ansi ansi;
  Win32HotKeys hotKeys{[] { return HWND{}; }};
  Win32TrayIcon tray{[] { return HWND{}; }, WM_APP + 1, {nullptr, nullptr}};
  Win32Dialogs dialogs{[] { return HWND{}; }, [] { return std::string("Keyvane"); }};
  Win32Wow64 wow64;
  Win32Processes processes{[] { return HWND{}; }};
  Win32Power power;
  Win32Keyboard keyboard{[] { return HWND{}; }};
  Win32Shortcuts shortcuts;
  Win32Printing printing{[] { return HWND{}; }};
  Win32Help help{nullptr};
  platform::Platform p{system, files, ansi, hotKeys, tray, dialogs, window,
                       wow64,  processes, power, keyboard, shortcuts,
                       printing, help};
};

TEST_F(RealPlatform, FilesAreFoundAndDeletedWithOrWithoutTheRedirectionRetry) {
  for (bool is64 : {false, true}) {
    Touch(Path("present.txt"));
    EXPECT_TRUE(nFileExists(p, is64, Path("present.txt"))) << is64;
    EXPECT_FALSE(nFileExists(p, is64, Path("missing.txt"))) << is64;
    EXPECT_TRUE(nDeleteFile(p, is64, Path("present.txt"))) << is64;
    EXPECT_FALSE(nFileExists(p, is64, Path("present.txt"))) << is64;
    EXPECT_FALSE(nDeleteFile(p, is64, Path("present.txt"))) << is64;
  }
}

TEST_F(RealPlatform, AShortcutOnAFixedDriveGivesItsTargetAsStored) {
  wchar_t own[MAX_PATH];
  ::GetModuleFileNameW(nullptr, own, MAX_PATH);
  Link(Path("startup.lnk"), Narrow(own));
  EXPECT_EQ(UpperAscii(CheckTarget(p, true, Path("startup.lnk"))), UpperAscii(Narrow(own)));
  EXPECT_EQ(CheckTarget(p, false, Path("absent.lnk")), "");
}

}  // namespace
}  // namespace kv::win32

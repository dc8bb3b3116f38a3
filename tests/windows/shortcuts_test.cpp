// Shell links against the real shell: the start-up shortcut Keyvane writes read back field by
// field, replacement of an existing link, and the errors for files that are not links.
#include <gtest/gtest.h>
// windows.h first, the other Windows headers rely on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
// clang-format on

#include <string>
#include <thread>

#include "core/error.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_shortcuts.h"

#include "tests/windows/test_support.h"

namespace kv::win32 {
namespace {

using platform::ShortcutInfo;

// The message of the KeyvaneError the call throws; "" when it throws nothing.
template <typename Call>
std::string ErrorOf(Call call) {
  try {
    call();
  } catch (const KeyvaneError& error) {
    return error.what();
  }
  return "";
}

bool RunningUnderWine() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The show command as stored in the link's header (a 32-bit number at byte 60).
int StoredShowCommand(const std::string& path) {
  UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
  unsigned char header[64] = {};
  DWORD read = 0;
  if (!file || !::ReadFile(file.get(), header, sizeof header, &read, nullptr) || read != sizeof header)
    return -1;
  return header[60] | header[61] << 8 | header[62] << 16 | header[63] << 24;
}

void ExpectSame(const ShortcutInfo& read, const ShortcutInfo& written) {
  EXPECT_EQ(read.target, written.target);
  EXPECT_EQ(read.arguments, written.arguments);
  EXPECT_EQ(read.description, written.description);
  EXPECT_EQ(read.workingDirectory, written.workingDirectory);
  // Wine's link reader always reports SW_SHOWNORMAL, whatever the file holds.
  if (written.showCommand == SW_SHOWNORMAL || !RunningUnderWine()) {
    EXPECT_EQ(read.showCommand, written.showCommand);
  }
  EXPECT_EQ(read.hotKey, written.hotKey);
}

class ShortcutsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_NE(::GetTempPathW(MAX_PATH + 1, temp), 0u);
    folder_ = std::wstring(temp) + L"keyvane-links-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
    RemoveTree(folder_);
    ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
  }
  void TearDown() override { RemoveTree(folder_); }

  std::string Path(const std::wstring& name) const { return Narrow(folder_ + L"\\" + name); }

  // What Keyvane puts in the Startup folder: itself, started with "bootup".
  static ShortcutInfo StartupShortcut() {
    const std::wstring exe = OwnPath();
    ShortcutInfo info;
    info.target = Narrow(exe);
    info.arguments = "bootup";
    info.description = "Keyvane";
    info.workingDirectory = Narrow(exe.substr(0, exe.find_last_of(L'\\') + 1));
    info.showCommand = SW_SHOWNORMAL;
    info.hotKey = 0;
    return info;
  }

  std::wstring folder_;
  Win32Shortcuts shortcuts_;
};

TEST_F(ShortcutsTest, StartupShortcutReadsBackFieldByField) {
  const ShortcutInfo written = StartupShortcut();
  const std::string path = Path(L"Keyvane.lnk");
  shortcuts_.Write(path, written);
  ASSERT_NE(::GetFileAttributesW(Widen(path).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(StoredShowCommand(path), SW_SHOWNORMAL);
  ExpectSame(shortcuts_.Read(path), written);
}

TEST_F(ShortcutsTest, OtherShowCommandsHotKeysAndTextsReadBack) {
  ShortcutInfo written = StartupShortcut();
  written.arguments = "bootup \"\xCE\xA9 folder\" --x";
  written.description = "Keyvane \xE2\x82\xAC \xF0\x9F\x94\x91";  // "Keyvane € 🔑"
  written.showCommand = SW_SHOWMINNOACTIVE;
  written.hotKey = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
  const std::string path = Path(L"Keyvane \u03A9.lnk");
  shortcuts_.Write(path, written);
  EXPECT_EQ(StoredShowCommand(path), SW_SHOWMINNOACTIVE);
  ExpectSame(shortcuts_.Read(path), written);

  written.showCommand = SW_SHOWMAXIMIZED;
  written.hotKey = 0;
  written.arguments = "";
  shortcuts_.Write(path, written);
  EXPECT_EQ(StoredShowCommand(path), SW_SHOWMAXIMIZED);
  ExpectSame(shortcuts_.Read(path), written);
}

// Arguments and descriptions have no length limit of their own; what was written must not
// come back cut short.
TEST_F(ShortcutsTest, LongArgumentsAndDescriptionReadBackWhole) {
  ShortcutInfo written = StartupShortcut();
  written.arguments = "bootup " + std::string(900, 'a') + " end";
  written.description = "Keyvane " + std::string(700, 'd') + " end";
  const std::string path = Path(L"long.lnk");
  shortcuts_.Write(path, written);
  const ShortcutInfo read = shortcuts_.Read(path);
  EXPECT_EQ(read.arguments.size(), written.arguments.size());
  EXPECT_EQ(read.arguments, written.arguments);
  EXPECT_EQ(read.description.size(), written.description.size());
  EXPECT_EQ(read.description, written.description);
}

TEST_F(ShortcutsTest, WritingOverAnExistingLinkReplacesIt) {
  const std::string path = Path(L"Keyvane.lnk");
  ShortcutInfo first = StartupShortcut();
  first.arguments = "first run with a much longer argument text than the second";
  first.description = "A longer description of the first link";
  shortcuts_.Write(path, first);

  ShortcutInfo second = StartupShortcut();
  second.description = "Keyvane";
  shortcuts_.Write(path, second);
  ExpectSame(shortcuts_.Read(path), second);

  // A file that was not a link at all is replaced as well.
  const std::string other = Path(L"other.lnk");
  WriteBytes(Widen(other), std::string(4096, 'x'));
  shortcuts_.Write(other, second);
  ExpectSame(shortcuts_.Read(other), second);
}

TEST_F(ShortcutsTest, FilesThatAreNotLinksGiveReadError) {
  EXPECT_EQ(ErrorOf([&] { shortcuts_.Read(Path(L"missing.lnk")); }), "Read error.");
  EXPECT_EQ(ErrorOf([&] { shortcuts_.Read(Path(L"no folder\\missing.lnk")); }), "Read error.");

  WriteBytes(folder_ + L"\\garbage.lnk", "this is not a shell link, only some text\r\n");
  EXPECT_EQ(ErrorOf([&] { shortcuts_.Read(Path(L"garbage.lnk")); }), "Read error.");

  WriteBytes(folder_ + L"\\empty.lnk", "");
  EXPECT_EQ(ErrorOf([&] { shortcuts_.Read(Path(L"empty.lnk")); }), "Read error.");

  // Only the header of a link, the rest cut off.
  const std::string path = Path(L"cut.lnk");
  shortcuts_.Write(path, StartupShortcut());
  WriteBytes(folder_ + L"\\cut.lnk", std::string("\x4C\0\0\0", 4));
  EXPECT_EQ(ErrorOf([&] { shortcuts_.Read(path); }), "Read error.");
}

TEST_F(ShortcutsTest, WritingIntoAMissingFolderGivesWriteError) {
  const std::string path = Path(L"no such folder\\Keyvane.lnk");
  EXPECT_EQ(ErrorOf([&] { shortcuts_.Write(path, StartupShortcut()); }), "Write error.");
  EXPECT_EQ(::GetFileAttributesW(Widen(path).c_str()), INVALID_FILE_ATTRIBUTES);
}

// COM is set up and torn down around each call: calls from a thread that already uses COM,
// in either model, still work and leave that thread's COM as it was.
TEST_F(ShortcutsTest, WorksOnThreadsThatAlreadyUseCom) {
  const std::string path = Path(L"Keyvane.lnk");
  for (const DWORD model : {COINIT_APARTMENTTHREADED, COINIT_MULTITHREADED}) {
    SCOPED_TRACE(model == COINIT_MULTITHREADED ? "multithreaded" : "apartment");
    std::string failure;
    std::thread([&] {
      if (FAILED(::CoInitializeEx(nullptr, model))) {
        failure = "CoInitializeEx";
        return;
      }
      try {
        shortcuts_.Write(path, StartupShortcut());
        if (shortcuts_.Read(path).target != StartupShortcut().target) failure = "target differs";
      } catch (const KeyvaneError& error) {
        failure = error.what();
      }
      // Still initialized: a second initialization in the same model says S_FALSE.
      const HRESULT again = ::CoInitializeEx(nullptr, model);
      if (again != S_FALSE) failure += " COM state changed";
      if (SUCCEEDED(again)) ::CoUninitialize();
      ::CoUninitialize();
    }).join();
    EXPECT_EQ(failure, "");
  }
}

}  // namespace
}  // namespace kv::win32

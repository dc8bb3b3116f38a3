// Finding a program by its bare name, as starting it by that name would: the real SearchPath
// order that the simulated file system copies (executable's folder, system folders, Windows
// folder, PATH), and a name found nowhere.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <optional>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_files.h"

#include "tests/windows/test_support.h"

namespace kv::win32 {
namespace {

std::wstring Lower(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return std::towlower(c); });
  return s;
}

std::wstring WindowsFolder() {
  wchar_t folder[MAX_PATH] = {};
  ::GetWindowsDirectoryW(folder, MAX_PATH);
  return folder;
}

void WriteFile(const std::wstring& path) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file);
}

// PATH for this process while a test runs, restored afterwards.
class PathVariable {
 public:
  explicit PathVariable(const std::wstring& value) {
    wchar_t old[32767] = {};
    had_ = ::GetEnvironmentVariableW(L"PATH", old, 32767) != 0;
    old_ = old;
    ::SetEnvironmentVariableW(L"PATH", value.c_str());
  }
  ~PathVariable() { ::SetEnvironmentVariableW(L"PATH", had_ ? old_.c_str() : nullptr); }

 private:
  bool had_ = false;
  std::wstring old_;
};

TEST(SearchPathTest, AProgramInTheWindowsFoldersIsFoundWithItsFolder) {
  Win32Files files;
  const std::optional<std::string> notepad = files.FindOnSearchPath("NOTEPAD.EXE");
  ASSERT_TRUE(notepad.has_value());
  const std::wstring found = Lower(Widen(*notepad));
  const std::wstring windows = Lower(WindowsFolder());
  EXPECT_EQ(found.rfind(windows + L"\\", 0), 0u) << *notepad;
  EXPECT_TRUE(found.ends_with(L"\\notepad.exe")) << *notepad;
}

TEST(SearchPathTest, TheExecutablesFolderAndEachPathFolderAreSearched) {
  Win32Files files;
  const std::wstring beside = OwnFolder() + L"\\keyvane-beside-" +
                              std::to_wstring(::GetCurrentProcessId()) + L".exe";
  WriteFile(beside);
  const std::wstring name = beside.substr(beside.find_last_of(L'\\') + 1);
  EXPECT_EQ(Lower(Widen(files.FindOnSearchPath(Narrow(name)).value_or(""))), Lower(beside));
  ::DeleteFileW(beside.c_str());

  wchar_t temp[MAX_PATH + 1] = {};
  ASSERT_NE(::GetTempPathW(MAX_PATH + 1, temp), 0u);
  const std::wstring folder =
      std::wstring(temp) + L"keyvane-path-" + std::to_wstring(::GetCurrentProcessId());
  RemoveTree(folder);
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  WriteFile(folder + L"\\oldgame.exe");
  {
    PathVariable path(L"C:\\keyvane-no-such-folder;" + folder);
    EXPECT_EQ(Lower(Widen(files.FindOnSearchPath("OldGame.exe").value_or(""))),
              Lower(folder + L"\\oldgame.exe"));
  }
  EXPECT_FALSE(files.FindOnSearchPath("oldgame.exe").has_value()) << "only while on the PATH";
  RemoveTree(folder);
}

TEST(SearchPathTest, ANameFoundNowhereGivesNothing) {
  Win32Files files;
  EXPECT_FALSE(files.FindOnSearchPath("keyvane-no-such-program.exe").has_value());
}

}  // namespace
}  // namespace kv::win32

// Kernel services against the real API: the single-instance mutex seen from another
// process, global atoms, registry strings of every shape, version, folders, environment.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_system.h"

#include "tests/windows/test_support.h"

namespace kv::win32 {
namespace {

using platform::RegistryHive;

std::string Unique(const std::string& stem) {
  return stem + std::to_string(::GetCurrentProcessId()) + "." + std::to_string(::GetTickCount64());
}

bool EqualsIgnoringCase(std::string a, std::string b) {
  auto lower = [](std::string& s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  };
  lower(a);
  lower(b);
  return a == b;
}

TEST(SingleInstanceTest, AnotherProcessIsRefusedUntilReleased) {
  const std::string name = Unique("Keyvane.Test.Instance.");
  const std::wstring helperArgs = L"mutex " + Widen(name);
  Win32System system;

  ASSERT_TRUE(system.AcquireSingleInstance(name));
  EXPECT_EQ(RunHelper(helperArgs), 1) << "a second Keyvane must see the first";
  // A second attempt in the same process fails too, and must not drop the mutex it holds.
  EXPECT_FALSE(system.AcquireSingleInstance(name));
  EXPECT_EQ(RunHelper(helperArgs), 1);

  system.ReleaseSingleInstance();
  EXPECT_EQ(RunHelper(helperArgs), 0) << "released: the next Keyvane may start";
  EXPECT_TRUE(system.AcquireSingleInstance(name)) << "the helper's mutex went with its process";
  system.ReleaseSingleInstance();
  system.ReleaseSingleInstance();  // releasing twice is harmless
}

TEST(SingleInstanceTest, EndsWithTheSystemObject) {
  const std::string name = Unique("Keyvane.Test.Scope.");
  {
    Win32System system;
    ASSERT_TRUE(system.AcquireSingleInstance(name));
  }
  EXPECT_EQ(RunHelper(L"mutex " + Widen(name)), 0);
}

TEST(AtomTest, SameNameGivesSameAtomVisibleToOtherProcesses) {
  Win32System system;
  const std::string name = Unique("KeyvaneTestAtom\xC3\x85\xE4\xB8\xAD");  // "Å中"
  const std::wstring wideName = Widen(name);

  const uint16_t first = system.AddAtom(name);
  const uint16_t second = system.AddAtom(name);
  ASSERT_GE(first, 0xC000) << "string atoms live in 0xC000..0xFFFF";
  EXPECT_EQ(first, second);
  EXPECT_EQ(::GlobalFindAtomW(wideName.c_str()), first);
  EXPECT_EQ(RunHelper(L"findatom " + wideName), 0);

  // Added twice, so it takes two deletions to go.
  system.DeleteAtom(first);
  EXPECT_EQ(::GlobalFindAtomW(wideName.c_str()), first);
  system.DeleteAtom(second);
  EXPECT_EQ(::GlobalFindAtomW(wideName.c_str()), 0);
  EXPECT_EQ(RunHelper(L"findatom " + wideName), 1);
}

// A scratch key under HKCU\Software, removed afterwards.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    keyPath_ = Unique("Software\\Keyvane Tests\\run");
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Widen(keyPath_).c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, key_.put(), nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    key_.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Widen(keyPath_).c_str());
    // Fails while another test process still has its key there, which is as it should be.
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Keyvane Tests");
  }
  // Raw bytes, so tests can store data without a terminating NUL or of odd length.
  void SetRaw(const wchar_t* name, DWORD type, const void* data, size_t bytes) {
    ASSERT_EQ(::RegSetValueExW(key_.get(), name, 0, type, static_cast<const BYTE*>(data),
                               static_cast<DWORD>(bytes)),
              ERROR_SUCCESS);
  }
  void SetString(const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ) {
    SetRaw(name, type, value.c_str(), (value.size() + 1) * sizeof(wchar_t));
  }
  platform::RegistryRead Read(const std::string& valueName) {
    return system_.ReadRegistryString(RegistryHive::CurrentUser, keyPath_, valueName);
  }

  Win32System system_;
  std::string keyPath_;
  UniqueHKey key_;
};

TEST_F(RegistryTest, ReadsStringsOfEveryShape) {
  SetString(L"", L"the default");
  SetString(L"Plain", L"C:\\Keyvane\\Keyvane.exe");
  SetString(L"Expand", L"%WINDIR%\\notepad.exe", REG_EXPAND_SZ);
  SetString(L"Empty", L"");
  SetString(L"Unicode", L"Gr\u00F6\u00DFe \u4E2D \U0001F600");
  const std::wstring longValue(20000, L'k');
  SetString(L"Long", longValue);
  const std::wstring unterminated = L"no terminator";
  SetRaw(L"Unterminated", REG_SZ, unterminated.data(), unterminated.size() * sizeof(wchar_t));
  // Odd byte count: the half unit at the end is not a character.
  SetRaw(L"Odd", REG_SZ, L"abc", 5);
  const wchar_t embedded[] = L"first\0second";
  SetRaw(L"Embedded", REG_SZ, embedded, sizeof(embedded));

  EXPECT_EQ(Read("").value, "the default");
  EXPECT_EQ(Read("Plain").value, "C:\\Keyvane\\Keyvane.exe");
  EXPECT_EQ(Read("Expand").value, "%WINDIR%\\notepad.exe") << "read as stored, not expanded";
  EXPECT_EQ(Read("Empty").value, "");
  EXPECT_EQ(Read("Unicode").value,
            "Gr\xC3\xB6\xC3\x9F"
            "e \xE4\xB8\xAD \xF0\x9F\x98\x80");
  EXPECT_EQ(Read("Long").value, std::string(20000, 'k'));
  EXPECT_EQ(Read("Unterminated").value, "no terminator");
  EXPECT_EQ(Read("Odd").value, "ab");
  EXPECT_EQ(Read("Embedded").value, "first");
  EXPECT_TRUE(Read("Plain").keyOpened);
}

TEST_F(RegistryTest, MissingOrNonStringValueOpensTheKeyButHasNoValue) {
  const DWORD number = 42;
  SetRaw(L"Number", REG_DWORD, &number, sizeof(number));

  for (const char* name : {"Missing", "Number", ""}) {
    const platform::RegistryRead read = Read(name);
    EXPECT_TRUE(read.keyOpened) << name;
    EXPECT_FALSE(read.value.has_value()) << name;
  }
}

TEST_F(RegistryTest, MissingKeyIsNotOpened) {
  const platform::RegistryRead read =
      system_.ReadRegistryString(RegistryHive::CurrentUser, keyPath_ + "\\Nowhere", "Plain");
  EXPECT_FALSE(read.keyOpened);
  EXPECT_FALSE(read.value.has_value());
}

TEST(RegistryWellKnownTest, ReadsTheUserStartupFolder) {
  Win32System system;
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  for (const std::string& spelling : {key, "\\" + key}) {
    const platform::RegistryRead read =
        system.ReadRegistryString(RegistryHive::CurrentUser, spelling, "Startup");
    ASSERT_TRUE(read.keyOpened) << spelling;
    ASSERT_TRUE(read.value.has_value()) << spelling;
    EXPECT_TRUE(EqualsIgnoringCase(read.value->substr(read.value->size() - 8), "\\startup"))
        << *read.value;
  }
}

TEST(RegistryWellKnownTest, ReadsMachineKeys) {
  Win32System system;
  const platform::RegistryRead read = system.ReadRegistryString(
      RegistryHive::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot");
  ASSERT_TRUE(read.keyOpened);
  ASSERT_TRUE(read.value.has_value());
  EXPECT_TRUE(EqualsIgnoringCase(*read.value, system.WindowsDirectory())) << *read.value;
}

TEST(VersionTest, ReportsTheNtFamily) {
  Win32System system;
  const platform::OsVersion version = system.Version();
  ASSERT_TRUE(version.ok);
  EXPECT_EQ(version.platformId, platform::kPlatformWin32Nt);
  // A fresh test prefix reports Windows 7 Service Pack 1.
  EXPECT_EQ(version.major, 6u);
  EXPECT_EQ(version.minor, 1u);
  EXPECT_EQ(version.servicePack, "Service Pack 1");
}

TEST(FoldersTest, WindowsDirectoryIsTheSystemRoot) {
  Win32System system;
  const std::string windows = system.WindowsDirectory();
  EXPECT_EQ(windows.find('\0'), std::string::npos);
  ASSERT_FALSE(windows.empty());
  EXPECT_NE(windows.back(), '\\');
  EXPECT_TRUE(EqualsIgnoringCase(windows, system.EnvironmentVariable("WINDIR").value_or("")));
  const DWORD attributes = ::GetFileAttributesW(Widen(windows).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FoldersTest, ModuleFileNameIsThisExecutable) {
  Win32System system;
  const std::string path = system.ModuleFileName();
  ASSERT_GT(path.size(), 21u);
  EXPECT_TRUE(EqualsIgnoringCase(path.substr(path.size() - 21), "\\keyvane_wintests.exe")) << path;
  EXPECT_NE(::GetFileAttributesW(Widen(path).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(EnvironmentTest, DistinguishesMissingEmptyAndLongValues) {
  Win32System system;
  const std::wstring prefix = Widen(Unique("KEYVANE_TEST_"));
  const std::wstring unicode = L"C:\\Program Files\\K\u00E9yvane \u4E2D";
  const std::wstring longValue(5000, L'v');
  ASSERT_TRUE(::SetEnvironmentVariableW((prefix + L"U").c_str(), unicode.c_str()));
  ASSERT_TRUE(::SetEnvironmentVariableW((prefix + L"L").c_str(), longValue.c_str()));
  ASSERT_TRUE(::SetEnvironmentVariableW((prefix + L"E").c_str(), L""));

  EXPECT_EQ(system.EnvironmentVariable(Narrow(prefix + L"U")), Narrow(unicode));
  EXPECT_EQ(system.EnvironmentVariable(Narrow(prefix + L"L")), std::string(5000, 'v'));
  EXPECT_EQ(system.EnvironmentVariable(Narrow(prefix + L"E")), std::string());
  EXPECT_EQ(system.EnvironmentVariable(Narrow(prefix + L"MISSING")), std::nullopt);

  for (const wchar_t* suffix : {L"U", L"L", L"E"}) {
    ::SetEnvironmentVariableW((prefix + suffix).c_str(), nullptr);
  }
}

TEST(TimeTest, TickCountAdvancesInMilliseconds) {
  Win32System system;
  const uint64_t before = system.TickCountMs();
  ::Sleep(50);
  const uint64_t after = system.TickCountMs();
  EXPECT_GE(after - before, 30u);
  EXPECT_LT(after - before, 5000u);
}

}  // namespace
}  // namespace kv::win32

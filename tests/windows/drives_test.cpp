// Drive kinds and the 64-bit file-system redirection against the real API, as a 64-bit
// Keyvane (or a 32-bit one, when built so) sees them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/services/win32_files.h"
#include "platform/win32/services/win32_wow64.h"

namespace kv::win32 {
namespace {

TEST(DriveTypeTest, SystemDriveIsFixedAndUnmappedLettersHaveNoRoot) {
  Win32Files files;
  EXPECT_EQ(files.DriveType("C:\\"), static_cast<unsigned>(DRIVE_FIXED));

  const DWORD mapped = ::GetLogicalDrives();
  char unmapped = 0;
  for (char letter = 'Y'; letter >= 'D' && unmapped == 0; --letter)
    if ((mapped & (1u << (letter - 'A'))) == 0) unmapped = letter;
  ASSERT_NE(unmapped, 0) << "every drive letter is in use";
  EXPECT_EQ(files.DriveType(std::string(1, unmapped) + ":\\"), static_cast<unsigned>(DRIVE_NO_ROOT_DIR));
}

TEST(DriveTypeTest, AgreesWithTheSystemForEveryMappedDrive) {
  Win32Files files;
  const DWORD mapped = ::GetLogicalDrives();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if ((mapped & (1u << (letter - 'A'))) == 0) continue;
    const std::wstring root = std::wstring(1, static_cast<wchar_t>(letter)) + L":\\";
    SCOPED_TRACE(std::string(1, letter));
    EXPECT_EQ(files.DriveType(std::string(1, letter) + ":\\"), ::GetDriveTypeW(root.c_str()));
  }
}

#ifdef _WIN64
TEST(Wow64Test, SixtyFourBitProcessFindsTheFolderAndHasNoRedirectionToSwitchOff) {
  Win32Wow64 wow64;
  const platform::Wow64Probe probe = wow64.ProbeSystemWow64Directory();
  EXPECT_TRUE(probe == platform::Wow64Probe::Succeeded || probe == platform::Wow64Probe::Failed)
      << "probe " << static_cast<int>(probe) << ": a 64-bit process counts as 64-bit Windows";

  // Nothing is redirected for a 64-bit process, so nothing is switched off.
  EXPECT_EQ(wow64.DisableRedirection(), std::nullopt);
  // Switching back what was never switched off does no harm, and files stay reachable.
  wow64.RevertRedirection(0);
  wchar_t system[MAX_PATH] = {};
  ASSERT_NE(::GetSystemDirectoryW(system, MAX_PATH), 0u);
  EXPECT_NE(::GetFileAttributesW((std::wstring(system) + L"\\kernel32.dll").c_str()),
            INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(wow64.DisableRedirection(), std::nullopt);
}
#else
TEST(Wow64Test, ThirtyTwoBitProcessSwitchesRedirectionOffOnlyOnSixtyFourBitWindows) {
  Win32Wow64 wow64;
  BOOL underWow64 = FALSE;
  ::IsWow64Process(::GetCurrentProcess(), &underWow64);
  const platform::Wow64Probe probe = wow64.ProbeSystemWow64Directory();
  const std::optional<uintptr_t> old = wow64.DisableRedirection();
  if (underWow64) {
    EXPECT_EQ(probe, platform::Wow64Probe::Succeeded);
    ASSERT_TRUE(old.has_value());
    wow64.RevertRedirection(*old);
  } else {
    EXPECT_NE(probe, platform::Wow64Probe::Succeeded);
    EXPECT_EQ(old, std::nullopt);
  }
}
#endif

}  // namespace
}  // namespace kv::win32

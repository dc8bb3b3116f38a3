// The file helpers behind the run-at-startup shortcut: folder paths ending in a backslash,
// testing and deleting files that a 32-bit process sees only with the 64-bit file-system
// redirection off, reading a shortcut's target, and telling 64-bit Windows apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/file_redirection.h"
#include "app/form.h"
#include "core/error.h"
#include "tests/fakes/fake_platform.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using platform::Wow64Probe;

TEST(CheckPath, EndsAFolderPathWithOneBackslash) {
  EXPECT_EQ(CheckPath("C:\\WINDOWS"), "C:\\WINDOWS\\");
  EXPECT_EQ(CheckPath("C:\\WINDOWS\\"), "C:\\WINDOWS\\");
  EXPECT_EQ(CheckPath(""), "");
  EXPECT_EQ(CheckPath("C:"), "C:\\");
  EXPECT_EQ(CheckPath("\\\\server\\share"), "\\\\server\\share\\");
}

class RedirectedFiles : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  platform::Platform& P() { return fp.platform(); }
  const std::string system32 = "C:\\WINDOWS\\System32\\Keyvane.lnk";

  void SetUp() override { fp.wow64Probe = Wow64Probe::Succeeded; }
};

TEST_F(RedirectedFiles, AFileSeenNormallyNeedsNoRedirectionChange) {
  fp.files[system32] = "x";
  for (bool is64 : {false, true}) {
    EXPECT_TRUE(nFileExists(P(), is64, system32));
  }
  EXPECT_TRUE(fp.log.empty());
  EXPECT_TRUE(nDeleteFile(P(), true, system32));
  EXPECT_EQ(fp.log, std::vector<std::string>{"delete " + system32});
  EXPECT_FALSE(fp.HasFile(system32));
}

TEST_F(RedirectedFiles, On64BitWindowsAFileIsLookedForAgainWithRedirectionOff) {
  fp.redirectedFiles.insert(system32);
  EXPECT_TRUE(nFileExists(P(), true, system32));
  EXPECT_EQ(fp.log, (std::vector<std::string>{"redirection off", "redirection on"}));
  EXPECT_FALSE(fp.redirectionOff) << "redirection is switched back on";
}

TEST_F(RedirectedFiles, On64BitWindowsAFileIsDeletedWithRedirectionOff) {
  fp.redirectedFiles.insert(system32);
  EXPECT_TRUE(nDeleteFile(P(), true, system32));
  EXPECT_EQ(fp.log, (std::vector<std::string>{"delete " + system32, "redirection off",
                                              "delete " + system32, "redirection on"}));
  EXPECT_TRUE(fp.redirectedFiles.empty());
  EXPECT_FALSE(fp.redirectionOff);
}

TEST_F(RedirectedFiles, RedirectionIsSwitchedBackAlsoWhenTheSecondAttemptFails) {
  EXPECT_FALSE(nFileExists(P(), true, system32));
  EXPECT_FALSE(nDeleteFile(P(), true, system32));
  EXPECT_EQ(fp.log, (std::vector<std::string>{"redirection off", "redirection on",
                                              "delete " + system32, "redirection off",
                                              "delete " + system32, "redirection on"}));
  EXPECT_FALSE(fp.redirectionOff);
}

TEST_F(RedirectedFiles, On32BitWindowsRedirectionIsNeverTouched) {
  fp.redirectedFiles.insert(system32);
  EXPECT_FALSE(nFileExists(P(), false, system32));
  EXPECT_FALSE(nDeleteFile(P(), false, system32));
  EXPECT_EQ(fp.log, std::vector<std::string>{"delete " + system32});
  EXPECT_EQ(fp.redirectedFiles.count(system32), 1u);
}

// ---- a shortcut's target ----

class ShortcutTarget : public RedirectedFiles {
 protected:
  const std::string link = "C:\\Startup\\Keyvane.lnk";
  void Link(const std::string& target) {
    fp.files[link] = "shortcut";
    fp.shortcuts[link].target = target;
  }
};

TEST_F(ShortcutTarget, AMissingShortcutGivesNothing) {
  EXPECT_EQ(CheckTarget(P(), false, link), "");
  EXPECT_EQ(CheckTarget(P(), true, link), "");
}

struct TargetCase {
  const char* target;
  const char* result;
};

class ShortcutTargetOf : public ShortcutTarget, public ::testing::WithParamInterface<TargetCase> {
 protected:
  void SetUp() override {
    ShortcutTarget::SetUp();
    fp.driveTypes["A:\\"] = 2;  // floppy
    fp.driveTypes["E:\\"] = 2;  // USB stick
    fp.driveTypes["F:\\"] = 4;  // network
    fp.driveTypes["G:\\"] = 5;  // CD-ROM
  }
};

TEST_P(ShortcutTargetOf, IsTheTargetAsReadUnlessItIsOnARemovableDrive) {
  Link(GetParam().target);
  EXPECT_EQ(CheckTarget(P(), false, link), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ShortcutTargetOf,
    ::testing::Values(
        TargetCase{"C:\\Program Files\\Keyvane\\keyvane.exe", "C:\\Program Files\\Keyvane\\keyvane.exe"},
        // Quotes are kept in the result; the drive is read inside them.
        TargetCase{"\"C:\\Program Files\\Keyvane\\keyvane.exe\"",
                   "\"C:\\Program Files\\Keyvane\\keyvane.exe\""},
        TargetCase{"\"E:\\Keyvane\\keyvane.exe\"", ""},
        TargetCase{"A:\\keyvane.exe", ""},
        TargetCase{"E:\\Keyvane\\keyvane.exe", ""},
        TargetCase{"F:\\Keyvane\\keyvane.exe", "F:\\Keyvane\\keyvane.exe"},
        TargetCase{"G:\\keyvane.exe", "G:\\keyvane.exe"},
        // Without a drive root there is nothing to test.
        TargetCase{"\\\\server\\share\\keyvane.exe", ""},
        TargetCase{"keyvane.exe", ""},
        TargetCase{":\\keyvane.exe", ""},
        TargetCase{"\"", ""},
        TargetCase{"\"\"", ""},
        TargetCase{"", ""}));

TEST_F(ShortcutTarget, AShortcutSeenOnlyWithRedirectionOffIsReadOn64BitWindows) {
  fp.redirectedFiles.insert(link);
  fp.shortcuts[link].target = "C:\\Keyvane\\keyvane.exe";
  EXPECT_EQ(CheckTarget(P(), true, link), "C:\\Keyvane\\keyvane.exe");
  EXPECT_EQ(CheckTarget(P(), false, link), "");
  EXPECT_FALSE(fp.redirectionOff);
}

TEST_F(ShortcutTarget, AnUnreadableShortcutIsAnError) {
  fp.files[link] = "garbage";  // present, but the shortcut component cannot read it
  EXPECT_THROW(CheckTarget(P(), false, link), KeyvaneError);
}

// ---- 64-bit Windows ----

struct ProbeCase {
  Wow64Probe probe;
  bool is64;
};

class Is64Bit : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(Is64Bit, FollowsTheProbeOfTheWow64SystemFolder) {
  fake::FakePlatform fp;
  fp.wow64Probe = GetParam().probe;
  EXPECT_EQ(OSisx64(fp.platform()), GetParam().is64);
  if (GetParam().probe == Wow64Probe::NoKernel32) {
    ASSERT_EQ(fp.messages.size(), 1u);
    EXPECT_EQ(fp.messages[0].text, "Kernel32 is not available");
  } else {
    EXPECT_TRUE(fp.messages.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Probes, Is64Bit,
                         ::testing::Values(ProbeCase{Wow64Probe::NoKernel32, false},
                                           ProbeCase{Wow64Probe::NoFunction, false},
                                           ProbeCase{Wow64Probe::Succeeded, true},
                                           ProbeCase{Wow64Probe::NotImplemented, false},
                                           ProbeCase{Wow64Probe::Failed, true}));

class Is64BitAtStartUp : public test::FormTest {};

TEST_F(Is64BitAtStartUp, TheWindowKeepsTheFlagFromItsCreation) {
  fp.wow64Probe = Wow64Probe::Succeeded;
  Create();
  EXPECT_TRUE(form->is64);
}

TEST_F(Is64BitAtStartUp, WithoutKernel32TheMessageIsShownAndStartUpGoesOn) {
  fp.wow64Probe = Wow64Probe::NoKernel32;
  Create();
  EXPECT_FALSE(form->is64);
  ASSERT_EQ(fp.messages.size(), 1u);
  EXPECT_EQ(fp.messages[0].text, "Kernel32 is not available");
  EXPECT_TRUE(form->KeysOn());
}

}  // namespace
}  // namespace kv

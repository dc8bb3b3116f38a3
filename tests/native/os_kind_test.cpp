// Which Windows Keyvane believes it runs on: every version report, through the classification
// and the OS kind that the rest of the program reads (F12 handling, games, paths).
#include <gtest/gtest.h>

#include <string>

#include "app/form.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using platform::kPlatformWin32Nt;
using platform::kPlatformWin32Windows;

struct VersionCase {
  const char* name;
  platform::OsVersion version;
  int info;    // the classification
  int osKind;  // what start-up keeps
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.name; }

const VersionCase kVersionCases[] = {
    {"GetVersionExFails", {false, kPlatformWin32Nt, 5, 1, ""}, -1, 0},
    {"Windows95", {true, kPlatformWin32Windows, 4, 0, ""}, 0, 1},
    {"Windows95OSR2", {true, kPlatformWin32Windows, 4, 0, " B"}, 0, 1},
    {"Windows98", {true, kPlatformWin32Windows, 4, 10, ""}, 1, 2},
    {"Windows98SecondEdition", {true, kPlatformWin32Windows, 4, 10, " A "}, 2, 2},
    {"Windows98ServicePackAOnlyTwoChars", {true, kPlatformWin32Windows, 4, 10, " A"}, 2, 2},
    {"Windows98AFirstCharOnly", {true, kPlatformWin32Windows, 4, 10, "A"}, 1, 2},
    {"Windows98ServicePackB", {true, kPlatformWin32Windows, 4, 10, " B"}, 1, 2},
    {"Windows98LowerCaseA", {true, kPlatformWin32Windows, 4, 10, " a"}, 1, 2},
    {"WindowsMe", {true, kPlatformWin32Windows, 4, 90, ""}, 3, 3},
    {"Windows9xUnknownMinor", {true, kPlatformWin32Windows, 4, 20, ""}, -1, 0},
    {"Windows9xMajorFive", {true, kPlatformWin32Windows, 5, 0, ""}, -1, 0},
    {"Nt351", {true, kPlatformWin32Nt, 3, 51, ""}, 4, 4},
    {"Nt40", {true, kPlatformWin32Nt, 4, 0, "Service Pack 6"}, 4, 4},
    {"Windows2000", {true, kPlatformWin32Nt, 5, 0, ""}, 5, 5},
    {"WindowsXp", {true, kPlatformWin32Nt, 5, 1, "Service Pack 3"}, 6, 6},
    {"Server2003", {true, kPlatformWin32Nt, 5, 2, ""}, 7, 7},
    {"Vista", {true, kPlatformWin32Nt, 6, 0, "Service Pack 2"}, 8, 8},
    {"Windows7", {true, kPlatformWin32Nt, 6, 1, ""}, -1, 0},
    {"Windows8", {true, kPlatformWin32Nt, 6, 2, ""}, -1, 0},
    {"Windows10", {true, kPlatformWin32Nt, 10, 0, ""}, -1, 0},
    {"NtFiveThree", {true, kPlatformWin32Nt, 5, 3, ""}, -1, 0},
    {"PlatformThreeLooksLikeXp", {true, 3, 5, 1, ""}, -1, 0},
    {"Win32sPlatformZero", {true, 0, 4, 0, ""}, -1, 0},
};

class OsKindTable : public ::testing::TestWithParam<VersionCase> {};

TEST_P(OsKindTable, ClassificationAndKind) {
  const VersionCase& c = GetParam();
  EXPECT_EQ(ClassifyOsVersion(c.version), c.info);
  EXPECT_EQ(OsKindFromInfo(ClassifyOsVersion(c.version)), c.osKind);
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, OsKindTable, ::testing::ValuesIn(kVersionCases),
                         [](const ::testing::TestParamInfo<VersionCase>& row) {
                           return std::string(row.param.name);
                         });

TEST(OsKindFromInfo, OutOfRangeResultsAreAnUnrecognisedVersion) {
  for (int info : {-2, -1, 9, 10, 100}) EXPECT_EQ(OsKindFromInfo(info), 0) << info;
}

// Start-up keeps the kind of the version the system reports.
class OsKindAtStartUp : public test::FormTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(OsKindAtStartUp, FormCreateKeepsTheKind) {
  fp.version = GetParam().version;
  Create();
  EXPECT_EQ(form->GetOSInfo(), GetParam().info);
  EXPECT_EQ(form->osKind, GetParam().osKind);
}

using OsReportAtStartUp = test::FormTest;

TEST_F(OsReportAtStartUp, FormCreateKeepsTheReportBesideKindZero) {
  fp.version = test::NtVersion(10, 0);
  Create();
  fp.version = test::NtVersion(5, 1);  // the report is read once, at start-up
  EXPECT_EQ(form->osKind, 0);
  EXPECT_TRUE(IsNtAfterVista(form->osVersion));
  EXPECT_EQ(form->osVersion.major, 10u);
}

INSTANTIATE_TEST_SUITE_P(SomeVersions, OsKindAtStartUp,
                         ::testing::Values(kVersionCases[0], kVersionCases[4], kVersionCases[12],
                                           kVersionCases[15], kVersionCases[18],
                                           kVersionCases[22]),
                         [](const ::testing::TestParamInfo<VersionCase>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// Kind 0 counts every Windows after Vista as unrecognised; the report itself tells them from a
// failed report and from unknown versions, which must keep what kind 0 always did.
TEST(IsNtAfterVista, OnlyAWindowsNtFromSixOneOnIsNewerThanVista) {
  using platform::kPlatformWin32Nt;
  using platform::kPlatformWin32Windows;
  for (const platform::OsVersion& v :
       {test::NtVersion(6, 1), test::NtVersion(6, 2), test::NtVersion(6, 3), test::NtVersion(10, 0),
        test::NtVersion(7, 0)}) {
    EXPECT_TRUE(IsNtAfterVista(v)) << v.major << "." << v.minor;
  }
  for (const platform::OsVersion& v :
       {test::NtVersion(6, 0), test::NtVersion(5, 3), test::NtVersion(5, 1), test::NtVersion(3, 51),
        platform::OsVersion{false, kPlatformWin32Nt, 10, 0, ""},
        platform::OsVersion{true, kPlatformWin32Windows, 6, 1, ""},
        platform::OsVersion{true, 3, 10, 0, ""}}) {
    EXPECT_FALSE(IsNtAfterVista(v)) << v.platformId << " " << v.major << "." << v.minor << " ok "
                                    << v.ok;
  }
}

TEST(OsKind, NamedClassesCoverTheRightKinds) {
  for (int kind = 0; kind <= 8; ++kind) {
    SCOPED_TRACE(kind);
    const OsKind os(kind);
    EXPECT_EQ(os.ReservesF12(), kind >= 5);  // Windows 2000, XP, Server 2003, Vista
    EXPECT_EQ(os.IsNtFamily(), kind >= 4);
    EXPECT_EQ(os.IsXpOrVista(), kind == 6 || kind == 8);
    EXPECT_EQ(os.IsVista(), kind == 8);
  }
}

}  // namespace
}  // namespace kv

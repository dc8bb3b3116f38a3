// RunAction: which effect each action code has — the actions that do nothing, the control
// panel pages, sleep and the session actions, switching the keys off and on, and the menu
// toggle — and how an action's error reaches the user.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "actions/power.h"
#include "app/form.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;
using test::KeySection;

// Everything the simulated Windows can be made to do by an action.
struct Effects {
  size_t log = 0, started = 0, shellExecutes = 0, winExecs = 0, keyEvents = 0, messages = 0,
         errors = 0, balloons = 0, inputBoxes = 0, trayMenus = 0, suspendCalls = 0,
         exitCalls = 0;
  int clicks = 0, writes = 0, linkApiCalls = 0, privilegeRequests = 0;
  std::optional<std::string> clipboard;
  bool operator==(const Effects&) const = default;
};

class Dispatch : public FormTest {
 protected:
  Effects Snapshot() const {
    Effects e;
    e.log = fp.log.size();
    e.started = fp.started.size();
    e.shellExecutes = fp.shellExecutes.size();
    e.winExecs = fp.winExecs.size();
    e.keyEvents = fp.keyEvents.size();
    e.messages = fp.messages.size();
    e.errors = fp.errors.size();
    e.balloons = fp.balloons.size();
    e.inputBoxes = fp.inputBoxes.size();
    e.trayMenus = fp.trayMenusShown.size();
    e.suspendCalls = fp.suspendCalls.size();
    e.exitCalls = fp.exitFlags.size();
    e.clicks = fp.clicksPosted;
    e.writes = fp.writes;
    e.linkApiCalls = fp.linkApiCalls;
    e.privilegeRequests = fp.privilegeRequests;
    e.clipboard = fp.clipboard;
    return e;
  }
};

// ---- actions without an effect ----

class InertCode : public Dispatch, public ::testing::WithParamInterface<int> {};

TEST_P(InertCode, DoesNothingAndShowsNothing) {
  WriteSettings(test::FullSettingsText());
  Create();
  fp.clipboard = "kept";
  const Effects before = Snapshot();
  const bool keysOn = form->KeysOn();
  const bool toggle = form->menuToggle;
  // Data is ignored, even text that another action would run or paste.
  for (const char* data : {"", "C:\\x\\run.exe", "1C", "%SEARCHTERM%"}) form->RunAction(GetParam(), data);
  EXPECT_EQ(Snapshot(), before) << "last effect: " << (fp.log.empty() ? "" : fp.log.back());
  EXPECT_EQ(form->KeysOn(), keysOn);
  EXPECT_EQ(form->menuToggle, toggle);
  EXPECT_EQ(form->searchTerm, "");
}

INSTANTIATE_TEST_SUITE_P(SeparatorsSelectOneRemoveAndUnknown, InertCode,
                         ::testing::Values(0, 1, 9, 14, 21, 27, 30, 33, 36, 39, 40, -1, 41,
                                           INT_MIN, INT_MAX));

// ---- control-panel pages ----

struct PanelCase {
  int code;
  const char* commandLine;
};

class ControlPanelPage : public Dispatch, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(ControlPanelPage, StartsItsCommandLineShownAndWaitsForIt) {
  Create();
  form->osKind = 6;
  form->RunAction(GetParam().code, "C:\\ignored\\other.exe");
  ASSERT_EQ(fp.started, std::vector<std::string>{GetParam().commandLine});
  EXPECT_EQ(fp.startShowCommands, std::vector<int>{5});
  EXPECT_EQ(LogLines("wait "), std::vector<std::string>{"wait 1"});
  EXPECT_EQ(fp.openProcesses, 0) << "the process handles are closed once it has ended";
  EXPECT_TRUE(fp.shellExecutes.empty());
  EXPECT_TRUE(fp.winExecs.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Codes2To8, ControlPanelPage,
    ::testing::Values(PanelCase{2, "rundll32.exe shell32.dll,Control_RunDLL appwiz.cpl"},
                      PanelCase{3, "rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl"},
                      PanelCase{4, "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl"},
                      PanelCase{5, "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,2"},
                      PanelCase{6, "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl"},
                      PanelCase{7, "rundll32.exe shell32.dll,Control_RunDLL nusrmgr.cpl @1"},
                      PanelCase{8, "rundll32.exe shell32.dll,Control_RunDLL powercfg.cpl,,2"}));

TEST_F(Dispatch, NetworkConnectionsPageFollowsTheOsKindOnlyNotThe64BitFlag) {
  // Kind 0 here is a Windows 9x that Keyvane does not know; a Windows after Vista is below.
  fp.version = {true, platform::kPlatformWin32Windows, 4, 20, ""};
  Create();
  for (bool is64 : {false, true}) {
    for (int kind = 0; kind <= 8; ++kind) {
      SCOPED_TRACE("kind " + std::to_string(kind) + (is64 ? " 64-bit" : " 32-bit"));
      fp.started.clear();
      form->osKind = kind;
      form->is64 = is64;
      form->RunAction(3, "");
      const std::string page = kind == 6 || kind == 8 ? "ncpa.cpl" : "netcpl.cpl";
      EXPECT_EQ(fp.started, std::vector<std::string>{"rundll32.exe shell32.dll,Control_RunDLL " + page});
    }
  }
}

TEST_F(Dispatch, NetworkConnectionsOnXpAsDetectedAtStartUp) {
  fp.version = test::NtVersion(5, 1);
  Create();
  form->RunAction(3, "");
  EXPECT_EQ(fp.started, std::vector<std::string>{"rundll32.exe shell32.dll,Control_RunDLL ncpa.cpl"});
}

// Every control-panel page on every version report. Kind 0 stands for Windows 7 and later but
// also for a failed report and an unknown Windows 9x: only a Windows NT after Vista gets the
// pages that exist there (ncpa.cpl for network connections, User Accounts by its name, since
// netcpl.cpl was Windows 9x's and nusrmgr.cpl is gone); every other kind keeps its pages.
struct PagesCase {
  const char* name;
  platform::OsVersion version;
  const char* networkPage;   // code 3
  const char* userAccounts;  // code 7, the whole command line
};

void PrintTo(const PagesCase& c, std::ostream* os) { *os << c.name; }

constexpr const char* kNusrmgr = "rundll32.exe shell32.dll,Control_RunDLL nusrmgr.cpl @1";
constexpr const char* kUserAccountsByName = "control.exe /name Microsoft.UserAccounts";

const PagesCase kPagesCases[] = {
    {"Windows95", {true, platform::kPlatformWin32Windows, 4, 0, ""}, "netcpl.cpl", kNusrmgr},
    {"Windows98", {true, platform::kPlatformWin32Windows, 4, 10, " A "}, "netcpl.cpl", kNusrmgr},
    {"WindowsMe", {true, platform::kPlatformWin32Windows, 4, 90, ""}, "netcpl.cpl", kNusrmgr},
    {"Nt4", test::NtVersion(4, 0), "netcpl.cpl", kNusrmgr},
    {"Windows2000", test::NtVersion(5, 0), "netcpl.cpl", kNusrmgr},
    {"WindowsXp", test::NtVersion(5, 1), "ncpa.cpl", kNusrmgr},
    {"Server2003", test::NtVersion(5, 2), "netcpl.cpl", kNusrmgr},
    {"Vista", test::NtVersion(6, 0), "ncpa.cpl", kNusrmgr},
    {"Windows7", test::NtVersion(6, 1), "ncpa.cpl", kUserAccountsByName},
    {"Windows8", test::NtVersion(6, 2), "ncpa.cpl", kUserAccountsByName},
    {"Windows10", test::NtVersion(10, 0), "ncpa.cpl", kUserAccountsByName},
    // Kind 0 as well, but not a Windows after Vista: as written.
    {"Unknown9x", {true, platform::kPlatformWin32Windows, 4, 20, ""}, "netcpl.cpl", kNusrmgr},
    {"FailedReport", {false, platform::kPlatformWin32Nt, 6, 1, ""}, "netcpl.cpl", kNusrmgr},
    {"NtFiveThree", test::NtVersion(5, 3), "netcpl.cpl", kNusrmgr},
    {"PlatformThree", {true, 3, 10, 0, ""}, "netcpl.cpl", kNusrmgr},
};

class PagesOnVersion : public Dispatch, public ::testing::WithParamInterface<PagesCase> {};

TEST_P(PagesOnVersion, NetworkAndUserAccountsFollowTheVersionTheOtherPagesStay) {
  fp.version = GetParam().version;
  Create();
  for (int code = 2; code <= 8; ++code) form->RunAction(code, "");
  const std::string panel = "rundll32.exe shell32.dll,Control_RunDLL ";
  EXPECT_EQ(fp.started, (std::vector<std::string>{
                            panel + "appwiz.cpl", panel + GetParam().networkPage,
                            panel + "sysdm.cpl", panel + "desk.cpl,,2", panel + "inetcpl.cpl",
                            GetParam().userAccounts, panel + "powercfg.cpl,,2"}));
  EXPECT_EQ(fp.startShowCommands, std::vector<int>(7, 5));
  EXPECT_EQ(fp.openProcesses, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, PagesOnVersion, ::testing::ValuesIn(kPagesCases),
                         [](const ::testing::TestParamInfo<PagesCase>& row) {
                           return std::string(row.param.name);
                         });

TEST_F(Dispatch, KindsOneToEightKeepTheirPagesWhateverTheVersionSays) {
  fp.version = test::NtVersion(10, 0);
  Create();
  for (int kind = 1; kind <= 8; ++kind) {
    SCOPED_TRACE("kind " + std::to_string(kind));
    fp.started.clear();
    form->osKind = kind;
    form->RunAction(3, "");
    form->RunAction(7, "");
    const std::string page = kind == 6 || kind == 8 ? "ncpa.cpl" : "netcpl.cpl";
    EXPECT_EQ(fp.started, (std::vector<std::string>{
                              "rundll32.exe shell32.dll,Control_RunDLL " + page, kNusrmgr}));
  }
}

TEST_F(Dispatch, APressedKeyRunsItsStoredActionWithItsStoredFile) {
  WriteSettings(KeySection("F5Key", "System", 4, "C:\\stale\\file.exe") +
                KeySection("F6Key", "Notes", 10, "C:\\x\\run.bat"));
  Create();
  PressHotKey("F5Key");
  PressHotKey("F6Key");
  EXPECT_EQ(fp.started, (std::vector<std::string>{"rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl",
                                                   "C:\\x\\run.bat"}));
}

// ---- sleep and hibernation ----

TEST_F(Dispatch, SleepAndHibernateShareOneLookUpOfSetSuspendState) {
  Create();
  form->RunAction(15, "");
  form->RunAction(15, "");
  form->RunAction(16, "");
  EXPECT_EQ(fp.suspendCalls, (std::vector<std::string>{"000", "000", "100"}));
  EXPECT_EQ(fp.linkApiCalls, 1);
  EXPECT_EQ(LogLines("link "), std::vector<std::string>{"link POWRPROF.dll!SetSuspendState"});
  EXPECT_TRUE(fp.messages.empty());
}

TEST_F(Dispatch, AFailedLookUpIsTriedAgainAtTheNextUse) {
  Create();
  fp.hasSuspendState = false;
  form->RunAction(15, "");
  EXPECT_TRUE(fp.suspendCalls.empty());
  EXPECT_EQ(fp.linkApiCalls, 1);
  EXPECT_TRUE(fp.messages.empty());
  EXPECT_TRUE(fp.errors.empty());

  fp.hasSuspendState = true;
  form->RunAction(16, "");
  EXPECT_EQ(fp.linkApiCalls, 2);
  EXPECT_EQ(fp.suspendCalls, std::vector<std::string>{"100"});
  form->RunAction(15, "");
  EXPECT_EQ(fp.linkApiCalls, 2) << "a successful look-up is kept";
}

// Windows after Vista suspend only a program whose shutdown privilege is enabled; the privilege
// is asked for first there, and nowhere else.
TEST_F(Dispatch, SleepAsksForTheShutdownPrivilegeFirstOnWindowsAfterVistaOnly) {
  for (const auto& [version, asks] : {std::pair{test::NtVersion(6, 1), true}, {test::NtVersion(10, 0), true},
                                     {test::NtVersion(6, 0), false}, {test::NtVersion(5, 1), false},
                                     {platform::OsVersion{true, platform::kPlatformWin32Windows, 4, 10, ""}, false}}) {
    SCOPED_TRACE(std::to_string(version.major) + "." + std::to_string(version.minor));
    fake::FakePlatform::HeldMutexes().clear();
    fp.version = version;
    Create();
    for (int code : {15, 16}) {
      const auto mark = EffectsMark();
      form->RunAction(code, "");
      std::vector<std::string> expected;
      if (asks) expected.push_back("shutdown privilege");
      if (code == 15 && LogLines("link ").size() == 1) expected.push_back("link POWRPROF.dll!SetSuspendState");
      expected.push_back(code == 15 ? "suspend sleep" : "suspend hibernate");
      EXPECT_EQ(EffectsSince(mark), expected) << code;
    }
    fp.log.clear();
  }
}

// ---- log off, reboot, shut down ----

struct SessionCase {
  int code;
  unsigned flags;
};

class SessionAction : public Dispatch, public ::testing::WithParamInterface<SessionCase> {};

TEST_P(SessionAction, PassesItsExitFlagsWithThePrivilegeOnNt) {
  fp.version = test::NtVersion(5, 1);
  Create();
  form->RunAction(GetParam().code, "");
  EXPECT_EQ(fp.exitFlags, std::vector<unsigned>{GetParam().flags});
  EXPECT_EQ(fp.privilegeRequests, 1);
  EXPECT_TRUE(fp.messages.empty());
}

TEST_P(SessionAction, PassesItsExitFlagsWithoutAPrivilegeOnWindows9x) {
  fp.version = {true, platform::kPlatformWin32Windows, 4, 10, " A "};
  Create();
  form->RunAction(GetParam().code, "");
  EXPECT_EQ(fp.exitFlags, std::vector<unsigned>{GetParam().flags});
  EXPECT_EQ(fp.privilegeRequests, 0);
}

// Shut Down Hung Computer forces only programs that do not respond (0x10), never all (0x4).
INSTANTIATE_TEST_SUITE_P(Codes17To20, SessionAction,
                         ::testing::Values(SessionCase{17, 0x0}, SessionCase{18, 0x2},
                                           SessionCase{19, 0x1}, SessionCase{20, 0x11}));

// On Windows after Vista a shutdown without EWX_POWEROFF (0x8) stops where the power may be
// switched off and leaves it on: both shut-down actions ask for the power to go off there.
TEST_F(Dispatch, ShutDownSwitchesThePowerOffOnWindowsAfterVista) {
  for (const auto& version : {test::NtVersion(6, 1), test::NtVersion(10, 0)}) {
    fake::FakePlatform::HeldMutexes().clear();
    fp.exitFlags.clear();
    fp.version = version;
    Create();
    for (int code : {17, 18, 19, 20}) form->RunAction(code, "");
    EXPECT_EQ(fp.exitFlags, (std::vector<unsigned>{0x0, 0x2, 0x9, 0x19})) << version.major;
  }
}

// Power calls of the fake, with the privilege request entered in the effect log too.
class LoggedPower final : public platform::Power {
 public:
  explicit LoggedPower(fake::FakePlatform& fp) : fp_(fp) {}
  uintptr_t LinkApi(const std::string& m, const std::string& f) override { return fp_.LinkApi(m, f); }
  bool CallSetSuspendState(uintptr_t e, bool h, bool f, bool d) override {
    return fp_.CallSetSuspendState(e, h, f, d);
  }
  bool EnableShutdownPrivilege() override {
    fp_.log.push_back("privilege");
    return fp_.EnableShutdownPrivilege();
  }
  bool ExitSession(unsigned flags) override {
    fp_.log.push_back("exit " + std::to_string(flags));
    return fp_.ExitSession(flags);
  }

 private:
  fake::FakePlatform& fp_;
};

TEST(SessionEnd, ThePrivilegeIsEnabledBeforeWindowsIsAskedToEndTheSession) {
  fake::FakePlatform fp;
  LoggedPower power(fp);
  platform::Platform& p = fp.platform();
  platform::Platform bundle{p.system, p.files, p.ansi, p.hotKeys, p.tray, p.dialogs,
                            p.app,    p.wow64, p.processes, power, p.keyboard, p.shortcuts,
                            p.printing, p.help};
  EXPECT_TRUE(MyExitWindows(bundle, kExitReboot));
  EXPECT_EQ(fp.log, (std::vector<std::string>{"privilege", "exit 2"}));
}

// ---- switching the keys ----

TEST_F(Dispatch, DisableEnableKeysTogglesWithABalloonEachTime) {
  WriteSettings(KeySection("F1Key", "Mail", 13) + KeySection("HomeKey", "Web", 12, "x"));
  Create();
  const auto registeredAtStart = Registered();
  ASSERT_EQ(registeredAtStart, RegistrationsOf({"F1Key", "HomeKey"}));

  form->RunAction(35, "");
  EXPECT_FALSE(form->KeysOn());
  EXPECT_TRUE(Registered().empty());
  EXPECT_EQ(fp.trayImage, 0);
  EXPECT_FALSE(SavedSettings().ReadBool("Keys", "Enabled", true));

  form->RunAction(35, "");
  EXPECT_TRUE(form->KeysOn());
  EXPECT_EQ(Registered(), registeredAtStart);
  EXPECT_EQ(fp.trayImage, 1);
  EXPECT_TRUE(SavedSettings().ReadBool("Keys", "Enabled", false));

  ASSERT_EQ(fp.balloons.size(), 2u);
  EXPECT_EQ(fp.balloons[0].text, "Keys Disabled");
  EXPECT_EQ(fp.balloons[1].text, "Keys Enabled");
}

TEST_F(Dispatch, DisableEnableKeysSwitchesOnWhenStartedOff) {
  WriteSettings("[Keys]\r\nEnabled=0\r\n\r\n" + KeySection("F1Key", "Mail", 13));
  Create();
  form->RunAction(35, "");
  EXPECT_TRUE(form->KeysOn());
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key"}));
  ASSERT_EQ(fp.balloons.size(), 1u);
  EXPECT_EQ(fp.balloons[0].text, "Keys Enabled");
}

// ---- the menu toggle ----

TEST_F(Dispatch, ShowMenuAlternatesBetweenOpeningTheMenuAndPostingAClick) {
  fp.screenSize = {1280, 1024};
  Create();
  form->RunAction(38, "");
  EXPECT_EQ(fp.trayMenusShown, (std::vector<std::pair<int, int>>{{1280, 1024}}));
  EXPECT_EQ(fp.clicksPosted, 0);

  form->RunAction(38, "");
  EXPECT_EQ(fp.trayMenusShown.size(), 1u);
  EXPECT_EQ(fp.clicksPosted, 1);

  form->RunAction(38, "");
  EXPECT_EQ(fp.trayMenusShown.size(), 2u);
  EXPECT_EQ(fp.clicksPosted, 1);
}

TEST_F(Dispatch, ShowMenuPressedWhileTheMenuIsOpenFlipsTheToggleInside) {
  WriteSettings(KeySection("InsKey", "Menu", 38));
  Create();
  int pressesInMenu = 0;
  fp.onTrayMenu = [&] {
    if (pressesInMenu++ == 0) PressHotKey("InsKey");
  };
  PressHotKey("InsKey");
  EXPECT_EQ(fp.trayMenusShown.size(), 1u);
  EXPECT_EQ(fp.clicksPosted, 1);
  EXPECT_LT(LogIndex("tray menu 1024,768"), LogIndex("post click"));
  // Both presses have flipped it: the next press opens the menu again.
  PressHotKey("InsKey");
  EXPECT_EQ(fp.trayMenusShown.size(), 2u);
}

// ---- errors ----

TEST_F(Dispatch, AnActionErrorReachesTheErrorBoxAndLaterKeysStillWork) {
  RouteErrorsToErrorBox();
  WriteSettings(KeySection("F1Key", "Notes", 32, "C:\\missing\\notes.txt") +
                KeySection("F2Key", "Web", 12, "example.com"));
  Create();
  PressHotKey("F1Key");
  ASSERT_EQ(fp.errors.size(), 1u);
  EXPECT_NE(fp.errors[0].find("C:\\missing\\notes.txt"), std::string::npos) << fp.errors[0];
  EXPECT_TRUE(fp.keyEvents.empty());

  PressHotKey("F2Key");
  EXPECT_EQ(fp.shellExecutes, std::vector<std::string>{"open|http://example.com|||5|owned"});
  EXPECT_EQ(fp.errors.size(), 1u);
}

}  // namespace
}  // namespace kv

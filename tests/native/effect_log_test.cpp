// The simulated Windows's effect log: every effect lands in it once, in call order, under its
// service; what only looks or what Windows refuses leaves no line; and a test can ask that a
// step of the program had exactly the effects it lists, or none.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "actions/exec.h"
#include "core/error.h"
#include "tests/fakes/fake_platform.h"
#include "tests/native/form_fixture.h"

namespace kv::fake {

void PrintTo(const Effect& effect, std::ostream* out) {
  *out << static_cast<int>(effect.service) << ": " << effect.line;
}

namespace {

TEST(FakeEffects, EveryServiceRecordsEachEffectOnceInCallOrder) {
  FakePlatform fp;
  fp.wow64Probe = platform::Wow64Probe::Succeeded;
  platform::Platform& p = fp.platform();

  p.system.AcquireSingleInstance("EffectLogTest");
  p.system.AddAtom("F1Key");
  p.hotKeys.Register(0xC000, 0, 0x70);
  p.tray.SetVisible(true);
  p.tray.SetImageIndex(1);
  p.tray.ShowBalloon("", "Keys Enabled", 10);
  p.app.SetTitle("Keyvane");
  p.files.ReplaceAtomically("C:\\k\\Keyvane.ini", "[Keys]");
  p.dialogs.ShowMessage("Sure?", "Keyvane", platform::mb::kYesNo);
  p.dialogs.ShowError("Bad");
  p.dialogs.InputBox("Search Term", "Find:", "");
  const uintptr_t process = p.processes.StartProcess("C:\\x\\tool.exe", 5);
  p.processes.WaitServingMessages(process);
  p.processes.CloseProcess(process);
  p.processes.ShellExec("open", "http://example.com", "", "", 1, false);
  p.processes.WinExec("calc.exe", 1);
  const uintptr_t entry = p.power.LinkApi("POWRPROF.dll", "SetSuspendState");
  p.power.CallSetSuspendState(entry, true, false, true);
  p.power.EnableShutdownPrivilege();
  p.power.ExitSession(0x11);
  p.keyboard.SendKeys({{0x11, 0, false}, {0x11, 0, true}});
  p.keyboard.SetClipboardText("hi");
  platform::ShortcutInfo link;
  link.target = "C:\\k\\keyvane.exe";
  p.shortcuts.Write("C:\\s\\Keyvane.lnk", link);
  const auto redirection = p.wow64.DisableRedirection();
  p.wow64.RevertRedirection(redirection.value_or(0));
  p.files.Delete("C:\\s\\Keyvane.lnk");
  p.app.ShowTrayMenuAt(10, 20);
  p.app.PostClickToMainWindow();
  p.app.Minimize();
  p.app.Restore();
  p.app.CloseMainWindow();
  p.app.Terminate();
  p.hotKeys.Unregister(0xC000);
  p.system.DeleteAtom(0xC000);
  p.tray.SetVisible(false);
  p.system.ReleaseSingleInstance();

  using S = Service;
  const std::vector<Effect> expected{
      {S::System, "mutex EffectLogTest"},
      {S::System, "add atom F1Key"},
      {S::HotKeys, "register 49152"},
      {S::Tray, "tray show"},
      {S::Tray, "tray image 1"},
      {S::Tray, "balloon Keys Enabled"},
      {S::Application, "title Keyvane"},
      {S::Files, "write C:\\k\\Keyvane.ini"},
      {S::Dialogs, "message Sure?"},
      {S::Dialogs, "error Bad"},
      {S::Dialogs, "input Search Term"},
      {S::Processes, "start C:\\x\\tool.exe"},
      {S::Processes, "wait 1"},
      {S::Processes, "ended 1"},
      {S::Processes, "close process 1"},
      {S::Processes, "shell open http://example.com"},
      {S::Processes, "winexec calc.exe"},
      {S::Power, "link POWRPROF.dll!SetSuspendState"},
      {S::Power, "suspend hibernate no-wake-events"},
      {S::Power, "shutdown privilege"},
      {S::Power, "end session 0x11"},
      {S::Keyboard, "key down 0x11 scan 0"},
      {S::Keyboard, "key up 0x11 scan 0"},
      {S::Clipboard, "clipboard hi"},
      {S::Shortcuts, "shortcut C:\\s\\Keyvane.lnk -> C:\\k\\keyvane.exe"},
      {S::Wow64, "redirection off"},
      {S::Wow64, "redirection on"},
      {S::Files, "delete C:\\s\\Keyvane.lnk"},
      {S::Application, "tray menu 10,20"},
      {S::Application, "post click"},
      {S::Application, "minimize"},
      {S::Application, "restore"},
      {S::Application, "close window"},
      {S::Application, "terminate"},
      {S::HotKeys, "unregister 49152"},
      {S::System, "delete atom 49152"},
      {S::Tray, "tray hide"},
      {S::System, "release mutex"},
  };
  EXPECT_EQ(fp.effects.entries(), expected);

  // The older line record keeps its lines, without the kinds it never held.
  const std::set<std::string> notInOlderRecord{
      "title Keyvane",      "close process 1",  "suspend hibernate no-wake-events",
      "shutdown privilege", "end session 0x11", "key down 0x11 scan 0",
      "key up 0x11 scan 0"};
  std::vector<std::string> older;
  for (const Effect& e : expected)
    if (!notInOlderRecord.count(e.line)) older.push_back(e.line);
  EXPECT_EQ(fp.log, older);
}

TEST(FakeEffects, LookingAndRefusedChangesLeaveNoLine) {
  FakePlatform fp;
  platform::Platform& p = fp.platform();
  fp.files["C:\\k\\a.kth"] = "x";
  fp.unwritable.insert("C:\\k\\Keyvane.ini");
  fp.clipboardBusy = true;

  p.system.Version();
  p.system.WindowsDirectory();
  p.system.ReadRegistryString(platform::RegistryHive::CurrentUser, test::kShellFoldersKey,
                              "Startup");
  p.system.ModuleFileName();
  p.system.EnvironmentVariable("TEMP");
  p.system.TickCountMs();
  p.files.ReadAll("C:\\k\\a.kth");
  p.files.Exists("C:\\k\\a.kth");
  p.files.List("C:\\k", "*.kth");
  p.files.DriveType("C:\\");
  p.ansi.FromUtf8(p.ansi.ToUtf8("caf\xE9"));
  p.keyboard.KeyScan('v');
  p.processes.FindAssociated("mail.exe", "C:\\");
  p.wow64.ProbeSystemWow64Directory();
  EXPECT_FALSE(p.wow64.DisableRedirection()) << "not on 64-bit Windows";
  p.app.ProcessMessages();
  EXPECT_THROW(p.shortcuts.Read("C:\\s\\none.lnk"), KeyvaneError);
  EXPECT_THROW(p.files.ReplaceAtomically("C:\\k\\Keyvane.ini", "x"), KeyvaneError);
  EXPECT_FALSE(p.keyboard.SetClipboardText("hi"));
  fp.shortcutComponentFails = true;
  EXPECT_THROW(p.shortcuts.Write("C:\\s\\Keyvane.lnk", {}), KeyvaneError);

  EXPECT_EQ(fp.effects.Lines(), std::vector<std::string>{});
  EXPECT_TRUE(fp.log.empty());
}

// The fake must find files as Windows does, or a program that compares names only from A to Z
// would pass its tests and still lose a file on Windows.
TEST(FakeFiles, NamesIgnoreCaseForEveryLetterAsOnWindows) {
  for (const auto& [a, b] : {std::pair{"Über", "über"}, {"ÄPFEL", "äpfel"}, {"ΣΟΦΙΑ", "σοφια"},
                             {"Σ", "ς"}, {"ДОМ", "дом"}, {"Ÿ", "ÿ"}, {"QUICK start", "quick START"}})
    EXPECT_TRUE(SameWindowsName(a, b)) << a << " / " << b;
  for (const auto& [a, b] : {std::pair{"STRASSE", "straße"}, {"Uber", "Über"}, {"ДОМ", "ДОМА"}, {"Σ", "Ζ"}})
    EXPECT_FALSE(SameWindowsName(a, b)) << a << " / " << b;

  FakePlatform fp;
  platform::FileSystem& files = fp.platform().files;
  fp.files["C:\\Kv\\Über.kth"] = "old";
  EXPECT_TRUE(files.Exists("c:\\kV\\über.KTH"));
  EXPECT_EQ(files.ReadAll("C:\\KV\\ÜBER.kth"), "old");
  files.ReplaceAtomically("C:\\kv\\über.kth", "new");
  EXPECT_EQ(fp.files, (std::map<std::string, std::string>{{"C:\\Kv\\Über.kth", "new"}}));
  EXPECT_EQ(files.List("c:\\KV", "*.KTH"), std::vector<std::string>{"Über.kth"});
  EXPECT_TRUE(files.Delete("C:\\kv\\ÜBER.KTH"));
  EXPECT_TRUE(fp.files.empty());
}

}  // namespace
}  // namespace kv::fake

namespace kv {
namespace {

using test::FormTest;

TEST_F(FormTest, AStartedProgramsHandlesAreClosedOnlyAfterItHasEnded) {
  const auto mark = EffectsMark();
  EXPECT_TRUE(Exec(fp.platform(), "C:\\x\\tool.exe", 5));
  EXPECT_EQ(EffectsSince(mark), (std::vector<std::string>{"start C:\\x\\tool.exe", "wait 1",
                                                          "ended 1", "close process 1"}));
}

TEST_F(FormTest, KeysWithoutAnActionAndUnknownHotKeysHaveNoEffectAtAll) {
  WriteSettings(test::FullSettingsText(0));
  Create();
  const auto mark = EffectsMark();
  for (const KeyInfo& key : kKeys) PressHotKey(key.section);
  form->OnHotKey(0xBEEF);
  EXPECT_TRUE(NoEffectsSince(mark));
}

}  // namespace
}  // namespace kv

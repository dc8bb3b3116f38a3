// Start-up of the main window: what FormCreate builds, the settings it reads and first saves,
// the quiet start through the Startup-folder shortcut, and the single-instance guard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/form.h"
#include "app/program.h"
#include "core/error.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;

constexpr const char* kBootText =
    "Keyvane has started.\r\n\r\nYou may start using your Designed Keys Now.\r\n\r\n"
    "Double-Click Here to view Keyvane";

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// ---- the window's state after FormCreate ----

using StartUp = FormTest;

TEST_F(StartUp, CaptionAndApplicationTitleSayNoThemeIsLoaded) {
  Create();
  EXPECT_EQ(form->caption(), "Keyvane - No Theme Loaded");
  EXPECT_EQ(fp.appTitle, "Keyvane - No Theme Loaded");
  EXPECT_EQ(form->ThemeLine->caption(), "");
}

TEST_F(StartUp, TrayIconShowsThePlainKeyWithoutABalloon) {
  Create();
  EXPECT_TRUE(fp.trayVisible);
  EXPECT_EQ(fp.trayImage, 1);
  EXPECT_TRUE(fp.balloons.empty());
}

TEST_F(StartUp, AtomsAreAddedInKeyOrderAndBecomeTheHotKeyIds) {
  Create();
  std::vector<std::string> expected;
  for (const KeyInfo& key : kKeys) expected.push_back("add atom " + std::string(key.atomName));
  EXPECT_EQ(LogLines("add atom "), expected);
  for (int i = 0; i < kKeyCount; ++i) {
    const std::string atom = Lower(std::string(KeyAt(i).atomName));
    ASSERT_EQ(fp.atoms.count(atom), 1u) << atom;
    EXPECT_EQ(form->hotKeyIds[static_cast<size_t>(i)], fp.atoms[atom]) << atom;
  }
}

TEST_F(StartUp, TheAtomIdsAreTheIdsThatAreRegistered) {
  WriteSettings(test::FullSettingsText());
  Create();
  std::set<uint32_t> registered;
  for (const auto& [id, keyCode] : fp.registeredHotKeys) registered.insert(id);
  const std::set<uint32_t> ids(form->hotKeyIds.begin(), form->hotKeyIds.end());
  EXPECT_EQ(ids.size(), static_cast<size_t>(kKeyCount));
  EXPECT_EQ(registered, ids);
}

TEST_F(StartUp, WindowsFolderEndsInOneBackslash) {
  Create();
  EXPECT_EQ(form->windowsFolder, "C:\\WINDOWS\\");

  fp.windowsDir = "D:\\WINNT\\";
  Create();
  EXPECT_EQ(form->windowsFolder, "D:\\WINNT\\");
}

TEST_F(StartUp, StartupFolderComesFromShellFoldersWithATrailingBackslash) {
  Create();
  EXPECT_EQ(form->startupFolder,
            "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\");
}

TEST_F(StartUp, StartupFolderAlreadyEndingInABackslashIsKept) {
  fp.registry[fake::RegistryPath(platform::RegistryHive::CurrentUser, test::kShellFoldersKey)]
             ["startup"] = "E:\\Profile\\Startup\\";
  Create();
  EXPECT_EQ(form->startupFolder, "E:\\Profile\\Startup\\");
}

TEST_F(StartUp, StartupFolderIsEmptyWhenShellFoldersHasNoStartupValue) {
  fp.registry[fake::RegistryPath(platform::RegistryHive::CurrentUser, test::kShellFoldersKey)]
      .clear();
  Create();
  EXPECT_EQ(form->startupFolder, "");
}

TEST_F(StartUp, StartupFolderFallsBackUnderTheWindowsFolderWhenShellFoldersCannotBeOpened) {
  fp.unopenableKeys.insert(
      fake::RegistryPath(platform::RegistryHive::CurrentUser, test::kShellFoldersKey));
  Create();
  EXPECT_EQ(form->startupFolder, "C:\\WINDOWS\\Startm~1\\Programs\\StartUp\\");
}

TEST_F(StartUp, StartupFolderFallsBackWhenShellFoldersDoesNotExist) {
  fp.registry.clear();
  fp.windowsDir = "C:\\WINNT";
  Create();
  EXPECT_EQ(form->startupFolder, "C:\\WINNT\\Startm~1\\Programs\\StartUp\\");
}

// ---- the settings ----

TEST_F(StartUp, WithoutASettingsFileTheDefaultsApply) {
  Create();
  EXPECT_FALSE(form->CheckBox1->checked());
  EXPECT_EQ(form->searchTerm, "");
  EXPECT_TRUE(form->KeysOn());
  EXPECT_EQ(form->BitBtn2->caption(), "ON");
  EXPECT_EQ(form->BitBtn2->font().color, 0x00BB00u);
  EXPECT_EQ(form->DisableKeys1->caption(), "Disable Keys");
  EXPECT_EQ(form->currentKey, "");
  // The theme list holds the theme files beside the executable; without any, the stored
  // default index 1 selects nothing.
  EXPECT_EQ(form->ComboBox3->count(), 0);
  EXPECT_EQ(form->ComboBox3->itemIndex(), -1);
  EXPECT_TRUE(fp.registeredHotKeys.empty());
}

TEST_F(StartUp, FirstSaveCreatesTheSettingsFileWithTheThreeGlobalSections) {
  Create();
  ASSERT_TRUE(SettingsExist());
  const IniDocument saved = SavedSettings();
  EXPECT_EQ(saved.SectionNames(), (std::vector<std::string>{"Keys", "Setting", "Theme"}));
  EXPECT_EQ(fp.FileText(SettingsFile()),
            "[Keys]\r\nEnabled=1\r\n\r\n"
            "[Setting]\r\nSearchTerm=\r\n\r\n"
            "[Theme]\r\nIndexofSelected=-1\r\n\r\n");
}

TEST_F(StartUp, DefaultThemeIndexOneIsKeptWhenThereAreThemeFiles) {
  fp.files[fp.Beside("Games.kth")] = "[F1Key]\r\nLabel=Play Hearts\r\n";
  fp.files[fp.Beside("Quick Start.kth")] = "[F1Key]\r\nLabel=Check Email\r\n";
  Create();
  EXPECT_EQ(form->ComboBox3->items(), (std::vector<std::string>{"Games", "Quick Start"}));
  EXPECT_EQ(form->ComboBox3->itemIndex(), 1);
  EXPECT_EQ(SavedSettings().ReadInteger("Theme", "IndexofSelected", 99), 1);
}

TEST_F(StartUp, StoredValuesAreReadAndSavedBackUnchanged) {
  fp.files[fp.Beside("A.kth")] = "";
  fp.files[fp.Beside("B.kth")] = "";
  fp.files[fp.Beside("C.kth")] = "";
  WriteSettings(
      "[Keys]\r\nEnabled=1\r\n\r\n"
      "[Setting]\r\nRunAtStartup=1\r\nSearchTerm=cheap flights\r\n\r\n"
      "[Theme]\r\nIndexofSelected=2\r\n\r\n");
  Create();
  EXPECT_TRUE(form->CheckBox1->checked());
  EXPECT_EQ(form->searchTerm, "cheap flights");
  EXPECT_EQ(form->ComboBox3->itemIndex(), 2);
  EXPECT_TRUE(form->KeysOn());

  const IniDocument saved = SavedSettings();
  EXPECT_TRUE(saved.ReadBool("Setting", "RunAtStartup", false));
  EXPECT_EQ(saved.ReadString("Setting", "SearchTerm", "?"), "cheap flights");
  EXPECT_EQ(saved.ReadInteger("Theme", "IndexofSelected", 99), 2);
  EXPECT_TRUE(saved.ReadBool("Keys", "Enabled", false));
}

TEST_F(StartUp, NamesInAnotherCaseAreFoundAndNotDuplicatedBySaving) {
  WriteSettings("[keys]\r\nenabled=0\r\n[SETTING]\r\nsearchterm=news\r\n");
  Create();
  EXPECT_FALSE(form->KeysOn());
  EXPECT_EQ(form->searchTerm, "news");
  const IniDocument saved = SavedSettings();
  EXPECT_EQ(saved.SectionNames(), (std::vector<std::string>{"keys", "SETTING", "Theme"}));
  EXPECT_FALSE(saved.ReadBool("Keys", "Enabled", true));
  EXPECT_EQ(saved.ReadString("Setting", "SearchTerm", ""), "news");
}

TEST_F(StartUp, UnreadableEnabledValueMeansKeysOn) {
  WriteSettings("[Keys]\r\nEnabled=no\r\n");
  Create();
  EXPECT_TRUE(form->KeysOn());
  EXPECT_TRUE(SavedSettings().ReadBool("Keys", "Enabled", false));
}

TEST_F(StartUp, KeyRecordsAndOtherSectionsSurviveTheStartUpSave) {
  const std::string full = test::FullSettingsText() + "[Notes]\r\nWho=me\r\n\r\n";
  WriteSettings(full);
  Create();
  const IniDocument saved = SavedSettings();
  for (const KeyInfo& key : kKeys) {
    EXPECT_EQ(saved.ReadString(key.section, "Label", ""), "Title " + std::string(key.section));
    EXPECT_EQ(saved.ReadInteger(key.section, "Action", 0), 13);
  }
  EXPECT_EQ(saved.ReadString("Notes", "Who", ""), "me");
}

// A settings file that cannot be written (a read-only file, or a folder the user may not write
// to) must not leave the keys dead while the button says "ON".
TEST_F(StartUp, ReadOnlySettingsWithRunAtStartupStillRegistersTheKeys) {
  WriteSettings("[Setting]\r\nRunAtStartup=1\r\n[F1Key]\r\nLabel=Mail\r\n");
  fp.unwritable.insert(SettingsFile());
  Build();
  try {
    form->FormCreate();
  } catch (const KeyvaneError&) {
    // shown by the error box; the program goes on
  }
  EXPECT_TRUE(form->KeysOn());
  EXPECT_EQ(form->DisableKeys1->caption(), "Disable Keys");
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key"}));
}

TEST_F(StartUp, UnreadableSettingsFileEndsCreationWithoutTouchingTheFile) {
  const std::string text = test::FullSettingsText();
  WriteSettings(text);
  fp.unreadable.insert(SettingsFile());
  Build();
  EXPECT_THROW(form->FormCreate(), KeyvaneError);
  EXPECT_EQ(fp.FileText(SettingsFile()), text);
  EXPECT_EQ(fp.writes, 0);
  EXPECT_TRUE(fp.registeredHotKeys.empty());
}

// ---- the quiet start through the Startup-folder shortcut ----

TEST_F(StartUp, BootupShowsTheStartedBalloonAndGoesToTheTrayOnTheTimer) {
  fp.files[fp.Beside("Games.kth")] = test::KeySection("F1Key", "Hearts", 23);
  WriteSettings(test::KeySection("F1Key", "Hearts", 23));
  Create({"bootup"});
  EXPECT_EQ(form->caption(), "Keyvane - No Theme Loaded") << "the theme is looked for once the window is in the tray";
  EXPECT_TRUE(form->bootStart);
  EXPECT_TRUE(fp.trayVisible);
  ASSERT_FALSE(fp.balloons.empty());
  for (const fake::Balloon& b : fp.balloons) {
    EXPECT_EQ(b.title, "Keyvane");
    EXPECT_EQ(b.text, kBootText);
    EXPECT_EQ(b.seconds, 10);
  }
  EXPECT_FALSE(form->Timer1->running());
  EXPECT_FALSE(fp.minimized);

  form->FormShow();
  EXPECT_TRUE(form->Timer1->running());
  EXPECT_EQ(form->Timer1->interval(), 1000);

  bool pendingMessageRan = false;
  fp.queue.push_back([&] { pendingMessageRan = true; });
  form->Timer1->Fire();
  EXPECT_TRUE(fp.minimized);
  EXPECT_EQ(form->ShowMinimize1->caption(), "Show Key Layout");
  EXPECT_FALSE(form->bootStart);
  EXPECT_FALSE(form->Timer1->running());
  EXPECT_TRUE(pendingMessageRan);
  EXPECT_GE(fp.processMessagesCalls, 1);
  EXPECT_EQ(form->caption(), "Keyvane - Games Theme");
  EXPECT_EQ(form->currentThemeIndex, 0);
}

TEST_F(StartUp, TheStartUpTimerMinimizesOnlyOnce) {
  Create({"bootup"});
  form->FormShow();
  form->Timer1->Fire();
  fp.Restore();
  form->Timer1->Fire();  // stopped: nothing happens
  form->OnTimer();       // even run directly, the flag is gone
  EXPECT_FALSE(fp.minimized);
  EXPECT_EQ(LogLines("minimize").size(), 1u);
}

TEST_F(StartUp, TheMessagePumpOfTheTimerLastsAtLeastFourMilliseconds) {
  Create({"bootup"});
  form->FormShow();
  const uint64_t before = fp.now;
  form->Timer1->Fire();
  EXPECT_GE(fp.now - before, 4u);
}

TEST_F(StartUp, SwitchingKeysBeforeTheTimerRepeatsTheStartedBalloon) {
  Create({"bootup"});
  fp.balloons.clear();
  form->BitBtn2Click();
  ASSERT_EQ(fp.balloons.size(), 2u);
  EXPECT_EQ(fp.balloons[0].text, "Keys Disabled");
  EXPECT_EQ(fp.balloons[1].title, "Keyvane");
  EXPECT_EQ(fp.balloons[1].text, kBootText);

  form->FormShow();
  form->Timer1->Fire();
  fp.balloons.clear();
  form->BitBtn2Click();
  ASSERT_EQ(fp.balloons.size(), 1u);
  EXPECT_EQ(fp.balloons[0].text, "Keys Enabled");
}

class NotABootStart : public FormTest,
                      public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(NotABootStart, WindowStaysAndNoBalloonIsShown) {
  Create(GetParam());
  EXPECT_FALSE(form->bootStart);
  EXPECT_TRUE(fp.balloons.empty());
  form->FormShow();
  EXPECT_FALSE(form->Timer1->running());
  form->Timer1->Fire();
  EXPECT_FALSE(fp.minimized);
}

INSTANTIATE_TEST_SUITE_P(
    OtherArguments, NotABootStart,
    ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"BOOTUP"},
                      std::vector<std::string>{"Bootup"}, std::vector<std::string>{"bootup "},
                      std::vector<std::string>{"/bootup"}, std::vector<std::string>{""},
                      std::vector<std::string>{"minimized", "bootup"}));

// ---- the program's entry ----

// Stands in for the Win32 window: records what the entry asks of it and runs a scripted loop.
class RecordingHost final : public MainWindowHost {
 public:
  std::vector<std::string> calls;
  TForm1* form = nullptr;
  std::function<int(TForm1&)> loop;

  void Create(WindowEvents& f) override {
    calls.push_back("create");
    form = &static_cast<TForm1&>(f);
  }
  void Show() override {
    calls.push_back("show");
    if (onShow) onShow();
  }
  std::function<void()> onShow;
  int RunMessageLoop() override {
    calls.push_back("loop");
    return loop ? loop(*form) : 0;
  }
  void Destroy() override { calls.push_back("destroy"); }
};

class ProgramEntry : public FormTest {
 protected:
  ~ProgramEntry() override { fake::FakePlatform::HeldMutexes().erase(kMutexName); }
};

TEST_F(ProgramEntry, RunsTheWindowWhileHoldingTheMutexAndEndsItInOrder) {
  RecordingHost host;
  host.loop = [&](TForm1& f) {
    EXPECT_EQ(f.caption(), "Keyvane - No Theme Loaded");
    EXPECT_EQ(fp.appTitle, "Keyvane - No Theme Loaded");
    EXPECT_EQ(fp.HeldMutexes().count(kMutexName), 1u);
    return 7;
  };
  EXPECT_EQ(RunProgram(bundle, {}, host), 7);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"create", "show", "loop", "destroy"}));
  EXPECT_EQ(LogLines("delete atom ").size(), static_cast<size_t>(kKeyCount));
  EXPECT_FALSE(fp.trayVisible);
  EXPECT_TRUE(SettingsExist());
  EXPECT_EQ(fp.HeldMutexes().count(kMutexName), 0u);
}

// A copy started while the first is still saving and giving back its keys would find them
// taken (RegisterHotKey fails for every key) and its settings overwritten by the first.
TEST_F(ProgramEntry, TheMutexIsHeldUntilTheWindowHasSavedAndReleasedItsKeys) {
  RecordingHost host;
  RunProgram(bundle, {}, host);
  ASSERT_GE(LogIndex("tray hide"), 0);
  EXPECT_GT(LogIndex("release mutex"), LogIndex("tray hide"));
}

TEST_F(ProgramEntry, SecondInstanceEndsAtOnceWithoutTouchingAnything) {
  fake::FakePlatform second;
  RecordingHost secondHost;
  int secondResult = -1;
  size_t firstLogBefore = 0, firstHotKeysBefore = 0;

  RecordingHost host;
  host.loop = [&](TForm1&) {
    firstLogBefore = fp.log.size();
    firstHotKeysBefore = fp.hotKeyLog.size();
    secondResult = RunProgram(second.platform(), {"bootup"}, secondHost);
    // The first instance saw nothing of it.
    EXPECT_EQ(fp.log.size(), firstLogBefore);
    EXPECT_EQ(fp.hotKeyLog.size(), firstHotKeysBefore);
    return 0;
  };
  RunProgram(bundle, {}, host);

  EXPECT_EQ(secondResult, 0);
  EXPECT_TRUE(secondHost.calls.empty());
  EXPECT_EQ(second.log, (std::vector<std::string>{"mutex Keyvane_is_alive"}));
  EXPECT_EQ(second.appTitle, "");
  EXPECT_TRUE(second.atoms.empty());
  EXPECT_TRUE(second.files.empty());
  EXPECT_TRUE(second.balloons.empty());
  EXPECT_TRUE(second.hotKeyLog.empty());
  EXPECT_FALSE(second.trayVisible);
}

TEST_F(ProgramEntry, AfterTheFirstInstanceEndsANewOneStarts) {
  RecordingHost first;
  RunProgram(bundle, {}, first);
  fake::FakePlatform next;
  RecordingHost nextHost;
  RunProgram(next.platform(), {}, nextHost);
  EXPECT_EQ(nextHost.calls, (std::vector<std::string>{"create", "show", "loop", "destroy"}));
}

TEST_F(ProgramEntry, CreationErrorIsShownAndTheProgramGoesOn) {
  WriteSettings("[Keys]\r\nEnabled=1\r\n");
  fp.unreadable.insert(SettingsFile());
  RecordingHost host;
  bool looped = false;
  host.loop = [&](TForm1&) {
    looped = true;
    EXPECT_EQ(fp.errors.size(), 1u);
    return 0;
  };
  RunProgram(bundle, {}, host);
  EXPECT_TRUE(looped);
  ASSERT_FALSE(fp.errors.empty());
  EXPECT_NE(fp.errors[0].find("Keyvane.ini"), std::string::npos) << fp.errors[0];
}

TEST_F(ProgramEntry, ErrorInAUserEventDuringTheLoopGoesToTheErrorBox) {
  RecordingHost host;
  host.loop = [&](TForm1& f) {
    fp.unwritable.insert(SettingsFile());
    f.BitBtn2->UserClick();
    EXPECT_EQ(f.BitBtn2->caption(), "OFF");
    EXPECT_EQ(fp.errors.size(), 1u);
    fp.unwritable.clear();
    return 0;
  };
  RunProgram(bundle, {}, host);
  ASSERT_GE(fp.errors.size(), 1u);
  EXPECT_NE(fp.errors[0].find("Keyvane.ini"), std::string::npos) << fp.errors[0];
  EXPECT_FALSE(SavedSettings().ReadBool("Keys", "Enabled", true)) << "saved again at the end";
}

// In a folder that may be read but not written (Program Files for a standard user) Keyvane
// runs the keys stored there and says once, over its window, that it cannot keep changes;
// after that no save the folder refuses brings a box, and nothing in the folder changes. Another
// failure to save (a file held by another program) is still shown every time.
TEST_F(ProgramEntry, AFolderThatCannotBeWrittenIsToldOnceAndChangesNothing) {
  fp.files[fp.Beside("Games.kth")] = test::KeySection("F2Key", "Hearts", 23);
  WriteSettings(test::KeySection("F1Key", "Mail", 13) + test::KeySection("PBKey", "Next", 34));
  const std::string folder = fp.exePath.substr(0, fp.exePath.rfind('\\'));
  fp.readOnlyFolders.insert(folder);
  const std::map<std::string, std::string> filesBefore = fp.files;
  auto count = [&](const std::string& start) {
    return std::count_if(fp.messages.begin(), fp.messages.end(), [&](const fake::ShownMessage& m) {
      return m.caption == "Keyvane cannot keep changes" && m.text.rfind(start, 0) == 0;
    });
  };
  auto notices = [&] { return count("Keyvane cannot keep changes in the folder"); };
  auto notMade = [&] { return count("This change was not made: Keyvane cannot save in the folder " + folder + "."); };
  RecordingHost host;
  host.onShow = [&] { EXPECT_EQ(notices(), 0) << "the notice comes over the window, not before it"; };
  host.loop = [&](TForm1& f) {
    EXPECT_EQ(Registered(), (std::map<uint32_t, std::pair<uint32_t, uint32_t>>{
                                {f.hotKeyIds[0], {0u, 0x70u}}, {f.hotKeyIds[14], {0u, 0x13u}}}));
    EXPECT_EQ(f.caption(), "Keyvane - No Theme Loaded");
    EXPECT_EQ(notices(), 1);
    EXPECT_NE(fp.messages.back().text.find("cannot keep changes in the folder " + folder + ":"), std::string::npos);
    EXPECT_NE(fp.messages.back().text.find("move the Keyvane folder into a folder of your own"), std::string::npos);
    f.BitBtn2->UserClick();  // off, and on again
    f.BitBtn2->UserClick();
    fp.messageAnswers.push_back(platform::mb::kIdNo);  // not saved as a theme first
    f.HotKeyPressed(f.hotKeyIds[14]);  // Load Next Theme: the settings cannot take it
    EXPECT_FALSE(f.keys[1].title->visible());
    f.keys[0].shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
    f.ComboBox1->UserSelect(15);
    EXPECT_EQ(notMade(), 0) << "a key press and a switch of the keys bring no box";
    f.BitBtn1->UserClick();  // Apply, asked for on the window: said not to be made
    EXPECT_EQ(notMade(), 1);
    EXPECT_EQ(notices(), 1);
    EXPECT_TRUE(fp.errors.empty());
    EXPECT_EQ(f.keys[0].title->caption(), "Mail") << "what the user sees is what is stored";
    // A file held by another program is another matter: the error box says so each time.
    fp.readOnlyFolders.clear();
    fp.unwritable.insert(SettingsFile());
    f.BitBtn2->UserClick();
    f.BitBtn2->UserClick();
    EXPECT_EQ(fp.errors.size(), 2u);
    fp.unwritable.clear();
    fp.readOnlyFolders.insert(folder);
    f.OnEndSession(true);
    return 0;
  };
  RunProgram(bundle, {}, host);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"create", "show", "loop", "destroy"}));
  EXPECT_EQ(notices(), 1);
  EXPECT_EQ(notMade(), 1) << "nor the end of the session";
  EXPECT_EQ(fp.errors.size(), 2u);
  EXPECT_EQ(fp.files, filesBefore);
}

// Not told yet when the Windows session ends: the end never waits on a box.
TEST_F(ProgramEntry, TheEndOfTheSessionNeverWaitsOnTheNotice) {
  RecordingHost host;
  host.loop = [&](TForm1& f) {
    fp.readOnlyFolders.insert(fp.exePath.substr(0, fp.exePath.rfind('\\')));
    f.OnEndSession(true);
    return 0;
  };
  RunProgram(bundle, {}, host);
  EXPECT_TRUE(fp.messages.empty());
  EXPECT_TRUE(fp.errors.empty());
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// Saves cut off by a hard end leave their temporaries beside the executable; the next start
// removes them, and only them, and a second copy that is turned away touches none.
TEST(SaveTemporaries, OnlyTheNamesASaveMakesAreRemovedAndOnlyByTheRunningCopy) {
  fake::FakePlatform fp;
  const std::vector<std::string> stale{"~Keyvane412-0.tmp", "~Keyvane7-13.tmp"};
  const std::vector<std::string> kept{"~Keyvane.tmp", "~Keyvane12.tmp", "~Keyvane-1.tmp",
                                      "~Keyvane1-.tmp", "~Keyvane1-2x.tmp", "~KeyvaneA-1.tmp",
                                      "Keyvane1-2.tmp", "~Keyvane1-2.tmp.bak", "~keyvane9-1.TMP", "notes.tmp"};
  for (const std::string& name : stale) fp.files[fp.Beside(name)] = "partial";
  for (const std::string& name : kept) fp.files[fp.Beside(name)] = "someone else's";
  fp.files["C:\\Other\\~Keyvane1-1.tmp"] = "another folder";

  fake::FakePlatform::HeldMutexes().insert(kMutexName);  // another copy runs
  RecordingHost turnedAway;
  RunProgram(fp.platform(), {}, turnedAway);
  for (const std::string& name : stale) EXPECT_TRUE(fp.HasFile(fp.Beside(name))) << name;
  fake::FakePlatform::HeldMutexes().erase(kMutexName);

  RecordingHost host;
  RunProgram(fp.platform(), {}, host);
  for (const std::string& name : stale) EXPECT_FALSE(fp.HasFile(fp.Beside(name))) << name;
  for (const std::string& name : kept) EXPECT_TRUE(fp.HasFile(fp.Beside(name))) << name;
  EXPECT_TRUE(fp.HasFile("C:\\Other\\~Keyvane1-1.tmp"));
  fake::FakePlatform::HeldMutexes().erase(kMutexName);
}

}  // namespace
}  // namespace kv

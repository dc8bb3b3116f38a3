// The launchers: Run File, Explorer, the browser, the e-mail program and the card games, and
// the expansion of the search term and of an environment variable in their texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form.h"
#include "core/text_util.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;
using platform::RegistryHive;

constexpr const char* kHandler = "rundll32.exe url.dll,FileProtocolHandler ";

class Launch : public FormTest {
 protected:
  void SetUp() override {
    fp.env["WINDIR"] = "C:\\WINDOWS";
    fp.env["TEMP"] = "C:\\Temp";
    fp.env["USERNAME"] = "ann";
    fp.env["EMPTY"] = "";
    fp.env["ProgramFiles"] = "C:\\Program Files";
  }
  std::string Started() const {
    return fp.started.size() == 1 ? fp.started[0] : "(" + std::to_string(fp.started.size()) + " started)";
  }
  void SetRegistry(const std::string& key, const std::string& valueName, const std::string& value) {
    fp.registry[fake::RegistryPath(RegistryHive::LocalMachine, key)][valueName] = value;
  }
};

// ---- Run File ----

struct RunFileCase {
  const char* data;
  std::string commandLine;
};

class RunFile : public Launch, public ::testing::WithParamInterface<RunFileCase> {};

TEST_P(RunFile, StartsTheExpandedTextShown) {
  Create();
  form->RunAction(10, GetParam().data);
  EXPECT_EQ(Started(), GetParam().commandLine);
  EXPECT_EQ(fp.startShowCommands, std::vector<int>{5});
  EXPECT_TRUE(fp.shellExecutes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RunFile,
    ::testing::Values(
        // Programs and batch files run themselves; names and extensions in any letter case.
        RunFileCase{"%WINDIR%\\notepad.exe", "C:\\WINDOWS\\notepad.exe"},
        RunFileCase{"%windir%\\NOTEPAD.EXE", "C:\\WINDOWS\\NOTEPAD.EXE"},
        RunFileCase{"C:\\x\\run.bat", "C:\\x\\run.bat"},
        RunFileCase{"C:\\x\\Run.Bat", "C:\\x\\Run.Bat"},
        // Anything else opens through the shell's file protocol handler.
        RunFileCase{"C:\\docs\\a.txt", std::string(kHandler) + "C:\\docs\\a.txt"},
        RunFileCase{"", std::string(kHandler)},
        RunFileCase{"http://example.com", std::string(kHandler) + "http://example.com"},
        RunFileCase{"C:\\x\\setup.exe.txt", std::string(kHandler) + "C:\\x\\setup.exe.txt"},
        // The extension is that of the file name, not of a folder.
        RunFileCase{"C:\\tools.exe\\readme", std::string(kHandler) + "C:\\tools.exe\\readme"},
        RunFileCase{"C:\\x\\tool.exe /quiet", std::string(kHandler) + "C:\\x\\tool.exe /quiet"},
        // Only the first pair of percent signs names a variable.
        RunFileCase{"%TEMP%\\%USERNAME%.txt", std::string(kHandler) + "C:\\Temp\\%USERNAME%.txt"},
        RunFileCase{"%TEMP%\\logs\\%temp%.log", std::string(kHandler) + "C:\\Temp\\logs\\C:\\Temp.log"},
        // Missing or empty variables and lone percent signs stay.
        RunFileCase{"%NOSUCHVAR%\\tool.exe", "%NOSUCHVAR%\\tool.exe"},
        RunFileCase{"%EMPTY%\\tool.exe", "%EMPTY%\\tool.exe"},
        RunFileCase{"C:\\100%\\tool.exe", "C:\\100%\\tool.exe"},
        RunFileCase{"%%\\tool.exe", "%%\\tool.exe"}));

TEST_F(Launch, RunFileFromAKeyPressStartsTheStoredFile) {
  WriteSettings(test::KeySection("F9Key", "Editor", 10, "%WINDIR%\\notepad.exe"));
  Create();
  PressHotKey("F9Key");
  EXPECT_EQ(Started(), "C:\\WINDOWS\\notepad.exe");
}

// A path with blanks is started quoted: unquoted, Windows would start C:\Program.exe for
// C:\Program Files\Tools\tool.exe when there is one.
TEST_F(Launch, RunFileQuotesAProgramPathWithBlanks) {
  fp.associations["tool.exe"] = "C:\\Program Files\\Tools\\tool.exe";
  Create();
  form->RunAction(10, "C:\\Program Files\\Tools\\tool.exe");
  EXPECT_EQ(Started(), "\"C:\\Program Files\\Tools\\tool.exe\"");
}

// ---- Explorer ----

// Explorer is the Windows folder's: C:\WINDOWS\EXPLORER.EXE where Windows has its usual place,
// and D:\WINNT\EXPLORER.EXE for a Windows 2000 on drive D, where a fixed C:\WINDOWS would start
// nothing at all.
TEST_F(Launch, ExplorerOpensAtTheExpandedFolderThroughTheWindowsFoldersExplorer) {
  fp.windowsDir = "C:\\WINDOWS";
  Create();
  form->RunAction(11, "%TEMP%\\reports");
  fake::FakePlatform::HeldMutexes().clear();
  fp.windowsDir = "D:\\WINNT";
  Create();
  form->RunAction(11, "");
  EXPECT_EQ(fp.started, (std::vector<std::string>{"C:\\WINDOWS\\EXPLORER.EXE /n,/e,C:\\Temp\\reports",
                                                   "D:\\WINNT\\EXPLORER.EXE /n,/e,"}));
  EXPECT_EQ(fp.startShowCommands, (std::vector<int>{5, 5}));
}

// ---- the browser ----

struct BrowserCase {
  const char* data;
  const char* address;
};

class Browser : public Launch, public ::testing::WithParamInterface<BrowserCase> {};

TEST_P(Browser, OpensTheAddressOwnedByTheMainWindow) {
  Create();
  form->searchTerm = "red apples";
  form->RunAction(12, GetParam().data);
  EXPECT_EQ(fp.shellExecutes,
            std::vector<std::string>{std::string("open|") + GetParam().address + "|||5|owned"});
  EXPECT_TRUE(fp.started.empty());
  EXPECT_TRUE(fp.inputBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, Browser,
    ::testing::Values(BrowserCase{"find?q=%SEARCHTERM%", "http://find?q=red+apples"},
                      BrowserCase{"find?q=%searchterm%&again=%SearchTerm%",
                                  "http://find?q=red+apples&again=red+apples"},
                      BrowserCase{"find?q=%SEARCHTERM%&u=%USERNAME%", "http://find?q=red+apples&u=ann"},
                      BrowserCase{"HTTPS://x", "HTTPS://x"},
                      BrowserCase{"http://example.com", "http://example.com"},
                      BrowserCase{"hTTp://example.com", "hTTp://example.com"},
                      BrowserCase{"www.example.com", "http://www.example.com"},
                      BrowserCase{"htt", "http://htt"},
                      BrowserCase{"", "http://"}));

// ---- the search term in a text ----

TEST_F(Launch, AnEmptySearchTermIsAskedForBeforeAnythingIsLaunched) {
  Create();
  fp.inputAnswers.push_back("blue cars");
  form->RunAction(12, "find?q=%SEARCHTERM%&in=%SearchTerm%");
  ASSERT_EQ(fp.inputBoxes.size(), 1u) << "asked once for all placeholders";
  EXPECT_EQ(fp.inputBoxes[0].caption, "Search Term");
  EXPECT_EQ(form->searchTerm, "blue cars");
  EXPECT_EQ(fp.shellExecutes,
            std::vector<std::string>{"open|http://find?q=blue+cars&in=blue+cars|||5|owned"});
  EXPECT_LT(LogIndex("input Search Term"), LogIndex("shell open http://find?q=blue+cars&in=blue+cars"));
}

TEST_F(Launch, CancellingThePromptReplacesThePlaceholderByNothing) {
  Create();
  fp.inputAnswers.push_back(std::nullopt);
  form->RunAction(10, "C:\\notes\\%SEARCHTERM%list.txt");
  EXPECT_EQ(fp.inputBoxes.size(), 1u);
  EXPECT_EQ(form->searchTerm, "");
  EXPECT_EQ(Started(), std::string(kHandler) + "C:\\notes\\list.txt");
}

TEST_F(Launch, AnEnteredEmptyTermIsAskedForAgainAtTheNextUse) {
  Create();
  fp.inputAnswers.push_back("");
  form->RunAction(12, "find?q=%SEARCHTERM%");
  fp.inputAnswers.push_back("tea");
  form->RunAction(12, "find?q=%SEARCHTERM%");
  form->RunAction(12, "find?q=%SEARCHTERM%");
  EXPECT_EQ(fp.inputBoxes.size(), 2u) << "a term once given is not asked for again";
  EXPECT_EQ(fp.shellExecutes, (std::vector<std::string>{"open|http://find?q=|||5|owned",
                                                         "open|http://find?q=tea|||5|owned",
                                                         "open|http://find?q=tea|||5|owned"}));
}

TEST_F(Launch, ATextWithoutThePlaceholderNeverAsks) {
  Create();
  form->RunAction(12, "find?q=SEARCHTERM");
  form->RunAction(10, "%TEMP%\\a.txt");
  form->RunAction(11, "C:\\");
  EXPECT_TRUE(fp.inputBoxes.empty());
}

TEST_F(Launch, BlanksOfTheTermBecomePlusSignsInPathsToo) {
  Create();
  form->searchTerm = "my  list";
  form->RunAction(11, "C:\\Lists\\%SEARCHTERM%");
  EXPECT_EQ(Started(), "C:\\WINDOWS\\EXPLORER.EXE /n,/e,C:\\Lists\\my++list");
  EXPECT_EQ(form->searchTerm, "my  list") << "the stored term keeps its blanks";
}

// ---- the e-mail program ----

constexpr const char* kMailKey = "SOFTWARE\\Clients\\Mail";

TEST_F(Launch, EmailOpensTheDefaultClientsExpandedCommand) {
  SetRegistry(kMailKey, "", "Mail Client");
  SetRegistry(std::string(kMailKey) + "\\Mail Client\\shell\\open\\command", "",
              "%ProgramFiles%\\Mail\\mail.exe");
  Create();
  form->RunAction(13, "C:\\ignored.exe");
  EXPECT_EQ(fp.shellExecutes,
            std::vector<std::string>{"open|C:\\Program Files\\Mail\\mail.exe|||5|owned"});
  EXPECT_TRUE(fp.started.empty());
}

TEST_F(Launch, EmailPassesTheClientsParametersApart) {
  SetRegistry(kMailKey, "", "Mail Client");
  SetRegistry(std::string(kMailKey) + "\\Mail Client\\shell\\open\\command", "",
              "\"%ProgramFiles%\\Mail\\mail.exe\" -mail");
  Create();
  form->RunAction(13, "");
  EXPECT_EQ(fp.shellExecutes,
            std::vector<std::string>{"open|C:\\Program Files\\Mail\\mail.exe|-mail||5|owned"});
}

TEST_F(Launch, EmailDoesNothingWithoutAClientOrACommand) {
  fp.version = test::NtVersion(5, 1);  // Windows XP
  Create();
  form->RunAction(13, "");  // no Clients\Mail key at all
  SetRegistry(kMailKey, "", "Gone Client");  // a client without its command key
  form->RunAction(13, "");
  SetRegistry(kMailKey, "", "Blank Client");
  SetRegistry(std::string(kMailKey) + "\\Blank Client\\shell\\open\\command", "", "");
  form->RunAction(13, "");
  SetRegistry(kMailKey, "", "");  // an empty client name
  form->RunAction(13, "");
  EXPECT_TRUE(fp.shellExecutes.empty());
  EXPECT_TRUE(fp.started.empty());
  EXPECT_TRUE(fp.messages.empty());
}

// Windows 10 and 11 bring a mail program that registers no client: without one, the key opens
// whatever answers mail addresses. Every other Windows keeps doing nothing then.
TEST_F(Launch, EmailWithoutAClientOnWindowsAfterVistaOpensTheMailAddressHandler) {
  for (const auto& [version, opens] : {std::pair{test::NtVersion(6, 1), true}, {test::NtVersion(10, 0), true},
                                      {test::NtVersion(6, 0), false}, {test::NtVersion(5, 1), false},
                                      {platform::OsVersion{true, platform::kPlatformWin32Windows, 4, 20, ""}, false},
                                      {platform::OsVersion{false, platform::kPlatformWin32Nt, 10, 0, ""}, false}}) {
    SCOPED_TRACE(std::to_string(version.platformId) + " " + std::to_string(version.major) + "." +
                 std::to_string(version.minor) + (version.ok ? "" : " (failed report)"));
    fake::FakePlatform::HeldMutexes().clear();
    fp.shellExecutes.clear();
    fp.version = version;
    Create();
    form->RunAction(13, "");
    EXPECT_EQ(fp.shellExecutes, opens ? std::vector<std::string>{"open|mailto:|||5|owned"} : std::vector<std::string>{});
  }
  // A registered client is opened as before.
  fp.shellExecutes.clear();
  SetRegistry(kMailKey, "", "Mail Client");
  SetRegistry(std::string(kMailKey) + "\\Mail Client\\shell\\open\\command", "", "C:\\Mail\\mail.exe");
  form->RunAction(13, "");
  EXPECT_EQ(fp.shellExecutes, std::vector<std::string>{"open|C:\\Mail\\mail.exe|||5|owned"});
}

// ---- the card games ----

struct GameCase {
  int code;
  const char* id;
  const char* fixedPath;
  const char* olderProgram;
};

class Game : public Launch, public ::testing::WithParamInterface<GameCase> {
 protected:
  std::string GameKey() const {
    return std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\GameUX\\Games\\") + GetParam().id;
  }
  void RunOn(platform::OsVersion version, bool is64) {
    fp.version = version;
    fp.wow64Probe = is64 ? platform::Wow64Probe::Succeeded : platform::Wow64Probe::NotImplemented;
    fp.windowsDir = "D:\\WINDOWS\\";
    Create();
    ASSERT_EQ(form->is64, is64);
    form->RunAction(GetParam().code, "");
  }
};

TEST_P(Game, OnVistaWithoutARegistryValueStartsTheFixedPathOnTheWindowsDrive) {
  for (bool is64 : {false, true}) {
    SCOPED_TRACE(is64 ? "64-bit" : "32-bit");
    fp.winExecs.clear();
    RunOn(test::NtVersion(6, 0), is64);
    EXPECT_EQ(fp.winExecs, std::vector<std::string>{"\"D" + std::string(GetParam().fixedPath) + "\"|5"});
  }
  EXPECT_TRUE(fp.started.empty()) << "a game is not waited for";
}

TEST_P(Game, OnVistaAnEmptyRegistryValueAlsoGivesTheFixedPath) {
  SetRegistry(GameKey(), "configgdfbinarypath", "");
  RunOn(test::NtVersion(6, 0), false);
  EXPECT_EQ(fp.winExecs, std::vector<std::string>{"\"D" + std::string(GetParam().fixedPath) + "\"|5"});
}

TEST_P(Game, OnVistaTheRegistryValueIsExpandedAndStarted) {
  SetRegistry(GameKey(), "configgdfbinarypath", "%ProgramFiles%\\Games\\game.exe");
  RunOn(test::NtVersion(6, 0), false);
  EXPECT_EQ(fp.winExecs, std::vector<std::string>{"\"C:\\Program Files\\Games\\game.exe\"|5"});
}

TEST_P(Game, EveryOtherKindStartsTheOlderProgramWhateverTheRegistryHolds) {
  SetRegistry(GameKey(), "configgdfbinarypath", "C:\\Games\\game.exe");
  // On Windows 7 and later only because it is there (below: when it is not).
  fp.files[std::string("D:\\WINDOWS\\System32\\") + GetParam().olderProgram] = "MZ";
  const platform::OsVersion others[] = {
      test::NtVersion(6, 1),  // 7 and later: kind 0
      test::NtVersion(10, 0), test::NtVersion(5, 1), test::NtVersion(5, 0), test::NtVersion(4, 0),
      test::NtVersion(5, 2),  {true, platform::kPlatformWin32Windows, 4, 10, ""},
  };
  for (bool is64 : {false, true}) {
    for (const platform::OsVersion& v : others) {
      SCOPED_TRACE(std::to_string(v.major) + "." + std::to_string(v.minor) + (is64 ? " 64-bit" : ""));
      fp.winExecs.clear();
      RunOn(v, is64);
      EXPECT_NE(form->osKind, 8);
      EXPECT_EQ(fp.winExecs, std::vector<std::string>{std::string(GetParam().olderProgram) + "|5"});
    }
  }
}

// Windows 7 has the games where Vista has them; the older programs ended with XP.
TEST_P(Game, OnWindows7WithoutTheOlderProgramTheGameIsStartedWhereVistaKeepsIt) {
  for (bool is64 : {false, true}) {
    SCOPED_TRACE(is64 ? "64-bit" : "32-bit");
    fp.winExecs.clear();
    fp.searchPathLookups.clear();
    fp.files[std::string("D") + GetParam().fixedPath] = "MZ";
    RunOn(test::NtVersion(6, 1), is64);
    ASSERT_EQ(form->osKind, 0);
    EXPECT_EQ(fp.searchPathLookups, std::vector<std::string>{GetParam().olderProgram});
    EXPECT_EQ(fp.winExecs, std::vector<std::string>{"\"D" + std::string(GetParam().fixedPath) + "\"|5"});
  }
  EXPECT_TRUE(fp.started.empty());
}

TEST_P(Game, OnWindows7TheRegisteredProgramComesFirstWhenItIsThere) {
  fp.files["C:\\Program Files\\Games\\game.exe"] = "MZ";
  fp.files[std::string("D") + GetParam().fixedPath] = "MZ";
  SetRegistry(GameKey(), "configgdfbinarypath", "%ProgramFiles%\\Games\\GAME.EXE");
  RunOn(test::NtVersion(6, 1), false);
  EXPECT_EQ(fp.winExecs, std::vector<std::string>{"\"C:\\Program Files\\Games\\GAME.EXE\"|5"});
}

TEST_P(Game, OnWindows7ARegisteredPathThatIsMissingOrNoProgramGivesTheFixedPath) {
  fp.files[std::string("D") + GetParam().fixedPath] = "MZ";
  fp.files["C:\\Games\\gdf.dll"] = "MZ";  // a game's description may live in a library
  for (const char* registered : {"C:\\Games\\gone.exe", "C:\\Games\\gdf.dll"}) {
    SCOPED_TRACE(registered);
    fp.winExecs.clear();
    SetRegistry(GameKey(), "configgdfbinarypath", registered);
    RunOn(test::NtVersion(6, 1), false);
    EXPECT_EQ(fp.winExecs, std::vector<std::string>{"\"D" + std::string(GetParam().fixedPath) + "\"|5"});
  }
}

// Windows 8 and later come without the card games: nothing is there, so nothing is started.
TEST_P(Game, OnWindows10WithoutAnyGameNothingIsStartedAndNothingShown) {
  fp.files[std::string("C") + GetParam().fixedPath] = "MZ";  // not on the Windows drive, D:
  for (const platform::OsVersion& v : {test::NtVersion(6, 2), test::NtVersion(10, 0)}) {
    SCOPED_TRACE(std::to_string(v.major) + "." + std::to_string(v.minor));
    RunOn(v, true);
    const auto mark = EffectsMark();
    form->RunAction(GetParam().code, "");
    EXPECT_TRUE(NoEffectsSince(mark));
    EXPECT_TRUE(fp.winExecs.empty());
  }
}

// The older program is found as Windows would find it by its bare name: beside Keyvane, in the
// system folders, in the Windows folder or on the PATH.
TEST_P(Game, OnWindows10AnOlderProgramOnTheSearchPathIsStartedByItsName) {
  fp.env["PATH"] = "C:\\Tools;C:\\Old Games";
  fp.files[std::string("D") + GetParam().fixedPath] = "MZ";
  for (const std::string folder : {"D:\\WINDOWS\\system32\\", "C:\\Old Games\\",
                                   "C:\\Program Files\\Keyvane\\", "D:\\Windows\\"}) {
    SCOPED_TRACE(folder);
    fp.winExecs.clear();
    const std::string path = folder + UpperAscii(GetParam().olderProgram);
    fp.files[path] = "MZ";
    RunOn(test::NtVersion(10, 0), false);
    EXPECT_EQ(fp.winExecs, std::vector<std::string>{std::string(GetParam().olderProgram) + "|5"});
    fp.files.erase(path);
  }
}

// Kind 0 is also a failed report or a Windows 9x Keyvane does not know, and the other kinds are
// what they were: the older program is started as before, whether it is there or not.
TEST_P(Game, EveryReportButANewerWindowsNtStartsTheOlderProgramWithoutLookingForIt) {
  fp.files[std::string("D") + GetParam().fixedPath] = "MZ";
  const platform::OsVersion reports[] = {
      {false, platform::kPlatformWin32Nt, 6, 1, ""}, {true, platform::kPlatformWin32Windows, 4, 20, ""},
      test::NtVersion(5, 3), {true, platform::kPlatformWin32Windows, 4, 10, ""},
      test::NtVersion(4, 0), test::NtVersion(5, 0), test::NtVersion(5, 1), test::NtVersion(5, 2)};
  for (const platform::OsVersion& v : reports) {
    SCOPED_TRACE(std::to_string(v.platformId) + " " + std::to_string(v.major) + "." +
                 std::to_string(v.minor) + (v.ok ? "" : " (failed)"));
    fp.winExecs.clear();
    RunOn(v, false);
    EXPECT_EQ(fp.winExecs, std::vector<std::string>{std::string(GetParam().olderProgram) + "|5"});
  }
  EXPECT_TRUE(fp.searchPathLookups.empty());
}

INSTANTIATE_TEST_SUITE_P(
    FiveGames, Game,
    ::testing::Values(
        GameCase{22, "{6C815596-821F-40b3-8A84-643B73A8EB16}",
                 ":\\Program Files\\Microsoft Games\\FreeCell\\FreeCell.exe", "freecell.exe"},
        GameCase{23, "{D1A7F7E0-D4E9-49e8-BF2C-CEAA01D2E670}",
                 ":\\Program Files\\Microsoft Games\\Hearts\\Hearts.exe", "mshearts.exe"},
        GameCase{24, "{E91579C0-4EA9-4a2a-A9B2-04BEF1D6DC29}",
                 ":\\Program Files\\Microsoft Games\\Minesweeper\\MineSweeper.exe", "winmine.exe"},
        GameCase{25, "{00D8862B-6453-4957-A821-3D98D74C76BE}",
                 ":\\Program Files\\Microsoft Games\\Solitaire\\Solitaire.exe", "sol.exe"},
        GameCase{26, "{AFA7FF39-1DDF-4f70-A2D5-23FCFFF02E5F}",
                 ":\\Program Files\\Microsoft Games\\SpiderSolitaire\\SpiderSolitaire.exe",
                 "spider.exe"}));

TEST_F(Launch, HeartsOnVistaFromAWindowsFolderOnDriveD) {
  fp.version = test::NtVersion(6, 0);
  fp.windowsDir = "D:\\WINDOWS\\";
  Create();
  ASSERT_EQ(form->windowsFolder, "D:\\WINDOWS\\");
  form->RunAction(23, "");
  // Quoted, so that "D:\Program Files\..." cannot start a D:\Program.exe.
  EXPECT_EQ(fp.winExecs,
            std::vector<std::string>{"\"D:\\Program Files\\Microsoft Games\\Hearts\\Hearts.exe\"|5"});
}

}  // namespace
}  // namespace kv

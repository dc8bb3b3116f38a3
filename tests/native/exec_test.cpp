// Exec: how a command line is split for the look-up of its associated program, when that
// program is put in front of it, what happens when nothing can start, and hot keys pressed
// while a started program runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/exec.h"
#include "app/form.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;
using test::KeySection;

// ---- splitting a command line ----

struct SplitCase {
  const char* path;
  const char* directory;
  const char* fileName;
};

class CommandLineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, GivesFolderAndFileNameParts) {
  const PathParts parts = SplitFilePath(GetParam().path);
  EXPECT_EQ(parts.directory, GetParam().directory);
  EXPECT_EQ(parts.fileName, GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CommandLineSplit,
    ::testing::Values(
        SplitCase{"C:\\x\\run.bat", "C:\\x", "run.bat"},
        SplitCase{"C:\\run.bat", "C:\\", "run.bat"},  // the drive root keeps its backslash
        SplitCase{"C:run.bat", "C:", "run.bat"},
        SplitCase{"C:\\Program Files\\Tools\\", "C:\\Program Files\\Tools", ""},
        SplitCase{"rundll32.exe shell32.dll,Control_RunDLL appwiz.cpl", "",
                  "rundll32.exe shell32.dll,Control_RunDLL appwiz.cpl"},
        SplitCase{"rundll32.exe url.dll,FileProtocolHandler C:\\docs\\a.txt",
                  "rundll32.exe url.dll,FileProtocolHandler C:\\docs", "a.txt"},
        SplitCase{"", "", ""}));

// ---- the associated program ----

// A string literal with its embedded NULs.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

platform::FoundExecutable Found(int result, const std::string& text) {
  platform::FoundExecutable found;
  found.result = result;
  found.buffer.assign(261, '\0');
  found.buffer.replace(0, text.size(), text);
  return found;
}

TEST(AssociatedProgram, AResultOf32OrLessMeansNone) {
  for (int result : {0, 2, 31, 32}) EXPECT_EQ(AssociatedProgram(Found(result, "C:\\app.exe")), "") << result;
  EXPECT_EQ(AssociatedProgram(Found(33, "C:\\app.exe")), "C:\\app.exe");
}

TEST(AssociatedProgram, ANulFollowedByTextBecomesABlank) {
  // FindExecutable cuts a path with blanks at the blank.
  const std::string split = Bytes("C:\\Program\0Files\\Office\\winword.exe");
  EXPECT_EQ(AssociatedProgram(Found(42, split)), "C:\\Program Files\\Office\\winword.exe");
  const std::string twice = Bytes("C:\\My\0Apps\\Big\0Editor.exe");
  EXPECT_EQ(AssociatedProgram(Found(42, twice)), "C:\\My Apps\\Big Editor.exe");
}

TEST(AssociatedProgram, EndsAtTheFirstNulThatIsNotFollowedByText) {
  std::string buffer(261, '\0');
  buffer.replace(0, 10, "C:\\app.exe");
  buffer.replace(12, 5, "stale");  // two NULs, then leftovers of an earlier use
  platform::FoundExecutable found{42, buffer};
  EXPECT_EQ(AssociatedProgram(found), "C:\\app.exe");
  // A buffer filled to its last character has no NUL to stop at.
  platform::FoundExecutable full{42, std::string(261, 'a')};
  EXPECT_EQ(AssociatedProgram(full), std::string(261, 'a'));
}

class ExecTest : public FormTest {
 protected:
  platform::Platform& P() { return fp.platform(); }
};

TEST_F(ExecTest, LooksUpTheFileNamePartInItsFolder) {
  Exec(P(), "C:\\docs\\report.doc", 5);
  Exec(P(), "C:\\report.doc", 5);
  Exec(P(), "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl", 5);
  EXPECT_EQ(fp.findExecutableCalls,
            (std::vector<std::string>{"report.doc|C:\\docs", "report.doc|C:\\",
                                      "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl|"}));
}

TEST_F(ExecTest, ADocumentStartsThroughItsAssociatedProgram) {
  fp.associations["report.doc"] = "C:\\Office\\winword.exe";
  EXPECT_TRUE(Exec(P(), "C:\\docs\\report.doc", 5));
  EXPECT_EQ(fp.started, std::vector<std::string>{"C:\\Office\\winword.exe C:\\docs\\report.doc"});
  EXPECT_EQ(fp.startShowCommands, std::vector<int>{5});
}

TEST_F(ExecTest, AnAssociatedProgramWithBlanksIsJoinedBackTogetherAndQuoted) {
  fp.associations["report.doc"] = Bytes("C:\\Program\0Files\\Office\\winword.exe");
  Exec(P(), "C:\\docs\\report.doc", 1);
  EXPECT_EQ(fp.started, std::vector<std::string>{
                            "\"C:\\Program Files\\Office\\winword.exe\" C:\\docs\\report.doc"});
  EXPECT_EQ(fp.startShowCommands, std::vector<int>{1});
}

TEST_F(ExecTest, AProgramThatIsItsOwnAssociationIsStartedUnchanged) {
  fp.associations["run.bat"] = "C:\\X\\RUN.BAT";  // same text in other letter case
  fp.associations["tool.exe"] = "C:\\x\\tool.exe";
  Exec(P(), "C:\\x\\run.bat", 5);
  Exec(P(), "c:\\x\\TOOL.exe", 5);
  EXPECT_EQ(fp.started, (std::vector<std::string>{"C:\\x\\run.bat", "c:\\x\\TOOL.exe"}));
}

// A program in a folder with blanks is quoted, so that Windows cannot start C:\Program.exe or
// C:\my.exe for it; a bare name is started as the program the search path finds, not given
// its own name to open.
TEST_F(ExecTest, AProgramIsStartedQuotedAndABareNameAsTheProgramFound) {
  fp.associations["tool.exe"] = "C:\\my dir\\tool.exe";
  fp.associations["notepad.exe"] = "C:\\WINDOWS\\system32\\notepad.exe";
  fp.associations["setup.bat"] = "C:\\Program Files\\Kit\\setup.bat";
  Exec(P(), "C:\\my dir\\tool.exe", 5);
  Exec(P(), "notepad.exe", 5);
  Exec(P(), "C:\\Program Files\\Kit\\setup.bat", 5);
  EXPECT_EQ(fp.started, (std::vector<std::string>{"\"C:\\my dir\\tool.exe\"",
                                                   "C:\\WINDOWS\\system32\\notepad.exe",
                                                   "\"C:\\Program Files\\Kit\\setup.bat\""}));
}

TEST(SplitCommand, SeparatesTheProgramFromItsParameters) {
  struct Case {
    const char* command;
    const char* program;
    const char* parameters;
  } cases[] = {
      {"\"C:\\Program Files\\Mail\\mail.exe\" -mail \"%1\"", "C:\\Program Files\\Mail\\mail.exe", "-mail \"%1\""},
      {"C:\\Mail\\MAIL.EXE /compose", "C:\\Mail\\MAIL.EXE", "/compose"},
      {"C:\\Program Files\\Mail\\mail.exe", "C:\\Program Files\\Mail\\mail.exe", ""},
      {"  \"C:\\unclosed\\mail.exe", "C:\\unclosed\\mail.exe", ""},
      {"C:\\x.exec\\mail.exe -x", "C:\\x.exec\\mail.exe", "-x"},
      {"mailto-handler", "mailto-handler", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const CommandParts parts = SplitCommand(c.command);
    EXPECT_EQ(parts.program, c.program) << c.command;
    EXPECT_EQ(parts.parameters, c.parameters) << c.command;
  }
}

TEST_F(ExecTest, WithoutAnAssociationTheCommandLineIsStartedAsItIs) {
  EXPECT_TRUE(Exec(P(), "C:\\x\\tool.exe /quiet", 5));
  EXPECT_EQ(fp.started, std::vector<std::string>{"C:\\x\\tool.exe /quiet"});
}

TEST_F(ExecTest, WaitsForTheProgramAndClosesItsHandles) {
  EXPECT_TRUE(Exec(P(), "C:\\x\\tool.exe", 5));
  EXPECT_EQ(fp.log, (std::vector<std::string>{"start C:\\x\\tool.exe", "wait 1", "ended 1"}));
  EXPECT_EQ(fp.openProcesses, 0);
}

TEST_F(ExecTest, ACommandThatCannotStartReturnsFalseAndWaitsForNothing) {
  fp.unstartable.insert("C:\\gone\\tool.exe");
  bool served = false;
  fp.whileRunning.push_back([&] { served = true; });
  EXPECT_FALSE(Exec(P(), "C:\\gone\\tool.exe", 5));
  EXPECT_TRUE(LogLines("wait ").empty());
  EXPECT_FALSE(served);
  EXPECT_EQ(fp.openProcesses, 0);
  EXPECT_TRUE(fp.messages.empty());
  EXPECT_TRUE(fp.errors.empty());
}

TEST_F(ExecTest, ALaunchThatCannotStartShowsNothing) {
  WriteSettings(KeySection("F1Key", "Tool", 10, "C:\\gone\\tool.exe"));
  Create();
  fp.unstartable.insert("C:\\gone\\tool.exe");
  RouteErrorsToErrorBox();
  PressHotKey("F1Key");
  EXPECT_TRUE(fp.started.empty());
  EXPECT_TRUE(fp.messages.empty());
  EXPECT_TRUE(fp.errors.empty());
}

// ---- keys pressed while a started program runs ----

TEST_F(ExecTest, AHotKeyPressedWhileAProgramRunsRunsItsActionBeforeTheFirstWaitEnds) {
  WriteSettings(KeySection("F1Key", "First", 10, "C:\\a\\first.exe") +
                KeySection("F2Key", "Second", 10, "C:\\b\\second.exe"));
  Create();
  fp.log.clear();
  fp.whileRunning.push_back([this] { PressHotKey("F2Key"); });
  PressHotKey("F1Key");

  std::vector<std::string> processLines;
  for (const std::string& line : fp.log)
    if (line.starts_with("start ") || line.starts_with("wait ") || line.starts_with("ended "))
      processLines.push_back(line);
  EXPECT_EQ(processLines, (std::vector<std::string>{"start C:\\a\\first.exe", "wait 1",
                                                    "start C:\\b\\second.exe", "wait 2",
                                                    "ended 2", "ended 1"}));
  EXPECT_EQ(fp.openProcesses, 0);
}

TEST_F(ExecTest, NestedPressesEachRunOnceAndTheOuterWaitEndsLast) {
  WriteSettings(KeySection("F1Key", "First", 10, "C:\\a\\first.exe") +
                KeySection("F2Key", "Panel", 4) + KeySection("F3Key", "Web", 12, "example.com"));
  Create();
  fp.log.clear();
  // While the first program runs: the control panel page starts, and while it runs in turn,
  // the browser key is pressed.
  fp.whileRunning.push_back([this] {
    fp.whileRunning.push_back([this] { PressHotKey("F3Key"); });
    PressHotKey("F2Key");
  });
  PressHotKey("F1Key");
  EXPECT_EQ(fp.started.size(), 2u);
  EXPECT_EQ(fp.shellExecutes.size(), 1u);
  EXPECT_LT(LogIndex("shell open http://example.com"), LogIndex("ended 2"));
  EXPECT_EQ(fp.log.back(), "ended 1");
}

}  // namespace
}  // namespace kv

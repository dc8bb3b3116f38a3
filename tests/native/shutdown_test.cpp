// The end of the main window: closing into the tray, "Exit", the orderly destruction that
// saves the settings and gives back the keys, and the end of the Windows session.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;

class WindowEnd : public FormTest {
 protected:
  void SetUp() override {
    WriteSettings(
        "[Keys]\r\nEnabled=1\r\n\r\n[F1Key]\r\nLabel=Mail\r\nAction=13\r\n\r\n"
        "[DelKey]\r\nLabel=Paste Text\r\nAction=31\r\nFile=hello\r\n\r\n");
    Create();
    ASSERT_EQ(Registered(), RegistrationsOf({"F1Key", "DelKey"}));
  }

  // What the end must do after the settings are written: every id released in key order,
  // every atom deleted, the tray icon hidden.
  std::vector<std::string> ReleaseLines() const {
    std::vector<std::string> lines;
    for (uint32_t id : form->hotKeyIds) lines.push_back("unregister " + std::to_string(id));
    for (uint32_t id : form->hotKeyIds) lines.push_back("delete atom " + std::to_string(id & 0xFFFF));
    lines.push_back("tray hide");
    return lines;
  }

  std::vector<std::string> LogSince(size_t mark) const {
    return {fp.log.begin() + static_cast<std::ptrdiff_t>(mark), fp.log.end()};
  }
};

TEST_F(WindowEnd, ClosingTheWindowSendsItToTheTrayAndChangesNothingElse) {
  const size_t mark = fp.log.size();
  const int writes = fp.writes;
  EXPECT_FALSE(form->FormClose());
  EXPECT_TRUE(fp.minimized);
  EXPECT_EQ(form->ShowMinimize1->caption(), "Show Key Layout");
  EXPECT_EQ(fp.writes, writes);
  EXPECT_EQ(LogSince(mark), (std::vector<std::string>{"minimize"}));
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key", "DelKey"}));

  // Closed again from the tray, it stays there.
  EXPECT_FALSE(form->FormClose());
  EXPECT_TRUE(fp.minimized);
}

TEST_F(WindowEnd, ExitFromTheTrayMenuAllowsTheClose) {
  form->Exit1->UserClick();
  EXPECT_FALSE(form->closeToTray);
  EXPECT_TRUE(fp.closeRequested);
  EXPECT_TRUE(form->FormClose());
  EXPECT_FALSE(fp.minimized);
}

TEST_F(WindowEnd, DestroySavesThenReleasesKeysAtomsAndTrayInThatOrder) {
  form->searchTerm = "weather";
  form->BitBtn2Click();  // keys off
  form->BitBtn2Click();  // and on again: F1 and Delete registered
  const size_t mark = fp.log.size();
  form->FormDestroy();

  std::vector<std::string> expected{"write " + SettingsFile()};
  for (const std::string& line : ReleaseLines()) expected.push_back(line);
  EXPECT_EQ(LogSince(mark), expected);

  EXPECT_TRUE(fp.registeredHotKeys.empty());
  EXPECT_FALSE(fp.trayVisible);
  const IniDocument saved = SavedSettings();
  EXPECT_TRUE(saved.ReadBool("Keys", "Enabled", false));
  EXPECT_EQ(saved.ReadString("Setting", "SearchTerm", ""), "weather");
  EXPECT_EQ(saved.ReadString("F1Key", "Label", ""), "Mail");
  EXPECT_EQ(saved.ReadString("DelKey", "File", ""), "hello");
  EXPECT_TRUE(fp.errors.empty());
}

TEST_F(WindowEnd, DestroySavesTheKeysOffState) {
  form->BitBtn2Click();
  form->FormDestroy();
  EXPECT_FALSE(SavedSettings().ReadBool("Keys", "Enabled", true));
}

TEST_F(WindowEnd, DestroyStillReleasesEverythingWhenTheSettingsCannotBeWritten) {
  const std::string before = fp.FileText(SettingsFile());
  fp.unwritable.insert(SettingsFile());
  const size_t mark = fp.log.size();
  form->FormDestroy();

  ASSERT_EQ(fp.errors.size(), 1u);
  EXPECT_NE(fp.errors[0].find("Keyvane.ini"), std::string::npos) << fp.errors[0];
  std::vector<std::string> expected{"error " + fp.errors[0]};
  for (const std::string& line : ReleaseLines()) expected.push_back(line);
  EXPECT_EQ(LogSince(mark), expected);
  EXPECT_TRUE(fp.registeredHotKeys.empty());
  EXPECT_FALSE(fp.trayVisible);
  EXPECT_EQ(fp.FileText(SettingsFile()), before);
}

TEST_F(WindowEnd, SessionEndSavesAndReleasesTheKeysBeforeTheHandlerReturns) {
  form->searchTerm = "news";
  const size_t mark = fp.log.size();
  form->OnEndSession(true);

  // Windows may end the process now: the settings are on disk and no key is held.
  EXPECT_TRUE(fp.registeredHotKeys.empty());
  EXPECT_EQ(SavedSettings().ReadString("Setting", "SearchTerm", ""), "news");
  EXPECT_TRUE(SavedSettings().ReadBool("Keys", "Enabled", false));
  EXPECT_TRUE(fp.terminated);
  std::vector<std::string> expected{"write " + SettingsFile()};
  for (uint32_t id : form->hotKeyIds) expected.push_back("unregister " + std::to_string(id));
  expected.push_back("terminate");
  EXPECT_EQ(LogSince(mark), expected);
}

TEST_F(WindowEnd, DestroyAfterTheSessionEndDoesNotWriteTheSettingsAgain) {
  form->OnEndSession(true);
  const int writes = fp.writes;
  const size_t mark = fp.log.size();
  form->FormDestroy();

  EXPECT_EQ(fp.writes, writes);
  EXPECT_EQ(LogSince(mark), ReleaseLines());
  EXPECT_TRUE(fp.errors.empty());
  EXPECT_FALSE(fp.trayVisible);
  EXPECT_EQ(fp.deletedAtoms.size(), static_cast<size_t>(kKeyCount));
}

TEST_F(WindowEnd, SessionEndReleasesTheKeysEvenWhenTheSettingsCannotBeWritten) {
  fp.unwritable.insert(SettingsFile());
  EXPECT_NO_THROW(form->OnEndSession(true));
  EXPECT_TRUE(fp.registeredHotKeys.empty());
  EXPECT_TRUE(fp.terminated);
  EXPECT_NO_THROW(form->FormDestroy());
  EXPECT_EQ(fp.deletedAtoms.size(), static_cast<size_t>(kKeyCount));
  EXPECT_FALSE(fp.trayVisible);
}

// WM_ENDSESSION with wParam FALSE says that the end of the session was called off (another
// program refused it): Windows goes on running, and so should Keyvane with its keys.
TEST_F(WindowEnd, CancelledSessionEndKeepsTheProgramAndItsKeys) {
  form->OnEndSession(false);
  EXPECT_FALSE(fp.terminated);
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key", "DelKey"}));
  const int writes = fp.writes;
  form->FormDestroy();
  EXPECT_EQ(fp.writes, writes + 1) << "the real end still saves the settings";
}

TEST_F(WindowEnd, SessionEndArrivingTwiceSavesOnce) {
  form->OnEndSession(true);
  const int writes = fp.writes;
  form->OnEndSession(true);
  EXPECT_EQ(fp.writes, writes);
}

}  // namespace
}  // namespace kv

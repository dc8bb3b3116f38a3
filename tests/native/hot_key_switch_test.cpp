// Switching the keys on and off: which keys are registered as global hot keys, what the
// ON/OFF button, the tray menu and the tray icon show, the saved state, and a pressed key
// whose action is the switch itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;

constexpr ui::Color kOnColor = 0x00BB00;
constexpr ui::Color kOffColor = 0xFF0000;

class HotKeySwitch : public FormTest {
 protected:
  // Hot-key calls made since `mark` in the fake's own record ("register 49153 0x70").
  std::vector<std::string> HotKeyCallsSince(size_t mark) const {
    return {fp.hotKeyLog.begin() + static_cast<std::ptrdiff_t>(mark), fp.hotKeyLog.end()};
  }
  std::vector<std::string> UnregisterAllExcept(std::string_view kept = {}) const {
    std::vector<std::string> lines;
    for (const KeyInfo& key : kKeys)
      if (key.section != kept) lines.push_back("unregister " + std::to_string(IdOf(key.section)));
    return lines;
  }
  size_t RegisterCalls() const {
    size_t n = 0;
    for (const std::string& line : fp.hotKeyLog) n += line.starts_with("register ");
    return n;
  }
  void ExpectOnDisplay() {
    EXPECT_EQ(form->BitBtn2->caption(), "ON");
    EXPECT_EQ(form->BitBtn2->font().color, kOnColor);
    EXPECT_EQ(form->DisableKeys1->caption(), "Disable Keys");
  }
  void ExpectOffDisplay() {
    EXPECT_EQ(form->BitBtn2->caption(), "OFF");
    EXPECT_EQ(form->BitBtn2->font().color, kOffColor);
    EXPECT_EQ(form->DisableKeys1->caption(), "Enable Keys");
  }
};

const char* const kMixedKeys =
    "[F1Key]\r\nLabel=Mail\r\nAction=13\r\n"
    "[F2Key]\r\nAction=13\r\n"
    "[F3Key]\r\nLabel=@!#\r\nAction=13\r\n"
    "[F4Key]\r\nLabel=\r\n"
    "[PSKey]\r\nLabel=Snap\r\nAction=28\r\nFile=1C\r\n"
    "[PBKey]\r\nLabel=Web\r\nAction=12\r\n"
    "[DelKey]\r\nLabel=Paste Text\r\nAction=31\r\n";

// ---- at start-up ----

TEST_F(HotKeySwitch, StartingOnRegistersExactlyTheKeysWithAShownTitleWithoutModifiers) {
  WriteSettings(kMixedKeys);
  Create();
  ExpectOnDisplay();
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key", "F4Key", "PSKey", "PBKey", "DelKey"}));
  EXPECT_EQ(fp.registeredHotKeys.at(IdOf("PSKey")), (std::pair<uint32_t, uint32_t>{0, 0x2C}));
  EXPECT_TRUE(fp.balloons.empty());
  EXPECT_EQ(fp.trayImage, 1);
}

TEST_F(HotKeySwitch, StartingOffShowsOffAndRegistersNothing) {
  WriteSettings(std::string("[Keys]\r\nEnabled=0\r\n") + kMixedKeys);
  Create();
  ExpectOffDisplay();
  EXPECT_FALSE(form->KeysOn());
  EXPECT_TRUE(fp.balloons.empty());
  EXPECT_EQ(fp.trayImage, 1);
  EXPECT_EQ(RegisterCalls(), 0u);
  EXPECT_TRUE(fp.registeredHotKeys.empty());
  EXPECT_FALSE(SavedSettings().ReadBool("Keys", "Enabled", true));
}

TEST_F(HotKeySwitch, StartingOffKeepsPauseBreakReadyWhenItIsTheSwitch) {
  WriteSettings(
      "[Keys]\r\nEnabled=0\r\n[F1Key]\r\nLabel=Mail\r\n"
      "[PBKey]\r\nLabel=Disable/ Enable Keys\r\nAction=35\r\n");
  Create();
  ExpectOffDisplay();
  EXPECT_EQ(Registered(), RegistrationsOf({"PBKey"}));

  // Pressing it switches the keys back on.
  form->OnHotKey(IdOf("PBKey"));
  ExpectOnDisplay();
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key", "PBKey"}));
}

TEST_F(HotKeySwitch, OnWindows2000ToVistaF12IsAttemptedWithoutARecord) {
  for (const auto& [major, minor] : {std::pair{5u, 0u}, {5u, 1u}, {5u, 2u}, {6u, 0u}}) {
    SCOPED_TRACE(std::to_string(major) + "." + std::to_string(minor));
    fp.files.clear();  // each start without settings, keys on
    fp.registeredHotKeys.clear();
    fp.version = test::NtVersion(major, minor);
    Create();
    EXPECT_EQ(Registered(), RegistrationsOf({"F12Key"}));
    form->BitBtn2Click();
    EXPECT_TRUE(fp.registeredHotKeys.empty());
  }
}

TEST_F(HotKeySwitch, OnAnUnrecognisedWindowsF12WithoutARecordIsNotRegistered) {
  fp.version = test::NtVersion(6, 1);
  Create();
  EXPECT_TRUE(fp.registeredHotKeys.empty());
  EXPECT_EQ(RegisterCalls(), 0u);
}

// ---- switching ----

TEST_F(HotKeySwitch, SwitchingOffReleasesEveryKeyInKeyOrder) {
  WriteSettings(kMixedKeys);
  Create();
  const size_t mark = fp.hotKeyLog.size();
  form->BitBtn2Click();
  ExpectOffDisplay();
  EXPECT_TRUE(fp.registeredHotKeys.empty());
  EXPECT_EQ(HotKeyCallsSince(mark), UnregisterAllExcept());
}

TEST_F(HotKeySwitch, SwitchingOffLeavesPauseBreakRegisteredWhenItIsTheSwitch) {
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n[PBKey]\r\nLabel=Toggle\r\nAction=35\r\n");
  Create();
  const size_t mark = fp.hotKeyLog.size();
  form->BitBtn2Click();
  EXPECT_EQ(Registered(), RegistrationsOf({"PBKey"}));
  size_t released = 0;
  for (const std::string& line : HotKeyCallsSince(mark)) {
    EXPECT_NE(line, "unregister " + std::to_string(IdOf("PBKey")));
    released += line.starts_with("unregister ");
  }
  EXPECT_EQ(released, static_cast<size_t>(kKeyCount - 1));
}

TEST_F(HotKeySwitch, OnlyPauseBreakIsKeptAsTheSwitchNotOtherKeysWithTheSwitchAction) {
  WriteSettings(
      "[F5Key]\r\nLabel=Toggle\r\nAction=35\r\n[PBKey]\r\nLabel=Web\r\nAction=12\r\n");
  Create();
  form->BitBtn2Click();
  EXPECT_TRUE(fp.registeredHotKeys.empty());
}

TEST_F(HotKeySwitch, SwitchingTwiceReturnsToTheFirstStateWithBalloonsAndTrayImages) {
  WriteSettings(kMixedKeys);
  Create();
  const auto atStart = Registered();
  const size_t mark = fp.log.size();

  form->BitBtn2Click();
  ExpectOffDisplay();
  EXPECT_EQ(fp.trayImage, 0);
  form->BitBtn2Click();
  ExpectOnDisplay();
  EXPECT_EQ(fp.trayImage, 1);
  EXPECT_EQ(Registered(), atStart);

  ASSERT_EQ(fp.balloons.size(), 2u);
  EXPECT_EQ(fp.balloons[0].title, "");
  EXPECT_EQ(fp.balloons[0].text, "Keys Disabled");
  EXPECT_EQ(fp.balloons[0].seconds, 10);
  EXPECT_EQ(fp.balloons[1].title, "");
  EXPECT_EQ(fp.balloons[1].text, "Keys Enabled");
  EXPECT_EQ(fp.balloons[1].seconds, 10);

  // The image changes before the balloon, and both before the keys.
  std::vector<std::string> sequence;
  for (size_t i = mark; i < fp.log.size(); ++i)
    if (fp.log[i].starts_with("tray image") || fp.log[i].starts_with("balloon") ||
        fp.log[i] == "unregister " + std::to_string(IdOf("F1Key")) ||
        fp.log[i] == "register " + std::to_string(IdOf("F1Key")))
      sequence.push_back(fp.log[i]);
  const std::string f1 = std::to_string(IdOf("F1Key"));
  EXPECT_EQ(sequence, (std::vector<std::string>{"tray image 0", "balloon Keys Disabled",
                                                "unregister " + f1, "tray image 1",
                                                "balloon Keys Enabled", "register " + f1}));
}

TEST_F(HotKeySwitch, TrayMenuItemSwitchesByItsOwnCaption) {
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n");
  Create();
  form->DisableKeys1->UserClick();
  ExpectOffDisplay();
  EXPECT_TRUE(fp.registeredHotKeys.empty());
  EXPECT_EQ(fp.balloons.back().text, "Keys Disabled");
  form->DisableKeys1->UserClick();
  ExpectOnDisplay();
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key"}));
  EXPECT_EQ(fp.balloons.back().text, "Keys Enabled");
}

TEST_F(HotKeySwitch, OnOffButtonClickedByTheUser) {
  Create();
  form->BitBtn2->UserClick();
  ExpectOffDisplay();
  form->BitBtn2->UserClick();
  ExpectOnDisplay();
}

TEST_F(HotKeySwitch, EverySwitchIsSavedAtOnceKeepingTheOtherSettings) {
  WriteSettings(
      "[Keys]\r\nEnabled=1\r\n[Setting]\r\nSearchTerm=shoes\r\n[F1Key]\r\nLabel=Mail\r\n");
  Create();
  form->BitBtn2Click();
  IniDocument saved = SavedSettings();
  EXPECT_FALSE(saved.ReadBool("Keys", "Enabled", true));
  EXPECT_EQ(saved.ReadString("Setting", "SearchTerm", ""), "shoes");
  EXPECT_EQ(saved.ReadString("F1Key", "Label", ""), "Mail");
  form->DisableKeys1Click();
  EXPECT_TRUE(SavedSettings().ReadBool("Keys", "Enabled", false));
  form->StartMonitor(false, false);
  EXPECT_FALSE(SavedSettings().ReadBool("Keys", "Enabled", true));
}

TEST_F(HotKeySwitch, SwitchingWithoutNotifyShowsNoBalloonAndKeepsTheTrayImage) {
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n");
  Create();
  form->StartMonitor(false, false);
  ExpectOffDisplay();
  EXPECT_TRUE(fp.registeredHotKeys.empty());
  form->StartMonitor(true, false);
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key"}));
  EXPECT_TRUE(fp.balloons.empty());
  EXPECT_EQ(fp.trayImage, 1);
  EXPECT_EQ(LogLines("tray image").size(), 1u) << "only the one of start-up";
}

TEST_F(HotKeySwitch, SwitchingOnReleasesKeysWhoseTitleIsGone) {
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n[F2Key]\r\nLabel=Web\r\n");
  Create();
  ASSERT_EQ(Registered(), RegistrationsOf({"F1Key", "F2Key"}));
  // Another layout arrives, as a loaded theme brings it.
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n[F3Key]\r\nLabel=Games\r\n");
  form->SetupButtons();
  form->StartMonitor(form->KeysOn(), false);
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key", "F3Key"}));
}

TEST_F(HotKeySwitch, SwitchingOnAgainWhileOnOrOffWhileOffIsHarmless) {
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n");
  Create();
  form->StartMonitor(true, true);
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key"}));
  form->StartMonitor(false, true);
  form->StartMonitor(false, true);
  EXPECT_TRUE(fp.registeredHotKeys.empty());
  EXPECT_TRUE(fp.errors.empty());
  EXPECT_TRUE(fp.messages.empty());
}

TEST_F(HotKeySwitch, AKeyHeldByAnotherProgramStillShowsAsSetAndIsNotReported) {
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n[F2Key]\r\nLabel=Web\r\n");
  Create();
  form->BitBtn2Click();
  fp.refusedHotKeys.insert(IdOf("F1Key"));
  form->BitBtn2Click();
  EXPECT_EQ(Registered(), RegistrationsOf({"F2Key"}));
  EXPECT_TRUE(Key("F1Key").title->visible());
  EXPECT_TRUE(fp.messages.empty());
  EXPECT_TRUE(fp.errors.empty());
}

TEST_F(HotKeySwitch, ButtonPicturesComeFromTheFilesBesideTheProgramWhenPresent) {
  Create();
  const std::string builtIn = form->BitBtn2->glyph();
  form->BitBtn2Click();
  EXPECT_EQ(form->BitBtn2->glyph(), builtIn) << "no keyoff.bmp";
  fp.files[fp.Beside("keyon.bmp")] = "BM";
  form->BitBtn2Click();
  EXPECT_EQ(form->BitBtn2->glyph(), fp.Beside("keyon.bmp"));
  form->BitBtn2Click();
  EXPECT_EQ(form->BitBtn2->glyph(), fp.Beside("keyon.bmp")) << "still no keyoff.bmp";
  fp.files[fp.Beside("keyoff.bmp")] = "BM";
  form->BitBtn2Click();
  form->BitBtn2Click();
  EXPECT_EQ(form->BitBtn2->glyph(), fp.Beside("keyoff.bmp"));
}

// ---- a pressed key ----

TEST_F(HotKeySwitch, PressingAKeyWhoseActionIsTheSwitchTogglesTheKeys) {
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n[PBKey]\r\nLabel=Toggle\r\nAction=35\r\n");
  Create();
  form->OnHotKey(IdOf("PBKey"));
  ExpectOffDisplay();
  EXPECT_EQ(Registered(), RegistrationsOf({"PBKey"}));
  ASSERT_EQ(fp.balloons.size(), 1u);
  EXPECT_EQ(fp.balloons[0].text, "Keys Disabled");
  EXPECT_FALSE(SavedSettings().ReadBool("Keys", "Enabled", true));

  form->OnHotKey(IdOf("PBKey"));
  ExpectOnDisplay();
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key", "PBKey"}));
  EXPECT_EQ(fp.balloons.back().text, "Keys Enabled");
}

TEST_F(HotKeySwitch, TheHandlerReadsTheRecordAsItIsNowWithoutCaseOrOnOffTest) {
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n");
  Create();
  // A section holding only the action: the handler does not look at the title.
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n[f7key]\r\naction=35\r\n");
  form->OnHotKey(IdOf("F7Key"));
  ExpectOffDisplay();
}

TEST_F(HotKeySwitch, AnUnknownIdDoesNothing) {
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n[PBKey]\r\nLabel=Toggle\r\nAction=35\r\n");
  Create();
  const size_t hotKeyCalls = fp.hotKeyLog.size();
  const size_t effects = fp.log.size();
  const int writes = fp.writes;
  uint32_t unknown = 0xBEEF;
  while (KeyIndexByHotKeyId(form->hotKeyIds, unknown)) ++unknown;
  for (uint32_t id : {0u, unknown, 0xFFFFFFFFu}) form->OnHotKey(id);
  ExpectOnDisplay();
  EXPECT_EQ(fp.hotKeyLog.size(), hotKeyCalls);
  EXPECT_EQ(fp.log.size(), effects);
  EXPECT_EQ(fp.writes, writes);
  EXPECT_TRUE(fp.balloons.empty());
}

}  // namespace
}  // namespace kv

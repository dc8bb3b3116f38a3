// A set key whose hot key another program holds: marked and explained on the layout, with
// every colour and caption as it was, and checked again whenever the keys are registered.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/form.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;
using test::KeySection;

constexpr const char* kHeldHint = "Another program is using this key; pressing it reaches that program";

class HeldKeys : public FormTest {
 protected:
  void Start(const std::string& records) {
    WriteSettings("[Keys]\r\nEnabled=1\r\n\r\n" + records);
    Create();
  }
  void SwitchOffAndOn() {
    form->BitBtn2->UserClick();
    form->BitBtn2->UserClick();
  }
  bool Held(const char* section) {
    const KeyView& view = Key(section);
    const bool marked = view.shape->marked();
    EXPECT_EQ(view.shape->hint(), marked ? kHeldHint : "") << section;
    EXPECT_EQ(view.title->hint(), marked ? kHeldHint : "") << section;
    return marked;
  }
};

TEST_F(HeldKeys, ARefusedKeyIsMarkedUntilItCanBeRegisteredAgain) {
  Start(KeySection("F7Key", "Notes", 10, "C:\\notes.exe") + KeySection("F8Key", "Sleep", 15));
  EXPECT_FALSE(Held("F7Key"));
  fp.refusedHotKeys.insert(IdOf("F7Key"));
  SwitchOffAndOn();
  EXPECT_TRUE(Held("F7Key"));
  EXPECT_FALSE(Held("F8Key"));
  // Nothing else about the key changes.
  EXPECT_EQ(Key("F7Key").shape->brush(), 0xAAAADDu);
  EXPECT_EQ(Key("F7Key").title->caption(), "Notes");
  EXPECT_EQ(Key("F7Key").trayItem->caption(), "F7 - Notes");
  EXPECT_EQ(form->caption(), "Keyvane - No Theme Loaded");

  form->SetupButtons();  // a refresh keeps what the last registration found
  EXPECT_TRUE(Held("F7Key"));

  form->BitBtn2->UserClick();  // off: the key is given back, so nothing is held from it
  EXPECT_FALSE(Held("F7Key"));
  fp.refusedHotKeys.clear();
  form->BitBtn2->UserClick();
  EXPECT_FALSE(Held("F7Key"));
}

TEST_F(HeldKeys, ApplyChecksTheEditedKeyAgain) {
  Start("");
  fp.refusedHotKeys.insert(IdOf("PSKey"));
  Key("PSKey").shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
  form->ComboBox1->UserSelect(15);  // Sleep
  form->BitBtn1->UserClick();
  EXPECT_TRUE(Held("PSKey"));
  EXPECT_EQ(Key("PSKey").shape->brush(), 0xAAAADDu);

  fp.refusedHotKeys.clear();
  form->BitBtn1->SetEnabled(true);
  form->ComboBox1->UserSelect(39);  // Remove Action
  form->BitBtn1->UserClick();
  EXPECT_FALSE(Held("PSKey"));
}

// Windows refuses a second registration of a key the window already holds. Every path that
// registers keys again meets that refusal for the keys Keyvane holds itself; none of them may
// take it for another program's.
TEST_F(HeldKeys, KeysKeyvaneHoldsItselfAreNeverMarkedOnAnyPathThatRegistersAgain) {
  const std::string pauseSwitch = KeySection("PBKey", "Switch", 35);
  fp.files[fp.Beside("Quick Start.kth")] = KeySection("F1Key", "Mail", 13) + pauseSwitch;
  fp.files[fp.Beside("Games.kth")] = KeySection("F1Key", "Mail", 13) + KeySection("F3Key", "Hearts", 23) + pauseSwitch;
  Start(KeySection("F1Key", "Mail", 13) + KeySection("F2Key", "Sleep", 15) + pauseSwitch);
  fp.refusedHotKeys.insert(IdOf("F9Key"));  // another program's key, which no step gives Keyvane
  auto expectNoneMarked = [&](const char* after) {
    for (const KeyInfo& key : kKeys) EXPECT_FALSE(Held(std::string(key.section).c_str())) << key.section << " after " << after;
  };
  expectNoneMarked("the start");

  Key("F1Key").shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
  form->Edit1->UserReplaceText("Post");
  form->BitBtn1->UserClick();
  expectNoneMarked("Apply of a new title");
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key", "F2Key", "PBKey"}));

  fp.messageAnswers.push_back(platform::mb::kIdNo);  // the question to save the edited keys first
  const auto& themes = form->ComboBox3->items();
  form->ComboBox3->UserSelect(static_cast<int>(std::find(themes.begin(), themes.end(), "Games") - themes.begin()));
  ASSERT_EQ(form->caption(), "Keyvane - Games Theme");
  expectNoneMarked("a theme chosen in the list");
  form->QuickStartButton->UserClick();
  expectNoneMarked("Quick Start");
  form->RunAction(34, "");  // Load Next Theme
  expectNoneMarked("Load Next Theme");
  form->StartMonitor(true, false);
  expectNoneMarked("ON while on");
  form->BitBtn2->UserClick();  // off, with Pause/Break kept as the switch
  ASSERT_EQ(form->BitBtn2->caption(), "OFF");
  expectNoneMarked("OFF with Pause/Break as the switch");
  EXPECT_EQ(Registered(), RegistrationsOf({"PBKey"}));
  PressHotKey("PBKey");
  ASSERT_EQ(form->BitBtn2->caption(), "ON");
  expectNoneMarked("ON through Pause/Break");

  // A key another program really holds is still told apart.
  Key("F9Key").shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
  form->ComboBox1->UserSelect(15);  // Sleep
  form->BitBtn1->UserClick();
  EXPECT_TRUE(Held("F9Key"));
  EXPECT_FALSE(Held("F1Key"));
}

TEST_F(HeldKeys, F12KeptByAnXpClassSystemShowsOnlyItsOwnState) {
  fp.version = test::NtVersion(5, 1);
  Start("");
  fp.refusedHotKeys.insert(IdOf("F12Key"));
  SwitchOffAndOn();
  EXPECT_FALSE(Held("F12Key"));
  EXPECT_EQ(Key("F12Key").title->caption(), "Disabled  by  Windows");
}

TEST_F(HeldKeys, EveryOneOfTheTwentyOneKeysCarriesTheMarkWhenHeldElsewhere) {
  WriteSettings(test::FullSettingsText());
  Create();
  for (const KeyInfo& key : kKeys) fp.refusedHotKeys.insert(IdOf(key.section));
  SwitchOffAndOn();
  for (const KeyInfo& key : kKeys) EXPECT_TRUE(Held(std::string(key.section).c_str())) << key.section;
}

TEST_F(HeldKeys, OnLaterWindowsF12HeldByAnotherProgramIsMarkedLikeAnyKey) {
  Start(KeySection("F12Key", "Help", 13));
  fp.refusedHotKeys.insert(IdOf("F12Key"));
  SwitchOffAndOn();
  EXPECT_TRUE(Held("F12Key"));
}

}  // namespace
}  // namespace kv

// A set key whose hot key another program holds: marked and explained on the layout, with
// every colour and caption as it was, and checked again whenever the keys are registered.
#include <gtest/gtest.h>

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

TEST_F(HeldKeys, F12KeptByAnXpClassSystemShowsOnlyItsOwnState) {
  fp.version = test::NtVersion(5, 1);
  Start("");
  fp.refusedHotKeys.insert(IdOf("F12Key"));
  SwitchOffAndOn();
  EXPECT_FALSE(Held("F12Key"));
  EXPECT_EQ(Key("F12Key").title->caption(), "Disabled  by  Windows");
}

}  // namespace
}  // namespace kv

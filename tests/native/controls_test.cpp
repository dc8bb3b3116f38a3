// The event rules of Keyvane's controls that the window's handlers depend on: which changes
// made by the program raise events, in which order the user's changes raise them, and where
// an error escaping a handler ends up.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/control.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/menu.h"

namespace kv::ui {
namespace {

// Removes the error sink at the end of each test; it is global to the program.
class ControlEvents : public ::testing::Test {
 protected:
  ~ControlEvents() override { SetUnhandledErrorSink(nullptr); }
  void CollectErrors() {
    SetUnhandledErrorSink([this](const std::exception& e) { errors.push_back(e.what()); });
  }
  std::vector<std::string> events;
  std::vector<std::string> errors;
};

TEST_F(ControlEvents, ProgramChoiceInADropDownRaisesNoEvent) {
  ComboBox list("list", nullptr);
  list.SetItems({"a", "b", "c"});
  list.onClick = [&](ComboBox&) { events.push_back("click"); };
  list.onChange = [&](ComboBox&) { events.push_back("change"); };
  list.SetItemIndex(1);
  list.SetItemIndex(2);
  list.SetItemIndex(-1);
  list.SetItemIndex(7);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(list.itemIndex(), -1) << "an index outside the list leaves no choice";
}

TEST_F(ControlEvents, UserChoiceInADropDownRaisesClickThenChangeWithTheNewChoiceInPlace) {
  ComboBox list("list", nullptr);
  list.SetItems({"a", "b", "c"});
  list.onClick = [&](ComboBox& c) { events.push_back("click " + c.text()); };
  list.onChange = [&](ComboBox& c) { events.push_back("change " + c.text()); };
  list.UserSelect(2);
  EXPECT_EQ(events, (std::vector<std::string>{"click c", "change c"}));
}

TEST_F(ControlEvents, DisabledDropDownIgnoresTheUser) {
  ComboBox list("list", nullptr);
  list.SetItems({"a", "b"});
  list.onChange = [&](ComboBox&) { events.push_back("change"); };
  list.SetEnabled(false);
  list.UserSelect(1);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(list.itemIndex(), -1);
}

TEST_F(ControlEvents, ProgramTextInAnEditBoxRaisesChangeOnlyWhenItDiffers) {
  Edit box("box", nullptr);
  box.onChange = [&](Edit& e) { events.push_back("change " + e.text()); };
  box.SetText("");
  EXPECT_TRUE(events.empty()) << "an empty box given empty text";
  box.SetText("Mail");
  box.SetText("Mail");
  box.SetText("mail");
  EXPECT_EQ(events, (std::vector<std::string>{"change Mail", "change mail"}));
}

TEST_F(ControlEvents, ProgramCheckingACheckBoxRaisesItsClickAsTheUserWould) {
  CheckBox box("box", nullptr);
  box.onClick = [&](CheckBox& b) { events.push_back(b.checked() ? "click on" : "click off"); };
  box.SetChecked(true);
  box.SetChecked(true);
  EXPECT_EQ(events, (std::vector<std::string>{"click on"}));
  box.SetChecked(false);
  EXPECT_EQ(events, (std::vector<std::string>{"click on", "click off"}));
  box.UserClick();
  EXPECT_EQ(events, (std::vector<std::string>{"click on", "click off", "click on"}));
}

TEST_F(ControlEvents, ErrorInAHandlerRunForTheUserReachesTheErrorSink) {
  CollectErrors();
  Button button("button", nullptr);
  button.onClick = [](Button&) { throw std::runtime_error("Cannot write settings"); };
  EXPECT_NO_THROW(button.UserClick());

  ComboBox list("list", nullptr);
  list.SetItems({"a", "b"});
  list.onClick = [&](ComboBox&) { events.push_back("click"); };
  list.onChange = [](ComboBox&) { throw std::runtime_error("from change"); };
  EXPECT_NO_THROW(list.UserSelect(1));

  Edit box("box", nullptr);
  box.onChange = [](Edit&) { throw std::runtime_error("from edit"); };
  EXPECT_NO_THROW(box.UserReplaceText("x"));

  CheckBox check("check", nullptr);
  check.onClick = [](CheckBox&) { throw std::runtime_error("from check box"); };
  EXPECT_NO_THROW(check.UserClick());

  MenuItem item("item", "Exit");
  item.onClick = [](MenuItem&) { throw std::runtime_error("from menu"); };
  EXPECT_NO_THROW(item.UserClick());

  EXPECT_EQ(errors, (std::vector<std::string>{"Cannot write settings", "from change", "from edit",
                                              "from check box", "from menu"}));
  EXPECT_EQ(events, (std::vector<std::string>{"click"}));
}

TEST_F(ControlEvents, ErrorFromAProgramSetCheckBoxReachesTheCallerNotTheSink) {
  CollectErrors();
  CheckBox box("box", nullptr);
  box.onClick = [](CheckBox&) { throw std::runtime_error("Cannot write settings"); };
  EXPECT_THROW(box.SetChecked(true), std::runtime_error);
  EXPECT_TRUE(box.checked()) << "the box keeps the state it was given";
  EXPECT_TRUE(errors.empty());
}

TEST_F(ControlEvents, ErrorFromAProgramSetEditTextReachesTheCaller) {
  CollectErrors();
  Edit box("box", nullptr);
  box.onChange = [](Edit&) { throw std::runtime_error("from edit"); };
  EXPECT_THROW(box.SetText("x"), std::runtime_error);
  EXPECT_TRUE(errors.empty());
}

TEST_F(ControlEvents, WithoutASinkAUserEventErrorReachesTheCaller) {
  Label label("label", nullptr);
  label.onDblClick = [](Label&) { throw std::runtime_error("no sink"); };
  EXPECT_THROW(label.UserDblClick(), std::runtime_error);
}

}  // namespace
}  // namespace kv::ui

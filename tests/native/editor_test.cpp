// The "Create or Edit Key" page end to end through the simulated Windows: a key's record
// loaded by a selection, the title that follows the action until the user types one, when
// Apply may be pressed, what Apply stores, Run and Browse. Expected values are the page's
// documented behaviour written out, never rebuilt from the page's own helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actions/catalogue.h"
#include "app/form.h"
#include "core/text_util.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;
using test::KeySection;

constexpr ui::Color kSelectedSet = 0x4444DD;
constexpr ui::Color kSelectedNotSet = 0x0000FF;
constexpr ui::Color kWhite = 0xFFFFFF;
constexpr int kComboKeyDelete = 37;  // "A".."Z", "1".."9", "0", "Tab", "Delete"
constexpr int kComboKeyZero = 35;
constexpr int kComboKeyC = 2;
constexpr int kComboKeyTab = 36;
constexpr const char* kChangedCaption = "Keyvane - Changes made to the Theme";

// List positions of the action drop-down.
constexpr int kListRunFile = 10, kListExplorer = 11, kListBrowser = 12, kListSleep = 15;
constexpr int kListTwoKeys = 28, kListThreeKeys = 29, kListPasteText = 31, kListPasteFile = 32;
constexpr int kListSearchTerm = 34, kListSeparatorAboveRemove = 38, kListRemove = 39;

class Editor : public FormTest {
 protected:
  // Starts with the given records and selects `section` as a click on its shape would.
  void StartAndSelect(const std::string& records, const std::string& section) {
    WriteSettings("[Keys]\r\nEnabled=1\r\n\r\n" + records);
    Create();
    RouteErrorsToErrorBox();
    Key(section).shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
  }
  std::string Section(const std::string& section) {
    const IniDocument doc = SavedSettings();
    std::string text;
    for (const char* name : {"Label", "Action", "File"})
      if (doc.HasValue(section, name)) text += std::string(name) + "=" + doc.ReadString(section, name, "") + ";";
    return text;
  }
  std::vector<int> ComboChoices() const {
    return {form->ComboBox4->itemIndex(), form->ComboBox5->itemIndex(), form->ComboBox6->itemIndex()};
  }
  bool ApplyEnabled() const { return form->BitBtn1->enabled(); }
};

// ---- selecting a key loads its record ----

struct Loaded {
  const char* name;
  std::string records;
  const char* section;
  std::string title;             // title box
  std::string action;            // caption chosen in the action drop-down
  std::string field;             // field box
  std::vector<int> combos;       // first modifier, modifier, combo key
  bool titleTyped;
  ui::Color fill;
  std::string heading;
  friend void PrintTo(const Loaded& l, std::ostream* os) { *os << l.name; }
};

class Selection : public Editor, public ::testing::WithParamInterface<Loaded> {};

TEST_P(Selection, LoadsTheStoredRecordIntoThePage) {
  const Loaded& c = GetParam();
  StartAndSelect(c.records, c.section);
  EXPECT_EQ(form->Edit1->text(), c.title);
  EXPECT_EQ(form->ComboBox1->text(), c.action);
  EXPECT_EQ(form->Edit2->text(), c.field);
  EXPECT_EQ(ComboChoices(), c.combos);
  EXPECT_EQ(form->titleTyped, c.titleTyped);
  EXPECT_EQ(Key(c.section).shape->brush(), c.fill);
  EXPECT_EQ(Key(c.section).title->font().color, kWhite);
  EXPECT_EQ(form->Label23->caption(), c.heading);
  EXPECT_EQ(form->ComboBox2->itemIndex(), Index(c.section));
  EXPECT_FALSE(ApplyEnabled());
  EXPECT_TRUE(fp.errors.empty());
  EXPECT_EQ(form->currentPage, PageId::Editor);
}

INSTANTIATE_TEST_SUITE_P(
    Records, Selection,
    ::testing::Values(
        Loaded{"SetRunFile", KeySection("PUKey", "Run File  notepad", 10, "C:\\Tools\\notepad.exe"),
               "PUKey", "Run File  notepad", "Run File \\/", "C:\\Tools\\notepad.exe", {-1, -1, -1},
               false, kSelectedSet, "Key - Page Up key"},
        Loaded{"TypedTitle", KeySection("F3Key", "Editor", 10, "C:\\Tools\\notepad.exe"), "F3Key",
               "Editor", "Run File \\/", "C:\\Tools\\notepad.exe", {-1, -1, -1}, true, kSelectedSet,
               "Key - F3 key"},
        Loaded{"EmptySection", "[F5Key]\r\n\r\n", "F5Key", "", "- Select One -", "", {-1, -1, -1},
               false, kSelectedNotSet, "Key - F5 key"},
        Loaded{"NotANumber", "[F6Key]\r\nLabel=Odd\r\nAction=ten\r\n\r\n", "F6Key", "Odd",
               "- Select One -", "", {-1, -1, -1}, true, kSelectedSet, "Key - F6 key"},
        Loaded{"OutsideTheCatalogue", KeySection("F7Key", "Far", 77), "F7Key", "Far",
               "- Select One -", "", {-1, -1, -1}, true, kSelectedSet, "Key - F7 key"},
        Loaded{"StoredAsCode", KeySection("F8Key", "Specify Search Term", 37), "F8Key",
               "Specify Search Term", "Specify Search Term", "", {-1, -1, -1}, false, kSelectedSet,
               "Key - F8 key"},
        Loaded{"TwoKeys1C", KeySection("F2Key", "Two-Key Combos  Ctrl C", 28, "1C"), "F2Key",
               "Two-Key Combos  Ctrl C", "Press 2 Key Combo", "", {-1, 1, kComboKeyC}, false,
               kSelectedSet, "Key - F2 key"},
        Loaded{"KeyInAnotherCase", KeySection("F2Key", "Copy", 28, "1c"), "F2Key", "Copy", "Press 2 Key Combo",
               "", {-1, 1, kComboKeyC}, true, kSelectedSet, "Key - F2 key"},
        Loaded{"ThreeKeys12Delete", KeySection("DelKey", "Task list", 29, "12delete"), "DelKey",
               "Task list", "Press 3 Key Combo", "", {1, 2, kComboKeyDelete}, true, kSelectedSet,
               "Key - Delete key"},
        Loaded{"ThreeKeysWithTheirTitle",
               KeySection("EndKey", "Three-Key Combos  Ctrl Alt Delete", 29, "12Delete"), "EndKey",
               "Three-Key Combos  Ctrl Alt Delete", "Press 3 Key Combo", "", {1, 2, kComboKeyDelete},
               false, kSelectedSet, "Key - End key"},
        Loaded{"TwoKeysWithoutFile", KeySection("F9Key", "Two", 28), "F9Key", "Two",
               "Press 2 Key Combo", "", {-1, 0, -1}, true, kSelectedSet, "Key - F9 key"},
        Loaded{"ThreeKeysWithoutFile", KeySection("F10Key", "Three", 29), "F10Key", "Three",
               "Press 3 Key Combo", "", {0, 0, kComboKeyZero}, true, kSelectedSet, "Key - F10 key"},
        Loaded{"ModifierBeyondTheList", KeySection("F11Key", "Odd", 28, "7C"), "F11Key", "Odd",
               "Press 2 Key Combo", "", {-1, -1, kComboKeyC}, true, kSelectedSet, "Key - F11 key"},
        Loaded{"UnknownComboKey", KeySection("HomeKey", "Odd", 28, "1Escape"), "HomeKey", "Odd",
               "Press 2 Key Combo", "", {-1, 1, -1}, true, kSelectedSet, "Key - Home key"}),
    [](const ::testing::TestParamInfo<Loaded>& p) { return std::string(p.param.name); });

// A hand-edited combination that cannot be read ("1" for three keys) is reported, and the key
// opens in the editor all the same, its lists without a choice, so that it can be mended.
TEST_F(Editor, AMalformedCombinationIsReportedAndTheKeyStillOpensForRepair) {
  StartAndSelect(KeySection("F4Key", "Three-Key Combos", 29, "1") + KeySection("F6Key", "Task", 29, "12Delete"),
                 "F6Key");
  ASSERT_EQ(ComboChoices(), (std::vector<int>{1, 2, kComboKeyDelete}));
  Key("F4Key").shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
  ASSERT_EQ(fp.errors, std::vector<std::string>{"'1' is not a valid key combination."});
  EXPECT_EQ(form->currentPage, PageId::Editor);
  EXPECT_EQ(form->currentKey, "F4Key");
  EXPECT_EQ(Key("F4Key").shape->brush(), kSelectedSet);
  EXPECT_EQ(form->ComboBox1->text(), "Press 3 Key Combo");
  EXPECT_EQ(ComboChoices(), (std::vector<int>{-1, -1, -1}));
  for (const ui::Control* c : std::initializer_list<const ui::Control*>{form->Label35, form->ComboBox4,
                                                                         form->ComboBox5, form->ComboBox6})
    EXPECT_TRUE(c->visible()) << c->name();
  EXPECT_FALSE(ApplyEnabled());
  // The stored title is the action's default, the automatic title of lists without a choice:
  // choosing the combination anew writes the title for it.
  for (ui::ComboBox* list : {form->ComboBox4, form->ComboBox5}) list->UserSelect(1);
  form->ComboBox6->UserSelect(kComboKeyC);
  EXPECT_EQ(form->Edit1->text(), "Three-Key Combos  Ctrl Ctrl C");
  form->BitBtn1->UserClick();
  EXPECT_EQ(Section("F4Key"), "Label=Three-Key Combos  Ctrl Ctrl C;Action=29;File=11C;");
  EXPECT_EQ(fp.errors.size(), 1u);
}

// When the first selection fails (the settings file held by another program as the editor
// turns to F1) there is still no key: the page stays as before any selection and Apply
// writes nothing, never a section without a name.
TEST_F(Editor, WithoutAKeyTheEditorStaysDisabledAndApplyWritesNothing) {
  WriteSettings(KeySection("F1Key", "Mail", 13));
  Create();
  RouteErrorsToErrorBox();
  fp.unreadable.insert(SettingsFile());
  form->TabEditor->UserClick();
  ASSERT_EQ(fp.errors.size(), 1u);
  fp.unreadable.clear();
  EXPECT_EQ(form->currentKey, "");
  for (const ui::Control* c : std::initializer_list<const ui::Control*>{form->Edit1, form->ComboBox1})
    EXPECT_FALSE(c->enabled()) << c->name();
  const std::string before = fp.FileText(SettingsFile());
  form->ComboBox1->UserSelect(kListSleep);  // refused: the list is disabled
  form->EditApplyClick();                   // as a stray click would reach it
  EXPECT_EQ(fp.FileText(SettingsFile()), before);
  // Once the file can be read, the next turn selects F1 and Apply works.
  form->TabIntro->UserClick();
  form->TabEditor->UserClick();
  EXPECT_EQ(form->currentKey, "F1Key");
  form->ComboBox1->UserSelect(kListSleep);
  form->BitBtn1->UserClick();
  EXPECT_EQ(Section("F1Key"), "Label=Sleep;Action=15;");
  EXPECT_EQ(fp.FileText(SettingsFile()).find("[]"), std::string::npos);
}

// Looking into a list and taking the item it already shows is no new choice: the title and the
// field the user typed, and unapplied edits, stay.
TEST_F(Editor, PickingTheShownItemAgainKeepsWhatTheUserTyped) {
  StartAndSelect(KeySection("F3Key", "Mail", 13), "F3Key");
  form->ComboBox1->UserSelect(kListRunFile);
  form->Edit2->UserType("C:\\Tools\\calc.exe");
  form->Edit1->UserReplaceText("My calculator");
  form->ComboBox1->UserSelect(kListRunFile);
  form->ComboBox2->UserSelect(Index("F3Key"));
  EXPECT_EQ(form->Edit1->text(), "My calculator");
  EXPECT_EQ(form->Edit2->text(), "C:\\Tools\\calc.exe");
  EXPECT_TRUE(ApplyEnabled());
  // Another item is a choice: it resets the page as always.
  form->ComboBox1->UserSelect(kListSleep);
  EXPECT_EQ(form->Edit1->text(), "Sleep");
}

// A key whose record cannot be read (the settings file held by another program for a moment)
// does not become the key the page works on: Apply still writes the key the page shows.
TEST_F(Editor, AKeyThatCannotBeReadLeavesThePageAndApplyOnTheShownKey) {
  StartAndSelect(KeySection("F1Key", "Mail", 13) + KeySection("F2Key", "Hearts", 23), "F1Key");
  fp.unreadable.insert(SettingsFile());
  Key("F2Key").shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
  ASSERT_EQ(fp.errors.size(), 1u);
  fp.unreadable.clear();
  EXPECT_EQ(form->currentKey, "F1Key");
  EXPECT_EQ(form->Label23->caption(), "Key - F1 key");
  form->ComboBox1->UserSelect(kListSleep);
  form->BitBtn1->UserClick();
  EXPECT_EQ(Section("F1Key"), "Label=Sleep;Action=15;");
  EXPECT_EQ(Section("F2Key"), "Label=Hearts;Action=23;");
}

TEST_F(Editor, ASelectionKeepsTheFieldOfAKeyWithoutFieldActionAndDropsUnappliedEdits) {
  StartAndSelect(KeySection("F1Key", "Run File  a", 10, "C:\\a.exe") + KeySection("F2Key", "Sleep", 15),
                 "F1Key");
  form->Edit1->UserType("x");
  ASSERT_TRUE(ApplyEnabled());
  form->ComboBox2->UserSelect(1);  // F2
  EXPECT_EQ(form->currentKey, "F2Key");
  EXPECT_EQ(form->Edit1->text(), "Sleep");
  EXPECT_EQ(form->Edit2->text(), "C:\\a.exe");  // Sleep does not load the field box
  EXPECT_FALSE(form->Edit2->visible());
  EXPECT_FALSE(ApplyEnabled());
  EXPECT_EQ(Key("F1Key").shape->brush(), 0xAAAADDu);  // the earlier highlight is gone
  EXPECT_EQ(Section("F1Key"), "Label=Run File  a;Action=10;File=C:\\a.exe;");
}

// ---- the title that follows the action ----

TEST_F(Editor, TheTitleFollowsTheFieldUntilACharacterIsTyped) {
  StartAndSelect("", "F5Key");
  form->ComboBox1->UserSelect(kListRunFile);
  EXPECT_EQ(form->Edit1->text(), "Run File");
  fp.openFileAnswers.push_back("C:\\Tools\\notepad.exe");
  form->Button2->UserClick();
  EXPECT_EQ(form->Edit2->text(), "C:\\Tools\\notepad.exe");
  EXPECT_EQ(form->Edit1->text(), "Run File  notepad");
  EXPECT_TRUE(ApplyEnabled());
  form->Edit2->UserReplaceText("");
  EXPECT_EQ(form->Edit1->text(), "Run File  ");  // two blanks after an emptied field
  EXPECT_FALSE(ApplyEnabled());

  form->ComboBox1->UserSelect(kListPasteFile);
  form->Edit2->UserType("D:\\Letters\\Plan.2009.txt");
  EXPECT_EQ(form->Edit1->text(), "Paste Contents of File  Plan");
  form->ComboBox1->UserSelect(kListPasteText);
  EXPECT_EQ(form->Edit2->text(), "");
  form->Edit2->UserType("Dear Sir. Thanks");
  EXPECT_EQ(form->Edit1->text(), "Paste Text  Dear Sir");

  form->Edit1->UserType("!");  // a typed character makes the title the user's own
  EXPECT_TRUE(form->titleTyped);
  form->Edit2->UserType(" again");
  EXPECT_EQ(form->Edit1->text(), "Paste Text  Dear Sir!");
  form->ComboBox1->UserSelect(kListTwoKeys);  // a new action resets it
  EXPECT_FALSE(form->titleTyped);
  EXPECT_EQ(form->Edit1->text(), "Two-Key Combos");
  form->ComboBox5->UserSelect(1);
  EXPECT_EQ(form->Edit1->text(), "Two-Key Combos");  // no key chosen yet
  form->ComboBox6->UserSelect(kComboKeyC);
  EXPECT_EQ(form->Edit1->text(), "Two-Key Combos  Ctrl C");

  form->ComboBox1->UserSelect(kListThreeKeys);
  EXPECT_EQ(ComboChoices(), (std::vector<int>{-1, -1, -1}));
  form->ComboBox6->UserSelect(kComboKeyDelete);
  form->ComboBox5->UserSelect(2);
  EXPECT_EQ(form->Edit1->text(), "Three-Key Combos");
  form->ComboBox4->UserSelect(1);
  EXPECT_EQ(form->Edit1->text(), "Three-Key Combos  Ctrl Alt Delete");
}

TEST_F(Editor, ATitleThatMatchesItsRecordFollowsLaterCombinationChanges) {
  StartAndSelect(KeySection("F2Key", "Two-Key Combos  Ctrl C", 28, "1C") +
                     KeySection("F3Key", "Mine", 28, "1C"),
                 "F2Key");
  form->ComboBox5->UserSelect(2);
  EXPECT_EQ(form->Edit1->text(), "Two-Key Combos  Alt C");
  Key("F3Key").shape->UserMouseUp(ui::MouseButton::Right, 1, 1);  // any button selects
  form->ComboBox5->UserSelect(2);
  EXPECT_EQ(form->Edit1->text(), "Mine");
}

// ---- when Apply may be pressed, and what the page shows ----

TEST_F(Editor, EachActionShowsItsFieldsAndNeedsItsArgument) {
  StartAndSelect("", "F1Key");
  const std::vector<int> nonActions{0, 1, 9, 14, 21, 27, 30, 33, 39};
  const std::vector<int> fieldActions{10, 11, 12, 31, 32};
  auto contains = [](const std::vector<int>& codes, int code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
  };
  for (int list = 0; list < 40; ++list) {
    form->ComboBox1->UserSelect(list);
    const int code = form->SelectedActionCode();
    SCOPED_TRACE(form->ComboBox1->text());
    const bool field = contains(fieldActions, code);
    const bool combo = code == 28 || code == 29;
    EXPECT_EQ(ApplyEnabled(), !contains(nonActions, code) && !field && !combo);
    EXPECT_EQ(form->Edit2->visible(), field);
    EXPECT_EQ(form->Label26->visible(), field);
    EXPECT_EQ(form->Button2->visible(), code == 10 || code == 11 || code == 32);
    EXPECT_EQ(form->ComboBox5->visible(), combo);
    EXPECT_EQ(form->ComboBox6->visible(), combo);
    EXPECT_EQ(form->Label35->visible(), combo);
    EXPECT_EQ(form->ComboBox4->visible(), code == 29);
    // The title and Run stay for every choice, the separator above "Paste" included.
    EXPECT_TRUE(form->Edit1->visible() && form->Button1->visible() && form->Label24->visible());
  }
  EXPECT_EQ(ActionCodeAt(kListSeparatorAboveRemove), 39);

  struct Field {
    int list;
    const char* caption;
    const char* hint;
  };
  for (const Field& f : {Field{kListRunFile, "File -", "Use the ... button to designate the file to run."},
                         Field{kListExplorer, "File -", "Use the ... button to designate where to open Windows Explorer."},
                         Field{kListBrowser, "Website -", "Type in the website address to open in browser."},
                         Field{kListPasteText, "Text -", "Type in the text to be pasted."},
                         Field{kListPasteFile, "File -", "Use the ... button to designate the file to paste."}}) {
    form->ComboBox1->UserSelect(f.list);
    EXPECT_EQ(form->Label26->caption(), f.caption);
    EXPECT_EQ(form->Label26->hint(), f.hint);
    EXPECT_EQ(form->Edit2->hint(), f.hint);
    form->Edit2->UserType("x");
    EXPECT_TRUE(ApplyEnabled()) << f.caption;
  }
  form->ComboBox1->UserSelect(kListThreeKeys);
  for (ui::ComboBox* list : {form->ComboBox6, form->ComboBox5}) {
    list->UserSelect(0);
    EXPECT_FALSE(ApplyEnabled());
  }
  form->ComboBox4->UserSelect(0);
  EXPECT_TRUE(ApplyEnabled());
  form->Edit1->UserReplaceText("");  // an empty title does not disable Apply
  EXPECT_TRUE(ApplyEnabled());

  form->ComboBox1->UserSelect(kListRemove);
  EXPECT_EQ(form->Edit1->text(), "");
  EXPECT_TRUE(ApplyEnabled());
}

// ---- Apply ----

struct Applied {
  const char* name;
  std::string records;
  std::vector<int> choices;       // action list position, then combo lists 4, 5, 6 (-1: skip)
  std::string field;              // typed into the field box after the action
  std::string title;              // typed over the title when not empty; "-" empties it
  std::string stored;             // the key's values afterwards
  bool registered;
  friend void PrintTo(const Applied& a, std::ostream* os) { *os << a.name; }
};

class Apply : public Editor, public ::testing::WithParamInterface<Applied> {};

TEST_P(Apply, StoresTheRecordRegistersTheKeyAndLeavesNoThemeCurrent) {
  const Applied& c = GetParam();
  // A theme loaded first, so that there is a current theme for Apply to undo.
  fp.files[fp.Beside("Start.kth")] = c.records;
  WriteSettings("[Keys]\r\nEnabled=1\r\n\r\n[Theme]\r\nIndexofSelected=-1\r\n\r\n");
  Create();
  RouteErrorsToErrorBox();
  fp.messageAnswers.push_back(platform::mb::kIdNo);  // no need to save the keys before the load
  form->ComboBox3->UserSelect(0);
  ASSERT_EQ(form->ComboBox3->itemIndex(), 0);
  ASSERT_EQ(form->currentThemeIndex, 0);
  ASSERT_EQ(form->ThemeLine->caption(), "Start Theme");
  ASSERT_EQ(form->caption(), "Keyvane - Start Theme");
  Key("F5Key").shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
  form->ComboBox1->UserSelect(c.choices[0]);
  for (size_t i = 1; i < c.choices.size(); ++i) {
    ui::ComboBox* lists[] = {form->ComboBox4, form->ComboBox5, form->ComboBox6};
    if (c.choices[i] >= 0) lists[i - 1]->UserSelect(c.choices[i]);
  }
  if (!c.field.empty()) form->Edit2->UserType(c.field);
  if (c.title == "-") form->Edit1->UserReplaceText("");
  else if (!c.title.empty()) form->Edit1->UserReplaceText(c.title);
  ASSERT_TRUE(ApplyEnabled());
  const uint32_t id = IdOf("F5Key");
  form->BitBtn1->UserClick();

  EXPECT_EQ(Section("F5Key"), c.stored);
  EXPECT_EQ(fp.registeredHotKeys.count(id), c.registered ? 1u : 0u);
  EXPECT_EQ(Key("F5Key").title->visible(), c.registered);
  EXPECT_EQ(Key("F5Key").trayItem->caption(),
            c.registered ? "F5 - " + Key("F5Key").title->caption() : std::string("F5 - (not set)"));
  EXPECT_FALSE(ApplyEnabled());
  EXPECT_EQ(form->caption(), kChangedCaption);
  EXPECT_EQ(fp.appTitle, kChangedCaption);
  EXPECT_EQ(form->ComboBox3->itemIndex(), -1);
  EXPECT_EQ(form->currentThemeIndex, -1);
  EXPECT_EQ(form->ThemeLine->caption(), "");
  EXPECT_EQ(form->currentKey, "F5Key");
  EXPECT_EQ(Key("F5Key").shape->brush(), c.registered ? 0xAAAADDu : 0xFFFFFFu);  // no highlight
}

INSTANTIATE_TEST_SUITE_P(
    Edits, Apply,
    ::testing::Values(
        Applied{"RunFile", "", {kListRunFile}, "C:\\Tools\\notepad.exe", "",
                "Label=Run File  notepad;Action=10;File=C:\\Tools\\notepad.exe;", true},
        Applied{"RemoveAction", KeySection("F5Key", "Old", 10, "C:\\old.exe"), {kListRemove}, "", "",
                "", false},
        Applied{"MarkerTyped", KeySection("F5Key", "Old", 10, "C:\\old.exe"), {kListSleep}, "", "@!#",
                "", false},
        Applied{"EmptyTitleWithSleep", "", {kListSleep}, "", "-", "Label=;Action=15;", true},
        Applied{"SleepKeepsTheOldFile", KeySection("F5Key", "Old", 10, "C:\\old.exe"), {kListSleep},
                "", "", "Label=Sleep;Action=15;File=C:\\old.exe;", true},
        Applied{"SearchTermStoresItsCode", "", {kListSearchTerm}, "", "",
                "Label=Specify Search Term;Action=37;", true},
        Applied{"ThreeKeys", "", {kListThreeKeys, 1, 2, kComboKeyDelete}, "", "",
                "Label=Three-Key Combos  Ctrl Alt Delete;Action=29;File=12Delete;", true},
        Applied{"TwoKeys", "", {kListTwoKeys, -1, 0, kComboKeyTab}, "", "",
                "Label=Two-Key Combos  Shift Tab;Action=28;File=0Tab;", true},
        Applied{"WebAddressKeptAsTyped", "", {kListBrowser}, "www.example.com/?q=%SEARCHTERM%", "",
                "Label=Internet Browser  www;Action=12;File=www.example.com/?q=%SEARCHTERM%;", true}),
    [](const ::testing::TestParamInfo<Applied>& p) { return std::string(p.param.name); });

TEST_F(Editor, ApplyWhileTheKeysAreOffRegistersOnlyTheEditedKey) {
  WriteSettings("[Keys]\r\nEnabled=0\r\n\r\n" + KeySection("F1Key", "Sleep", 15));
  Create();
  ASSERT_TRUE(Registered().empty());
  Key("F5Key").shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
  form->ComboBox1->UserSelect(kListSleep);
  form->BitBtn1->UserClick();
  EXPECT_EQ(Registered(), RegistrationsOf({"F5Key"}));
}

TEST_F(Editor, AFailedWriteLeavesFileKeyAndApplyAsTheyWere) {
  const std::string records = KeySection("F5Key", "Old", 15);
  StartAndSelect(records, "F5Key");
  const std::string before = fp.FileText(SettingsFile());
  const auto registered = Registered();
  const std::string caption = form->caption();
  form->ComboBox1->UserSelect(kListRemove);
  fp.unwritable.insert(SettingsFile());
  form->BitBtn1->UserClick();

  ASSERT_EQ(fp.errors.size(), 1u);
  EXPECT_NE(fp.errors[0].find(SettingsFile()), std::string::npos) << fp.errors[0];
  EXPECT_EQ(fp.FileText(SettingsFile()), before);
  EXPECT_EQ(Registered(), registered);
  EXPECT_EQ(Key("F5Key").title->caption(), "Old");
  EXPECT_TRUE(Key("F5Key").title->visible());
  EXPECT_TRUE(ApplyEnabled());
  EXPECT_EQ(form->caption(), caption);

  fp.unwritable.clear();  // the retry goes through
  form->BitBtn1->UserClick();
  EXPECT_EQ(Section("F5Key"), "");
  EXPECT_FALSE(Key("F5Key").title->visible());
}

// ---- Run and Browse ----

TEST_F(Editor, RunPerformsTheEditedActionWithoutStoringIt) {
  StartAndSelect("", "F5Key");
  form->ComboBox1->UserSelect(kListTwoKeys);
  form->ComboBox5->UserSelect(1);
  form->ComboBox6->UserSelect(kComboKeyC);
  const std::string stored = fp.FileText(SettingsFile());
  auto mark = EffectsMark();
  form->Button1->UserClick();
  const std::vector<std::string> run = EffectsSince(mark);
  mark = EffectsMark();
  form->RunAction(28, "1C");
  EXPECT_EQ(run, EffectsSince(mark));
  EXPECT_FALSE(run.empty());
  EXPECT_TRUE(ApplyEnabled());
  EXPECT_EQ(fp.FileText(SettingsFile()), stored);

  form->ComboBox6->SetItemIndex(-1);  // an incomplete combination sends nothing
  mark = EffectsMark();
  form->Button1->UserClick();
  EXPECT_TRUE(NoEffectsSince(mark));
}

TEST_F(Editor, CancellingBrowseChangesNothing) {
  StartAndSelect(KeySection("F5Key", "Mine", 10, "C:\\a.exe"), "F5Key");
  form->Button2->UserClick();  // the fake's dialog is cancelled
  EXPECT_EQ(fp.openFileDialogs, 1);
  EXPECT_EQ(form->Edit2->text(), "C:\\a.exe");
  EXPECT_EQ(form->Edit1->text(), "Mine");
  EXPECT_FALSE(ApplyEnabled());
}

// ---- running a key from the layout ----

TEST_F(Editor, DoubleClickingATitleRunsTheKeyThenSelectsIt) {
  StartAndSelect(KeySection("F1Key", "Sleep", 15) + KeySection("F7Key", "Notes", 10, "C:\\notes.exe"),
                 "F1Key");
  fp.started.clear();
  Key("F7Key").title->UserClick();
  Key("F7Key").title->UserDblClick();
  ASSERT_EQ(fp.started.size(), 1u);
  EXPECT_NE(fp.started[0].find("notes.exe"), std::string::npos) << fp.started[0];
  EXPECT_EQ(form->currentKey, "F7Key");
  EXPECT_EQ(form->currentPage, PageId::Editor);
}

TEST_F(Editor, OnAnXpClassSystemF12IsReachedOnlyThroughTheKeyList) {
  fp.version = test::NtVersion(5, 1);
  StartAndSelect(KeySection("F12Key", "Stored", 15), "F1Key");
  form->TurnPage(PageId::Intro);
  const auto mark = EffectsMark();
  Key("F12Key").shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
  Key("F12Key").title->UserClick();
  Key("F12Key").title->UserDblClick();
  EXPECT_EQ(form->currentKey, "F1Key");
  EXPECT_EQ(form->currentPage, PageId::Intro);
  EXPECT_TRUE(NoEffectsSince(mark));

  Key("F12Key").name->UserClick();  // its name label still turns the page
  EXPECT_EQ(form->currentPage, PageId::Editor);
  EXPECT_EQ(form->currentKey, "F1Key");

  form->ComboBox2->UserSelect(11);
  EXPECT_EQ(form->currentKey, "F12Key");
  EXPECT_EQ(Key("F12Key").shape->brush(), kSelectedSet);
  EXPECT_EQ(Key("F12Key").title->caption(), "Disabled  by  Windows");
  EXPECT_EQ(Key("F12Key").title->font().color, kWhite);
  EXPECT_EQ(form->Edit1->text(), "Stored");
}

TEST(ExtractFileNameWOExt, KeepsTheNameUpToItsFirstDot) {
  struct Case {
    const char* path;
    const char* name;
  };
  for (const Case& c : {Case{"C:\\Tools\\notepad.exe", "notepad"}, Case{"D:\\Letters\\Plan.2009.txt", "Plan"},
                        Case{"Dear Sir. Thanks", "Dear Sir"}, Case{"C:readme", "readme"},
                        Case{"\\\\server\\share\\.profile", ""}, Case{"www.example.com", "www"},
                        Case{"C:\\folder.d\\file", "file"}, Case{"", ""}})
    EXPECT_EQ(ExtractFileNameWOExt(c.path), c.name) << c.path;
}

}  // namespace
}  // namespace kv

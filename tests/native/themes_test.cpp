// Themes through the simulated Windows: the delivered files, saving, loading, cycling,
// matching, deleting and printing.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "actions/catalogue.h"
#include "app/form.h"
#include "core/key_record.h"
#include "tests/native/form_fixture.h"
#include "themes/theme_names.h"
#include "themes/theme_printout.h"

namespace kv {
namespace {

using test::FormTest;
using test::KeySection;

std::string ReadSourceFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

const char* const kDelivered[] = {"Set all to Nothing", "Quick Start", "Games", "Control Panel", "Shopping"};

class Themes : public FormTest {
 protected:
  std::string Theme(const std::string& name) const { return fp.Beside(name + ".kth"); }
  void PutTheme(const std::string& name, const std::string& text) { fp.files[Theme(name)] = text; }
  // Builds the window on the files in place, with the keys as the settings say.
  TForm1& Start() {
    Create();
    return *form;
  }
  std::vector<std::string> Titles() {
    std::vector<std::string> titles;
    for (const KeyView& key : form->keys) titles.push_back(key.title->visible() ? key.title->caption() : "");
    return titles;
  }
  void Select(const std::string& name) {
    for (int i = 0; i < form->ComboBox3->count(); ++i)
      if (form->ComboBox3->items()[static_cast<size_t>(i)] == name) form->ComboBox3->UserSelect(i);
  }
};

TEST_F(Themes, EveryDeliveredThemeLoadsWithValidActionsAndPrintsAsExpected) {
  const std::string assets = std::string(KEYVANE_TEST_DATA) + "/../../assets/beside-exe/";
  for (const char* name : kDelivered) PutTheme(name, ReadSourceFile(assets + name + ".kth"));
  Start();
  ASSERT_EQ(form->ComboBox3->count(), 5);
  for (const char* name : kDelivered) {
    SCOPED_TRACE(name);
    form->LoadTheme(name);
    const IniDocument settings = SavedSettings();
    int set = 0;
    for (const KeyInfo& key : kKeys) {
      const KeyRecord record = KeyRecord::Read(settings, key.section);
      if (record.action == 0) continue;
      ++set;
      const ActionEntry* action = FindAction(record.action);
      ASSERT_NE(action, nullptr) << key.section;
      EXPECT_FALSE(action->nonAction) << key.section;
      EXPECT_NE(record.action, StoredCode(ActionCode::RemoveAction)) << key.section;
      EXPECT_FALSE(record.LabelOr("").empty()) << key.section;
    }
    EXPECT_EQ(set == 0, std::string(name) == "Set all to Nothing");
    const IniFile theme = OpenIniFile(fp.platform(), Theme(name));
    EXPECT_EQ(ThemePrintout(theme.doc(), name),
              Lines(ReadSourceFile(std::string(KEYVANE_TEST_DATA) + "/themes/" + name + ".printout.txt")));
  }
}

TEST_F(Themes, CreatingProposesTheFirstFreeNumberAndStoresOnlySetKeysInOrder) {
  PutTheme("NewTheme1", "");
  PutTheme("NewTheme3", "");
  WriteSettings(KeySection("F2Key", "Ignored", 0) + KeySection("PSKey", "Paste", 31, "hi") +
                KeySection("F1Key", "Mail", 13));
  Start();
  fp.inputAnswers.push_back("Work");
  Key("F1Key").shape->UserMouseUp(ui::MouseButton::Left, 3, 3);
  ASSERT_EQ(Key("F1Key").shape->brush(), 0x4444DDu);
  form->Button8Click();
  EXPECT_EQ(Key("F1Key").shape->brush(), 0xAAAADDu) << "the keys are drawn afresh";
  EXPECT_EQ(fp.inputInitials, std::vector<std::string>{"NewTheme2"});
  EXPECT_EQ(fp.inputBoxes.at(0).caption, "Save Keys");
  EXPECT_EQ(fp.inputBoxes.at(0).text, "Enter name for New Theme");
  EXPECT_EQ(fp.FileText(Theme("Work")),
            "[F1Key]\r\nAction=13\r\nLabel=Mail\r\nFile=\r\n\r\n[PSKey]\r\nAction=31\r\nLabel=Paste\r\nFile=hi\r\n\r\n");
  EXPECT_EQ(form->ComboBox3->text(), "Work");
}

TEST_F(Themes, TheFirstProposalIsNewTheme1AndAnEmptyOrCancelledNameChangesNothing) {
  WriteSettings(KeySection("F1Key", "Mail", 13));
  Start();
  const auto mark = EffectsMark();
  fp.inputAnswers = {std::string(), std::nullopt};
  form->CreateTheme();
  form->CreateTheme();
  EXPECT_EQ(fp.inputInitials, (std::vector<std::string>{"NewTheme1", "NewTheme1"}));
  EXPECT_EQ(EffectsSince(mark), (std::vector<std::string>{"input Save Keys", "input Save Keys"}));
  EXPECT_TRUE(form->ComboBox3->items().empty());
}

TEST_F(Themes, AThemeThatCannotBeWrittenIsReportedAndLeavesNoEntry) {
  PutTheme("Games", "");
  WriteSettings(KeySection("F1Key", "Mail", 13));
  Start();
  RouteErrorsToErrorBox();
  fp.unwritable.insert(Theme("Work"));
  fp.inputAnswers.push_back("Work");
  Key("F1Key").shape->UserMouseUp(ui::MouseButton::Left, 3, 3);
  ASSERT_EQ(Key("F1Key").shape->brush(), 0x4444DDu);
  form->Button8->UserClick();
  ASSERT_EQ(fp.errors.size(), 1u);
  EXPECT_EQ(fp.errors[0], "Cannot save \"" + Theme("Work") + "\": Access is denied.");
  EXPECT_EQ(form->ComboBox3->items(), std::vector<std::string>{"Games"});
  EXPECT_FALSE(fp.HasFile(Theme("Work")));
  EXPECT_EQ(Key("F1Key").shape->brush(), 0xAAAADDu) << "the keys are drawn afresh all the same";
}

TEST_F(Themes, TypedNamesOfListedThemesAskOrAreRefused) {
  PutTheme("Games", KeySection("F1Key", "Old", 22));
  PutTheme("Quick Start", "");
  WriteSettings(KeySection("F3Key", "New", 13));
  Start();
  fp.inputAnswers = {"quick start", "games", "games"};
  fp.messageAnswers = {platform::mb::kIdOk, platform::mb::kIdNo, platform::mb::kIdYes};
  const int writesBefore = fp.writes;
  form->CreateTheme();
  EXPECT_EQ(fp.messages.back().text,
            "quick start is a fixed theme name that may not be changed.  Please use a different name.");
  const int selectedBefore = form->ComboBox3->itemIndex();
  form->CreateTheme();
  EXPECT_EQ(fp.messages.back().caption, "Theme Already Exists");
  EXPECT_EQ(fp.messages.back().style, platform::mb::kYesNo | platform::mb::kIconWarning);
  EXPECT_EQ(fp.writes, writesBefore);
  EXPECT_EQ(form->ComboBox3->itemIndex(), selectedBefore) << "No leaves the list as it was";
  form->CreateTheme();
  EXPECT_EQ(fp.files.count(Theme("games")), 0u);  // the listed file is replaced, not a second one made
  EXPECT_NE(fp.FileText(Theme("Games")).find("Label=New"), std::string::npos);
}

// Windows file names ignore letter case for every letter: a typed name that differs from a
// listed theme only so names that theme's file, which must not be replaced without the question.
TEST_F(Themes, NamesBeyondAsciiAreTheListedThemeWhateverTheirLetterCase) {
  const std::pair<std::string, std::string> names[] = {
      {"Über", "über"}, {"Äpfel", "äPFEL"}, {"ΣΟΦΙΑ", "σοφια"}, {"Дом", "дОМ"}};
  for (const auto& [listed, typed] : names) PutTheme(listed, KeySection("F1Key", "Old " + listed, 22));
  WriteSettings(KeySection("F3Key", "New", 13));
  Start();
  const size_t files = fp.files.size();
  const std::vector<std::string> list = form->ComboBox3->items();
  for (const auto& [listed, typed] : names) {
    fp.inputAnswers = {typed, typed};
    fp.messageAnswers = {platform::mb::kIdNo, platform::mb::kIdYes};
    form->CreateTheme();
    ASSERT_FALSE(fp.messages.empty()) << typed << " was taken for a new theme";
    EXPECT_EQ(fp.messages.back().caption, "Theme Already Exists") << typed;
    EXPECT_EQ(fp.messages.back().text, typed + " already exists as a title of a theme.  Do you want to "
                                               "replace that theme with the current key arrangement?");
    EXPECT_EQ(fp.FileText(Theme(listed)), KeySection("F1Key", "Old " + listed, 22)) << "No keeps " << listed;
    form->CreateTheme();
    EXPECT_NE(fp.FileText(Theme(listed)).find("Label=New"), std::string::npos) << "Yes replaces " << listed;
    EXPECT_EQ(form->ComboBox3->text(), listed);
  }
  EXPECT_EQ(fp.files.size(), files);
  EXPECT_EQ(form->ComboBox3->items(), list);

  // A fixed name is refused in any letter case, and so is its deletion.
  PutTheme("quick start", "");
  form->LoadThemesList();
  fp.inputAnswers = {"QUICK START"};
  form->CreateTheme();
  EXPECT_EQ(fp.messages.back().text, "QUICK START is a fixed theme name that may not be changed.  Please use a different name.");
  Select("quick start");
  form->suiButton1Click();
  EXPECT_EQ(fp.messages.back().text, "quick start is a fixed theme name that may not be deleted.");
  EXPECT_TRUE(fp.HasFile(Theme("quick start")));
}

TEST_F(Themes, NamesThatCannotBeAFileBesideTheProgramAreRefusedAndNothingIsWritten) {
  const std::string tooLong(260, 'x');
  const char* const unsafe[] = {"a\\b", "../up", "c:evil", "a/b", "star*", "what?", "say\"", "<x>", "pipe|",
                                "tab\there", " lead", "trail ", "dot.", "..", "CON", "prn.txt", "Aux", "nul ",
                                "COM1", "lpt9.kth", "COM0", "COM\u00B9", "lpt\u00B2", "LPT\u00B3.old"};
  Start();
  for (const std::string name : unsafe) {
    SCOPED_TRACE(name);
    const auto mark = EffectsMark();
    fp.inputAnswers.push_back(name);
    form->CreateTheme();
    EXPECT_EQ(EffectsSince(mark), (std::vector<std::string>{"input Save Keys", "message " + fp.messages.back().text}));
    EXPECT_NE(fp.messages.back().text.find("cannot be used as a theme name"), std::string::npos);
  }
  fp.inputAnswers.push_back(tooLong);
  form->CreateTheme();
  EXPECT_NE(fp.messages.back().text.find("too long"), std::string::npos);
  // Windows' limits, counted in UTF-16 units: 255 for the file name with ".kth", 259 for the path.
  EXPECT_FALSE(ThemeNameProblem(std::string(251, 'x'), 3));
  EXPECT_TRUE(ThemeNameProblem(std::string(252, 'x'), 3));
  EXPECT_FALSE(ThemeNameProblem(std::string(100, 'x'), 155));
  EXPECT_TRUE(ThemeNameProblem(std::string(100, 'x'), 156));
  const std::string emoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
  std::string wide;
  for (int i = 0; i < 125; ++i) wide += emoji;
  EXPECT_FALSE(ThemeNameProblem(wide + "x", 3));   // 251 units
  EXPECT_TRUE(ThemeNameProblem(wide + "xx", 3));   // 252 units
  EXPECT_EQ(ThemeNameProblem("", 3), "\"\" cannot be used as a theme name: it is empty.");
  EXPECT_EQ(ThemeNameProblem("con .layout", 3),
            "\"con .layout\" cannot be used as a theme name: Windows keeps that name for a device.");
  // Only the Latin-1 superscripts one to three count as a port's digit, not superscript four.
  for (const char* fine : {"My.Layout", "COM10", "Console", "Ünïcode", "COM\u2074", "LPT\u00B9\u00B9"})
    EXPECT_FALSE(ThemeNameProblem(fine, 30)) << fine;
}

TEST_F(Themes, ADottedNameIsListedLoadedAndMatchedWhole) {
  WriteSettings(KeySection("F5Key", "Keep me", 13));
  Start();
  fp.inputAnswers.push_back("My.Layout");
  form->CreateTheme();
  ASSERT_TRUE(fp.HasFile(Theme("My.Layout")));
  EXPECT_EQ(form->ComboBox3->items(), std::vector<std::string>{"My.Layout"});
  EXPECT_EQ(form->ThemeLine->caption(), "My.Layout Theme");
  form->currentThemeIndex = 0;
  Select("My.Layout");
  EXPECT_EQ(Key("F5Key").title->caption(), "Keep me");
  EXPECT_TRUE(Key("F5Key").title->visible());
}

TEST_F(Themes, LoadingCopiesRecordsAnnouncesAndFollowsTheOnOffState) {
  WriteSettings(test::FullSettingsText());
  PutTheme("Empty", "[F1Key]\r\nLabel=no action\r\n");
  PutTheme("One", KeySection("DelKey", "Sleep", 15));
  Start();
  ASSERT_EQ(Registered().size(), 21u);
  form->LoadTheme("Empty");
  EXPECT_EQ(Titles(), std::vector<std::string>(21, ""));
  EXPECT_TRUE(Registered().empty());
  EXPECT_EQ(fp.balloons.back().text, "Theme Loaded");
  EXPECT_EQ(fp.balloons.back().title, "Empty");
  EXPECT_EQ(form->caption(), "Keyvane - Empty Theme");
  EXPECT_EQ(fp.appTitle, "Keyvane - Empty Theme");
  EXPECT_EQ(form->ThemeLine->caption(), "Empty Theme");

  form->BitBtn2Click();  // off
  const int selected = form->ComboBox3->itemIndex();
  form->LoadTheme("One");
  EXPECT_TRUE(Registered().empty());
  EXPECT_EQ(fp.trayImage, 1);
  EXPECT_EQ(Key("DelKey").title->caption(), "Sleep");
  EXPECT_EQ(form->ComboBox3->itemIndex(), selected);
}

TEST_F(Themes, ALoadWhoseSettingsCannotBeWrittenIsNotAnnounced) {
  PutTheme("One", KeySection("DelKey", "Sleep", 15));
  Start();
  RouteErrorsToErrorBox();
  fp.unwritable.insert(SettingsFile());
  const size_t balloons = fp.balloons.size();
  form->currentThemeIndex = 0;
  Select("One");
  EXPECT_EQ(fp.errors.size(), 1u);
  EXPECT_EQ(fp.balloons.size(), balloons);
  EXPECT_FALSE(Key("DelKey").title->visible());
}

TEST_F(Themes, TheListKeepsThePositionAndSkipsFilesNotEndingInTheExtension) {
  PutTheme("B", "");
  PutTheme("C", "");
  fp.files[fp.Beside("x.kthx")] = "";
  Start();
  form->ComboBox3->SetItemIndex(1);
  PutTheme("A", "");
  form->LoadThemesList();
  EXPECT_EQ(form->ComboBox3->items(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(form->ComboBox3->itemIndex(), 1);
}

TEST_F(Themes, QuickStartLoadsAndTurnsToTheEditorOrAsksForAReinstall) {
  Start();
  auto mark = EffectsMark();
  form->QuickStartButton->UserClick();
  EXPECT_EQ(EffectsSince(mark), std::vector<std::string>{"message Keyvane is missing some files.  Please reinstall."});
  PutTheme("Quick Start", KeySection("F1Key", "Mail", 13));
  form->LoadThemesList();
  fp.messageAnswers = {platform::mb::kIdNo};  // the keys are no theme: no need to save them
  form->QuickStartButton->UserClick();
  EXPECT_EQ(fp.messages.at(1).caption, "Save Current Key Setup?");
  EXPECT_EQ(form->currentPage, PageId::Editor);
  EXPECT_EQ(form->ComboBox3->text(), "Quick Start");
  EXPECT_EQ(Key("F1Key").title->caption(), "Mail");
  EXPECT_EQ(form->Edit1->text(), "Mail") << "the editor shows F1 as the theme has it";
  ASSERT_FALSE(fp.balloons.empty());
  EXPECT_EQ(fp.balloons.back().title, "Quick Start");
  EXPECT_EQ(fp.balloons.back().text, "Theme Loaded");
  EXPECT_EQ(fp.balloons.back().seconds, 10);
  EXPECT_EQ(fp.messages.back().text.rfind("The Quick Start Theme has been loaded into the keyboard.", 0), 0u);
}

TEST_F(Themes, MatchingTriesTheSelectedThemeFirstThenListOrder) {
  const std::string keys = KeySection("F1Key", "Mail", 13);
  PutTheme("A", keys);
  PutTheme("B", keys);
  PutTheme("C", KeySection("F1Key", "mail", 13));
  WriteSettings(keys + "[Theme]\r\nIndexofSelected=1\r\n");
  Start();
  EXPECT_EQ(form->ComboBox3->text(), "B");
  EXPECT_EQ(form->currentThemeIndex, 1);
  form->ComboBox3->SetItemIndex(2);  // "C" differs only in letter case
  form->Check4CurrentTheme();
  EXPECT_EQ(form->ComboBox3->text(), "A");
  EXPECT_EQ(form->currentThemeIndex, 0);

  WriteSettings(KeySection("F1Key", "Other", 13));
  form->ComboBox3->SetItemIndex(-1);
  form->SetCaptionWithTitle("Keyvane - Changes made to the Theme");
  form->ThemeLine->SetCaption("");
  const auto mark = EffectsMark();
  form->Check4CurrentTheme();
  EXPECT_EQ(form->currentThemeIndex, -1);
  EXPECT_TRUE(NoEffectsSince(mark)) << "no theme is shown as loaded when none matches";
  EXPECT_EQ(form->caption(), "Keyvane - Changes made to the Theme");
  EXPECT_EQ(form->ThemeLine->caption(), "");
}

TEST_F(Themes, F12IsLeftOutOfMatchingOnlyWhereWindowsKeepsIt) {
  for (const auto& [version, matches] : {std::pair{test::NtVersion(5, 1), true}, {test::NtVersion(6, 1), false}}) {
    fake::FakePlatform::HeldMutexes().clear();
    fp.version = version;
    PutTheme("T", KeySection("F1Key", "Mail", 13));
    WriteSettings(KeySection("F1Key", "Mail", 13) + KeySection("F12Key", "Extra", 13));
    Start();
    EXPECT_EQ(form->currentThemeIndex == 0, matches) << version.major << "." << version.minor;
  }
}

TEST_F(Themes, DeletingRefusesFixedNamesAsksForOthersAndDropsMissingFiles) {
  PutTheme("Games", "");
  PutTheme("Quick Start", "");
  Start();
  form->ComboBox3->SetItems({"Control Panel", "Games", "Quick Start"});
  form->ComboBox3->SetItemIndex(2);
  form->suiButton1Click();
  EXPECT_EQ(fp.messages.back().text, "Quick Start is a fixed theme name that may not be deleted.");
  EXPECT_TRUE(fp.HasFile(Theme("Quick Start")));

  form->ComboBox3->SetItemIndex(1);
  fp.messageAnswers = {platform::mb::kIdNo, platform::mb::kIdYes};
  form->suiButton1Click();
  EXPECT_EQ(fp.messages.back().caption, "Delete Games Theme?");
  EXPECT_EQ(fp.messages.back().text,
            "The Games theme will be deleted.  Are you sure you want to delete the Games theme?");
  EXPECT_TRUE(fp.HasFile(Theme("Games")));
  form->suiButton1Click();
  EXPECT_FALSE(fp.HasFile(Theme("Games")));
  EXPECT_EQ(form->ComboBox3->items(), (std::vector<std::string>{"Control Panel", "Quick Start"}));
  EXPECT_EQ(form->ComboBox3->itemIndex(), 0);

  const size_t messages = fp.messages.size();
  WriteSettings(KeySection("F6Key", "Changed meanwhile", 13));  // shown by the refresh that follows
  form->suiButton1Click();  // "Control Panel" is listed but has no file
  EXPECT_EQ(fp.messages.size(), messages);
  EXPECT_EQ(form->ComboBox3->items(), std::vector<std::string>{"Quick Start"});
  EXPECT_EQ(form->ComboBox3->itemIndex(), 0);
  EXPECT_EQ(Key("F6Key").title->caption(), "Changed meanwhile");

  // With no entry chosen nothing happens at all.
  form->ComboBox3->SetItemIndex(-1);
  const auto mark = EffectsMark();
  form->suiButton1Click();
  EXPECT_TRUE(NoEffectsSince(mark));
  EXPECT_EQ(form->ComboBox3->itemIndex(), -1);
}

TEST_F(Themes, AConfirmedDeletionSelectsTheFirstEntryAndRedrawsTheKeys) {
  PutTheme("Alpha", "");
  PutTheme("Beta", "");
  Start();
  Select("Alpha");
  WriteSettings(KeySection("F6Key", "Changed meanwhile", 13));
  fp.messageAnswers = {platform::mb::kIdYes};
  form->suiButton1Click();
  EXPECT_EQ(form->ComboBox3->items(), std::vector<std::string>{"Beta"});
  EXPECT_EQ(form->ComboBox3->itemIndex(), 0);
  EXPECT_EQ(Key("F6Key").title->caption(), "Changed meanwhile");
}

TEST_F(Themes, PrintingSends31LinesAndReportsAFailedJob) {
  PutTheme("T", KeySection("F1Key", "Mail", 13) + KeySection("SLKey", "", 15));
  Start();
  form->ComboBox3->SetItemIndex(-1);
  form->Button6Click();
  EXPECT_EQ(fp.messages.back().text, "No Theme is selected.  Please select a Theme and try again.");
  EXPECT_TRUE(fp.printed.empty());

  form->ComboBox3->SetItemIndex(0);
  fp.printAnswers = {platform::PrintOutcome::Printed, platform::PrintOutcome::Cancelled,
                     platform::PrintOutcome::Failed};
  form->Button6Click();
  ASSERT_EQ(fp.printed.size(), 1u);
  const std::vector<std::string>& lines = fp.printed[0].lines;
  ASSERT_EQ(lines.size(), 31u);
  EXPECT_EQ(lines[1], "K e y v a n e");
  EXPECT_EQ(lines[8], "Theme - T");
  EXPECT_EQ(lines[10], "F1Key = Mail");
  EXPECT_EQ(lines[28], "SLKey = ");
  const size_t messages = fp.messages.size();
  form->Button6Click();
  EXPECT_EQ(fp.messages.size(), messages);
  form->Button6Click();
  EXPECT_EQ(fp.messages.back().text, "Error Printing text.");
}

TEST_F(Themes, LoadNextThemeCyclesAndAsksToSaveOnlyWithoutACurrentTheme) {
  PutTheme("A", KeySection("F1Key", "A", 13));
  PutTheme("B", KeySection("F1Key", "B", 13));
  WriteSettings("[Theme]\r\nIndexofSelected=1\r\n");
  Start();
  form->currentThemeIndex = 1;
  form->LoadNextTheme();  // last -> first
  EXPECT_EQ(form->ComboBox3->itemIndex(), 0);
  EXPECT_EQ(form->currentThemeIndex, 0);
  EXPECT_EQ(Key("F1Key").title->caption(), "A");
  EXPECT_TRUE(fp.messages.empty());

  form->ComboBox3->SetItemIndex(-1);
  form->currentThemeIndex = -1;
  fp.messageAnswers = {platform::mb::kIdNo};
  form->LoadNextTheme();  // nothing selected -> first, after the question
  EXPECT_EQ(fp.messages.back().caption, "Save Current Key Setup?");
  EXPECT_EQ(form->ComboBox3->itemIndex(), 0);

  form->currentThemeIndex = -1;
  fp.messageAnswers = {platform::mb::kIdYes};
  fp.inputAnswers.push_back("Saved");  // saved and selected, so the one after it is loaded
  form->LoadNextTheme();
  EXPECT_TRUE(fp.HasFile(Theme("Saved")));
  EXPECT_EQ(form->ComboBox3->items(), (std::vector<std::string>{"A", "B", "Saved"}));
}

TEST_F(Themes, LoadNextThemeGoesToTheFollowingEntryFromAnyPlace) {
  for (const char* name : {"A", "B", "C"}) PutTheme(name, KeySection("F1Key", name, 13));
  Start();
  form->currentThemeIndex = 0;
  for (const auto& [from, to] : {std::pair{0, 1}, {1, 2}, {2, 0}}) {
    form->ComboBox3->SetItemIndex(from);
    form->LoadNextTheme();
    EXPECT_EQ(form->ComboBox3->itemIndex(), to) << "from " << from;
    EXPECT_EQ(Key("F1Key").title->caption(), form->ComboBox3->items()[static_cast<size_t>(to)]);
  }
}

TEST_F(Themes, LoadNextThemeWithoutThemesOnlyAsksAndLoadsNothing) {
  WriteSettings(KeySection("F1Key", "Mine", 13));
  Start();
  form->currentThemeIndex = -1;
  fp.messageAnswers = {platform::mb::kIdNo};
  const auto mark = EffectsMark();
  form->LoadNextTheme();
  EXPECT_EQ(EffectsSince(mark), std::vector<std::string>{
                                    "message You are about to load a Theme.  Do you want to save the current "
                                    "keys and their setup?"});
  EXPECT_EQ(Key("F1Key").title->caption(), "Mine");
}

TEST_F(Themes, NoToTheSaveQuestionSavesNothingAndYesSavesTheKeysBeforeTheLoad) {
  PutTheme("A", KeySection("F1Key", "A", 13));
  WriteSettings(KeySection("F2Key", "Mine", 13));
  Start();
  form->currentThemeIndex = -1;
  fp.messageAnswers = {platform::mb::kIdNo};
  Select("A");
  EXPECT_TRUE(fp.inputBoxes.empty()) << "No asks for no name";
  EXPECT_EQ(Key("F1Key").title->caption(), "A");

  WriteSettings(KeySection("F2Key", "Mine", 13));
  form->currentThemeIndex = -1;
  fp.messageAnswers = {platform::mb::kIdYes};
  fp.inputAnswers.push_back("Before");
  Select("A");
  EXPECT_EQ(fp.FileText(Theme("Before")), "[F2Key]\r\nAction=13\r\nLabel=Mine\r\nFile=\r\n\r\n");
}

// Yes to saving the keys first is a wish to keep them: when no theme holds them afterwards (the
// name box cancelled, a fixed name refused, No to replacing a theme) or the question ended
// without an answer (Exit chosen in the tray meanwhile), no theme replaces them.
TEST_F(Themes, KeysTheUserAskedToSaveAreNeverReplacedUnsaved) {
  PutTheme("Games", KeySection("F1Key", "Game", 22));
  PutTheme("Quick Start", KeySection("F1Key", "Quick", 13));
  WriteSettings(KeySection("F2Key", "Mine", 13) + "[Theme]\r\nIndexofSelected=-1\r\n");
  Start();
  ASSERT_EQ(form->currentThemeIndex, -1);
  const std::string keys = fp.FileText(SettingsFile());
  struct Way {
    const char* name;
    std::deque<int> answers;
    std::deque<std::optional<std::string>> names;
  };
  const Way ways[] = {
      {"NameCancelled", {platform::mb::kIdYes}, {std::nullopt}},
      {"FixedNameRefused", {platform::mb::kIdYes, platform::mb::kIdOk}, {"quick start"}},
      {"NotReplaced", {platform::mb::kIdYes, platform::mb::kIdNo}, {"Games"}},
      {"NoAnswer", {0}, {}},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    fp.messageAnswers = way.answers;
    fp.inputAnswers = way.names;
    Select("Games");
    EXPECT_EQ(fp.FileText(SettingsFile()), keys);
    EXPECT_EQ(Key("F2Key").title->caption(), "Mine");
    EXPECT_EQ(form->ComboBox3->itemIndex(), -1);
    EXPECT_EQ(form->currentThemeIndex, -1) << "the keys are still offered for saving next time";

    fp.messageAnswers = way.answers;
    fp.inputAnswers = way.names;
    form->RunAction(34, "");  // Load Next Theme
    EXPECT_EQ(fp.FileText(SettingsFile()), keys);

    fp.messageAnswers = way.answers;
    fp.inputAnswers = way.names;
    const auto mark = EffectsMark();
    form->QuickStartButton->UserClick();
    EXPECT_EQ(fp.FileText(SettingsFile()), keys);
    EXPECT_EQ(form->currentPage, PageId::Intro);
    for (const std::string& line : EffectsSince(mark))
      EXPECT_EQ(line.find("The Quick Start Theme has been loaded"), std::string::npos) << line;
  }
}

// Deleting the theme the keys are known to match leaves keys that are no theme: shown so, and
// offered for saving before the next load. A theme further up the list keeps the count right.
TEST_F(Themes, DeletingTheCurrentThemeLeavesTheKeysOfferedForSaving) {
  for (const char* name : {"Alpha", "Beta", "Gamma"}) PutTheme(name, KeySection("F1Key", name, 13));
  WriteSettings(KeySection("F1Key", "Gamma", 13));
  Start();
  ASSERT_EQ(form->currentThemeIndex, 2);
  Select("Alpha");
  // Selecting loaded Alpha; back to Gamma's keys through the list.
  Select("Gamma");
  ASSERT_EQ(form->currentThemeIndex, 2);
  form->ComboBox3->SetItemIndex(0);  // Alpha, chosen by the program: not loaded
  fp.messageAnswers = {platform::mb::kIdYes};
  form->suiButton1Click();
  EXPECT_EQ(form->ComboBox3->items(), (std::vector<std::string>{"Beta", "Gamma"}));
  EXPECT_EQ(form->currentThemeIndex, 1) << "Gamma moved up one place";
  EXPECT_EQ(form->caption(), "Keyvane - Gamma Theme");

  form->ComboBox3->SetItemIndex(1);  // Gamma, the current theme
  fp.messageAnswers = {platform::mb::kIdYes};
  form->suiButton1Click();
  EXPECT_EQ(form->currentThemeIndex, -1);
  EXPECT_EQ(form->caption(), "Keyvane - No Theme Loaded");
  EXPECT_EQ(form->ThemeLine->caption(), "");
  const size_t messages = fp.messages.size();
  fp.messageAnswers = {platform::mb::kIdNo};
  Select("Beta");
  ASSERT_EQ(fp.messages.size(), messages + 1);
  EXPECT_EQ(fp.messages.back().caption, "Save Current Key Setup?");
}

TEST_F(Themes, ChoosingAThemeAfterSavingLoadsThePickedOne) {
  PutTheme("A", KeySection("F1Key", "A", 13));
  PutTheme("B", KeySection("F1Key", "B", 13));
  WriteSettings(KeySection("F2Key", "Mine", 13));
  Start();
  form->currentThemeIndex = -1;  // as after an edit
  fp.messageAnswers = {platform::mb::kIdYes};
  fp.inputAnswers.push_back("Mine");
  Select("B");
  EXPECT_TRUE(fp.HasFile(Theme("Mine")));
  EXPECT_EQ(form->ComboBox3->text(), "B");
  EXPECT_EQ(form->currentThemeIndex, 1);
  EXPECT_EQ(Key("F1Key").title->caption(), "B");
  EXPECT_FALSE(Key("F2Key").title->visible());
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

using test::KeySection;

class ThemesKeepTheUsersKeys : public test::FormTest {
 protected:
  std::string Theme(const std::string& name) const { return fp.Beside(name + ".kth"); }
  void PutTheme(const std::string& name, const std::string& text) { fp.files[Theme(name)] = text; }
  void Pick(const std::string& name) {
    for (int i = 0; i < form->ComboBox3->count(); ++i)
      if (form->ComboBox3->items()[static_cast<size_t>(i)] == name) form->ComboBox3->UserSelect(i);
  }
  size_t SaveQuestions() const {
    return static_cast<size_t>(std::count_if(fp.messages.begin(), fp.messages.end(), [](const fake::ShownMessage& m) {
      return m.caption == "Save Current Key Setup?";
    }));
  }
};

// Keys edited after a theme was loaded, and kept across a restart, are no theme, although the
// list shows the entry it remembers: every way of loading a theme asks first to save them. Keys
// that match a theme at the start, and the Quick Start keys, need no question.
TEST_F(ThemesKeepTheUsersKeys, KeysOfNoThemeAreOfferedForSavingAfterARestartAndNotAfterQuickStart) {
  PutTheme("Games", KeySection("F1Key", "Hearts", 23));
  PutTheme("Quick Start", KeySection("F1Key", "Mail", 13));
  WriteSettings(KeySection("F1Key", "Mine", 13) + "[Theme]\r\nIndexofSelected=0\r\n");
  Create();
  ASSERT_EQ(form->ComboBox3->text(), "Games");
  EXPECT_EQ(form->caption(), "Keyvane - No Theme Loaded");
  const std::string keys = fp.FileText(SettingsFile());
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    fp.messageAnswers = {0};  // the question ended without an answer: nothing is replaced
    if (way == 0) Pick("Games");
    if (way == 1) form->RunAction(34, "");
    if (way == 2) form->QuickStartButton->UserClick();
    EXPECT_EQ(SaveQuestions(), static_cast<size_t>(way + 1));
    EXPECT_EQ(fp.FileText(SettingsFile()), keys);
  }
  fp.messageAnswers = {platform::mb::kIdNo};
  form->QuickStartButton->UserClick();
  ASSERT_EQ(Key("F1Key").title->caption(), "Mail");
  ASSERT_EQ(SaveQuestions(), 4u);
  Pick("Games");
  EXPECT_EQ(SaveQuestions(), 4u) << "the Quick Start keys are a theme";
  EXPECT_EQ(Key("F1Key").title->caption(), "Hearts");

  // Started again on keys that are a theme (Games now), nothing asks either.
  form.reset();
  fake::FakePlatform::HeldMutexes().clear();
  Create();
  form->RunAction(34, "");
  EXPECT_EQ(SaveQuestions(), 4u);
  EXPECT_EQ(Key("F1Key").title->caption(), "Mail");
}

// After any theme load the editor shows its key as now stored, as a fresh selection would; an
// Apply then stores what the page shows, never the record the theme replaced.
TEST_F(ThemesKeepTheUsersKeys, TheEditorShowsTheLoadedRecordOfItsKey) {
  PutTheme("Games", KeySection("F5Key", "Hearts", 23));
  PutTheme("Quick Start", KeySection("F5Key", "Notepad", 10, "C:\\Tools\\notepad.exe"));
  WriteSettings(KeySection("F5Key", "Mail", 13) + "[Theme]\r\nIndexofSelected=-1\r\n");
  Create();
  RouteErrorsToErrorBox();
  Key("F5Key").shape->UserMouseUp(ui::MouseButton::Left, 5, 5);
  form->Edit1->UserReplaceText("Typed, not applied");
  ASSERT_TRUE(form->BitBtn1->enabled());
  fp.messageAnswers = {platform::mb::kIdNo};
  Pick("Games");
  EXPECT_EQ(form->Edit1->text(), "Hearts");
  EXPECT_EQ(form->ComboBox1->text(), "Play Hearts");
  EXPECT_FALSE(form->BitBtn1->enabled());
  EXPECT_EQ(form->currentPage, PageId::Editor) << "the page stays where it was";
  form->QuickStartButton->UserClick();
  EXPECT_EQ(form->Edit1->text(), "Notepad");
  EXPECT_EQ(form->Edit2->text(), "C:\\Tools\\notepad.exe");
  EXPECT_TRUE(form->Edit2->visible());
  form->Edit1->UserReplaceText("Notes");
  form->BitBtn1->UserClick();
  const IniDocument saved = SavedSettings();
  EXPECT_EQ(saved.ReadString("F5Key", "Action", ""), "10");
  EXPECT_EQ(saved.ReadString("F5Key", "File", ""), "C:\\Tools\\notepad.exe");
}

// A theme still listed whose file has gone is not loaded as an empty theme: the user is told,
// the keys stay, the entry leaves the list. A file that is there and holds no keys clears them.
TEST_F(ThemesKeepTheUsersKeys, AThemeWhoseFileHasGoneIsReportedAndTakenOffTheList) {
  PutTheme("Alpha", KeySection("F1Key", "Alpha", 13));
  PutTheme("Beta", KeySection("F1Key", "Beta", 13));
  PutTheme("Empty", "");
  WriteSettings(KeySection("F1Key", "Alpha", 13));
  Create();
  ASSERT_EQ(form->currentThemeIndex, 0);
  fp.files.erase(Theme("Beta"));
  Pick("Beta");
  ASSERT_FALSE(fp.messages.empty());
  EXPECT_EQ(fp.messages.back().text,
            "The file of the Beta theme (Beta.kth) cannot be found beside Keyvane.  The keys stay as they "
            "are, and Beta has been taken off the list of themes.");
  EXPECT_EQ(form->ComboBox3->items(), (std::vector<std::string>{"Alpha", "Empty"}));
  EXPECT_EQ(form->ComboBox3->text(), "Alpha");
  EXPECT_EQ(form->currentThemeIndex, 0) << "the keys are still Alpha";
  EXPECT_EQ(form->caption(), "Keyvane - Alpha Theme");
  EXPECT_EQ(Key("F1Key").title->caption(), "Alpha");
  EXPECT_EQ(fp.balloons.back().title, "Alpha");

  // Load Next Theme (a hot key) meets the same.
  fp.files.erase(Theme("Empty"));
  const size_t messages = fp.messages.size();
  form->RunAction(34, "");
  ASSERT_EQ(fp.messages.size(), messages + 1);
  EXPECT_EQ(fp.messages.back().text.rfind("The file of the Empty theme (Empty.kth) cannot be found", 0), 0u);
  EXPECT_EQ(form->ComboBox3->items(), std::vector<std::string>{"Alpha"});
  EXPECT_EQ(Key("F1Key").title->caption(), "Alpha");

  PutTheme("Empty", "");
  form->LoadThemesList();
  Pick("Empty");
  EXPECT_FALSE(Key("F1Key").title->visible()) << "an empty theme that exists clears the keys";
  EXPECT_EQ(form->caption(), "Keyvane - Empty Theme");
}

}  // namespace
}  // namespace kv

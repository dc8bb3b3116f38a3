// The action catalogue: the codes stored for the entries of the editor's action list, the
// mapping back from a stored code to the list, and the titles proposed for a key.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "actions/catalogue.h"

namespace kv {
namespace {

// The last six entries of the action list carry codes out of list order; the stored value is
// always the code, never the list position.
TEST(ActionCatalogue, TheLastSixListEntriesStoreCodesOutOfOrder) {
  struct Row {
    int listIndex;
    int code;
    std::string_view caption;
  };
  const Row rows[] = {
      {34, 37, "Specify Search Term"}, {35, 34, "Load Next Theme"},
      {36, 35, "Disable/Enable Keys"}, {37, 38, "Show KVN Menu"},
      {38, 39, " - - - - - - - - -"},  {39, 36, "Remove Action"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.listIndex);
    EXPECT_EQ(ActionCodeAt(r.listIndex), r.code);
    EXPECT_EQ(kActions[static_cast<size_t>(r.listIndex)].caption, r.caption);
  }
  for (int i = 0; i < 34; ++i) EXPECT_EQ(ActionCodeAt(i), i) << "list index " << i;
}

TEST(ActionCatalogue, EveryCodeZeroToThirtyNineAppearsExactlyOnce) {
  std::set<int> codes;
  for (const ActionEntry& a : kActions) {
    EXPECT_GE(a.code, 0);
    EXPECT_LT(a.code, kActionCount);
    codes.insert(a.code);
  }
  EXPECT_EQ(codes.size(), static_cast<size_t>(kActionCount));
}

TEST(ActionCatalogue, ListIndexOfACodeFindsTheEntryThatStoresIt) {
  EXPECT_EQ(GetIndexofUI(37), 34);
  EXPECT_EQ(GetIndexofUI(34), 35);
  EXPECT_EQ(GetIndexofUI(35), 36);
  EXPECT_EQ(GetIndexofUI(38), 37);
  EXPECT_EQ(GetIndexofUI(39), 38);
  EXPECT_EQ(GetIndexofUI(36), 39);
  // Selecting a stored key and storing it again must give back the same code.
  for (int i = 0; i < kActionCount; ++i) EXPECT_EQ(GetIndexofUI(ActionCodeAt(i)), i) << i;
}

TEST(ActionCatalogue, UnknownCodesMapToSelectOne) {
  for (int code : {-1, 40, 41, 100, -40, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(GetIndexofUI(code), 0) << code;
    EXPECT_EQ(ActionCodeAt(code), 0) << code;  // list positions outside the list as well
  }
}

TEST(ActionCatalogue, DefaultTitlesKeepTheirBlanksAfterSlashAndHyphen) {
  EXPECT_EQ(GetDefaultTitle(2), "Add/ Remove Programs");
  EXPECT_EQ(GetDefaultTitle(3), "Network Con- nections");
  EXPECT_EQ(GetDefaultTitle(24), "Play Mine- sweeper");
  EXPECT_EQ(GetDefaultTitle(35), "Disable/ Enable Keys");
  EXPECT_EQ(GetDefaultTitle(32), "Paste Contents of File");
  EXPECT_EQ(GetDefaultTitle(28), "Two-Key Combos");
  EXPECT_EQ(GetDefaultTitle(13), "Check Email");
  // Looked up by code, not by list position: code 37 sits at list index 34.
  EXPECT_EQ(GetDefaultTitle(37), "Specify Search Term");
  EXPECT_EQ(GetDefaultTitle(34), "Load Next Theme");
  EXPECT_EQ(GetDefaultTitle(38), "Show KVN Menu");
}

TEST(ActionCatalogue, NoDefaultTitleForSeparatorsSelectOneRemoveActionAndUnknownCodes) {
  for (int code : {0, 1, 9, 14, 21, 27, 30, 33, 36, 39, 40, -1, 1000})
    EXPECT_EQ(GetDefaultTitle(code), "") << code;
  // Every other code proposes a title.
  const std::set<int> untitled = {0, 1, 9, 14, 21, 27, 30, 33, 36, 39};
  for (int code = 0; code < kActionCount; ++code) {
    if (!untitled.count(code)) {
      EXPECT_NE(GetDefaultTitle(code), "") << code;
    }
  }
}

TEST(ActionCatalogue, ListCaptionsAreExact) {
  EXPECT_EQ(kActions[0].caption, "- Select One -");
  EXPECT_EQ(kActions[1].caption, " - - - - - - - - -");
  // The separator before the power actions alone ends in a blank.
  EXPECT_EQ(kActions[14].caption, " - - - - - - - - - ");
  EXPECT_EQ(kActions[10].caption, "Run File \\/");
  EXPECT_EQ(kActions[11].caption, "Open Windows Explorer at \\/");
  EXPECT_EQ(kActions[12].caption, "Open Internet Browser at \\/");
  EXPECT_EQ(kActions[25].caption, "Play Solitare");
  EXPECT_EQ(kActions[26].caption, "Play Spider Solitare");
  for (int i : {9, 21, 27, 30, 33, 38}) EXPECT_EQ(kActions[static_cast<size_t>(i)].caption, " - - - - - - - - -") << i;
}

// The whole catalogue as the editor lists it, written out: list position, caption, stored
// code and the title proposed for a key (a misspelt caption or title shows up here).
TEST(ActionCatalogue, EveryEntryHasItsCaptionCodeAndDefaultTitle) {
  struct Row {
    std::string_view caption;
    int code;
    std::string_view title;
  };
  const std::string_view line = " - - - - - - - - -";
  const Row rows[kActionCount] = {
      {"- Select One -", 0, ""},
      {line, 1, ""},
      {"Show Add/Remove Programs", 2, "Add/ Remove Programs"},
      {"Show Network Connections", 3, "Network Con- nections"},
      {"Show System Properties", 4, "System Properties"},
      {"Show Display Properties", 5, "Display Properties"},
      {"Show Internet Properties", 6, "Internet Properties"},
      {"Show User Accounts", 7, "User Accounts"},
      {"Show Power Options", 8, "Power Options"},
      {line, 9, ""},
      {"Run File \\/", 10, "Run File"},
      {"Open Windows Explorer at \\/", 11, "Windows Explorer"},
      {"Open Internet Browser at \\/", 12, "Internet Browser"},
      {"Open Email Program", 13, "Check Email"},
      {" - - - - - - - - - ", 14, ""},
      {"Sleep", 15, "Sleep"},
      {"Hibernate", 16, "Hibernate"},
      {"Log off", 17, "Log Off"},
      {"Reboot", 18, "Reboot"},
      {"Shut down", 19, "Shut Down"},
      {"Shut down Hung Computer", 20, "Shut Down Hung Computer"},
      {line, 21, ""},
      {"Play Freecell", 22, "Play Freecell"},
      {"Play Hearts", 23, "Play Hearts"},
      {"Play Minesweeper", 24, "Play Mine- sweeper"},
      {"Play Solitare", 25, "Play Solitare"},
      {"Play Spider Solitare", 26, "Play Spider Solitare"},
      {line, 27, ""},
      {"Press 2 Key Combo", 28, "Two-Key Combos"},
      {"Press 3 Key Combo", 29, "Three-Key Combos"},
      {line, 30, ""},
      {"Paste Text", 31, "Paste Text"},
      {"Paste File Contents", 32, "Paste Contents of File"},
      {line, 33, ""},
      {"Specify Search Term", 37, "Specify Search Term"},
      {"Load Next Theme", 34, "Load Next Theme"},
      {"Disable/Enable Keys", 35, "Disable/ Enable Keys"},
      {"Show KVN Menu", 38, "Show KVN Menu"},
      {line, 39, ""},
      {"Remove Action", 36, ""},
  };
  for (int i = 0; i < kActionCount; ++i) {
    const Row& r = rows[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(kActions[static_cast<size_t>(i)].caption, r.caption);
    EXPECT_EQ(ActionCodeAt(i), r.code);
    EXPECT_EQ(GetDefaultTitle(r.code), r.title);
  }
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// What the editor shows for each action: the field box for the five actions with a typed or
// browsed argument, the combo lists for the two key combinations, nothing else for the rest;
// the separators and "- Select One -" can never be applied.
TEST(ActionCatalogue, EachRowCarriesItsEditorRules) {
  struct Expected {
    int code;
    ArgumentKind argument;
    bool browse;
    std::string_view fieldCaption;
  };
  const Expected withArguments[] = {
      {10, ArgumentKind::File, true, "File -"},
      {11, ArgumentKind::Folder, true, "File -"},
      {12, ArgumentKind::WebAddress, false, "Website -"},
      {28, ArgumentKind::TwoKeyCombo, false, ""},
      {29, ArgumentKind::ThreeKeyCombo, false, ""},
      {31, ArgumentKind::Text, false, "Text -"},
      {32, ArgumentKind::File, true, "File -"},
  };
  const std::set<int> nonActions{0, 1, 9, 14, 21, 27, 30, 33, 39};
  for (int code = 0; code < kActionCount; ++code) {
    SCOPED_TRACE(code);
    const ActionEntry* row = FindAction(code);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->code, code);
    EXPECT_EQ(row->nonAction, nonActions.count(code) == 1);
    EXPECT_EQ(IsNonAction(code), nonActions.count(code) == 1);
    const Expected* expected = nullptr;
    for (const Expected& e : withArguments)
      if (e.code == code) expected = &e;
    EXPECT_EQ(row->argument, expected ? expected->argument : ArgumentKind::None);
    EXPECT_EQ(row->browse, expected && expected->browse);
    EXPECT_EQ(row->fieldCaption, expected ? expected->fieldCaption : "");
    EXPECT_EQ(row->fieldHint.empty(), row->fieldCaption.empty());
    const bool combo = code == 28 || code == 29;
    EXPECT_EQ(IsComboAction(code), combo);
    EXPECT_EQ(IsFieldAction(code), expected != nullptr && !combo);
  }
  for (int outside : {-1, 40, 99}) {
    EXPECT_EQ(FindAction(outside), nullptr);
    EXPECT_FALSE(IsNonAction(outside) || IsFieldAction(outside) || IsComboAction(outside));
  }
}

}  // namespace
}  // namespace kv

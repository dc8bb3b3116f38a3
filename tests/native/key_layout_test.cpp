// The key layout and the tray menu's key items, drawn from the settings file: every state a
// key can be shown in, the F12 key that Windows 2000 to Vista keep for themselves, and what
// a refresh does to what was there before.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;

constexpr ui::Color kSetFill = 0xAAAADD;
constexpr ui::Color kNotSetFill = 0xFFFFFF;
constexpr ui::Color kSystemFill = 0xC0C0C0;
constexpr ui::Color kSystemText = 0x808080;

// Everything a refresh decides about one key.
struct KeyPicture {
  ui::Color fill;
  bool shapeEnabled;
  bool titleVisible;
  std::string title;
  ui::Color titleColor;
  bool titleClickable;
  ui::Cursor titleCursor;
  std::string trayCaption;
  bool trayEnabled;
  bool operator==(const KeyPicture&) const = default;
};

KeyPicture PictureOf(const KeyView& view) {
  return {view.shape->brush(),      view.shape->enabled(),
          view.title->visible(),    view.title->caption(),
          view.title->font().color, view.title->onClick != nullptr && view.title->onDblClick != nullptr,
          view.title->cursor(),     view.trayItem->caption(),
          view.trayItem->enabled()};
}

std::vector<KeyPicture> PictureOf(const TForm1& form) {
  std::vector<KeyPicture> all;
  for (const KeyView& view : form.keys) all.push_back(PictureOf(view));
  return all;
}

class KeyLayout : public FormTest {
 protected:
  void ExpectNotSet(std::string_view section) {
    SCOPED_TRACE(std::string(section));
    const KeyView& view = Key(section);
    EXPECT_EQ(view.shape->brush(), kNotSetFill);
    EXPECT_FALSE(view.title->visible());
    EXPECT_EQ(view.trayItem->caption(), KeyAt(Index(section)).trayNotSet);
    EXPECT_TRUE(view.trayItem->enabled());
    EXPECT_TRUE(view.shape->enabled());
  }
  void ExpectSet(std::string_view section, const std::string& title) {
    SCOPED_TRACE(std::string(section));
    const KeyView& view = Key(section);
    EXPECT_EQ(view.shape->brush(), kSetFill);
    EXPECT_TRUE(view.title->visible());
    EXPECT_EQ(view.title->caption(), title);
    EXPECT_EQ(view.title->font().color, ui::kBlack);
    EXPECT_EQ(view.trayItem->caption(), std::string(KeyAt(Index(section)).trayPrefix) + title);
    EXPECT_TRUE(view.trayItem->enabled());
    EXPECT_TRUE(view.shape->enabled());
  }
};

// ---- where the keys stand ----

TEST_F(KeyLayout, FunctionKeysInARowAndTheBlockThreeByThree) {
  Build();
  const char* block[] = {"PSKey", "SLKey", "PBKey", "InsKey", "HomeKey",
                         "PUKey", "DelKey", "EndKey", "PDKey"};
  std::vector<std::pair<std::string, ui::Rect>> expected;
  for (int n = 1; n <= 12; ++n)
    expected.push_back({"F" + std::to_string(n) + "Key", {24 + 64 * (n - 1), 24, 57, 65}});
  for (int k = 0; k < 9; ++k) expected.push_back({block[k], {600 + 64 * (k % 3), 144 + 80 * (k / 3), 57, 65}});
  for (const auto& [section, shape] : expected) {
    SCOPED_TRACE(section);
    const KeyView& view = Key(section);
    EXPECT_EQ(view.shape->bounds(), shape);
    EXPECT_EQ(view.title->bounds(), (ui::Rect{shape.left, shape.top + 8, 57, 57}));
    EXPECT_EQ(view.name->bounds().left, shape.left);
    EXPECT_EQ(view.name->bounds().top, shape.top + 64);
  }
}

// ---- the states of one key ----

TEST_F(KeyLayout, BeforeTheFirstRefreshEveryKeyIsBlankWithItsNotSetTrayCaption) {
  Build();
  for (const KeyInfo& key : kKeys) ExpectNotSet(key.section);
}

TEST_F(KeyLayout, WithoutASettingsFileEveryKeyIsNotSet) {
  Create();
  for (const KeyInfo& key : kKeys) ExpectNotSet(key.section);
}

TEST_F(KeyLayout, EveryKeyWithATitleIsDrawnSet) {
  WriteSettings(test::FullSettingsText());
  Create();
  for (const KeyInfo& key : kKeys) ExpectSet(key.section, "Title " + std::string(key.section));
}

TEST_F(KeyLayout, EmptyTitleCountsAsSetAndItsTrayCaptionIsThePrefixAlone) {
  WriteSettings("[F1Key]\r\nLabel=\r\nAction=13\r\n");
  Create();
  ExpectSet("F1Key", "");
  EXPECT_EQ(Key("F1Key").trayItem->caption(), "F1 - ");
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key"}));
}

TEST_F(KeyLayout, NotSetMarkerAndAMissingTitleCountAsNotSet) {
  WriteSettings(
      "[F1Key]\r\nLabel=@!#\r\nAction=13\r\n"
      "[F2Key]\r\nAction=10\r\nFile=C:\\tool.exe\r\n"
      "[F3Key]\r\n"
      "[F4Key]\r\nLabel=@!#!\r\n");
  Create();
  ExpectNotSet("F1Key");
  ExpectNotSet("F2Key");
  ExpectNotSet("F3Key");
  ExpectSet("F4Key", "@!#!");
  EXPECT_EQ(Registered(), RegistrationsOf({"F4Key"}));
}

TEST_F(KeyLayout, DeleteKeyTrayCaptionSaysDelWhenSetAndDeleteWhenNot) {
  WriteSettings("[DelKey]\r\nLabel=Paste Text\r\nAction=31\r\n");
  Create();
  EXPECT_EQ(Key("DelKey").trayItem->caption(), "Del - Paste Text");
  WriteSettings("");
  form->SetupButtons();
  EXPECT_EQ(Key("DelKey").trayItem->caption(), "Delete - (not set)");
}

TEST_F(KeyLayout, PrintScreenIsPrnScrInTheTrayMenu) {
  WriteSettings("[PSKey]\r\nLabel=Snap\r\n");
  Create();
  EXPECT_EQ(Key("PSKey").name->caption(), "PrnScn");
  EXPECT_EQ(Key("PSKey").trayItem->caption(), "PrnScr - Snap");
}

TEST_F(KeyLayout, SectionAndValueNamesMatchWithoutCase) {
  WriteSettings("[f5key]\r\nlabel=Mail\r\n[DELKEY]\r\nLABEL=Paste\r\n[pdKey]\r\nLaBeL=Down\r\n");
  Create();
  ExpectSet("F5Key", "Mail");
  ExpectSet("DelKey", "Paste");
  ExpectSet("PDKey", "Down");
}

TEST_F(KeyLayout, TitlesAreShownExactlyAsStored) {
  WriteSettings("[F1Key]\r\nLabel=Network Con- nections & more\r\n");
  Create();
  EXPECT_EQ(Key("F1Key").title->caption(), "Network Con- nections & more");
}

// ---- F12 on Windows 2000 to Vista ----

class F12OnOlderWindows : public KeyLayout,
                          public ::testing::WithParamInterface<std::pair<uint32_t, uint32_t>> {};

TEST_P(F12OnOlderWindows, IsGreyedOutEvenWithARecord) {
  fp.version = test::NtVersion(GetParam().first, GetParam().second);
  WriteSettings("[F12Key]\r\nLabel=Mail\r\nAction=13\r\n[F11Key]\r\nLabel=Other\r\n");
  Create();
  ASSERT_GE(form->osKind, 5);
  ASSERT_LE(form->osKind, 8);
  const KeyPicture expected{kSystemFill,          false,
                            true,                 "Disabled  by  Windows",
                            kSystemText,          false,
                            ui::Cursor::Arrow,    "F12 - Disabled by Windows",
                            false};
  EXPECT_EQ(PictureOf(Key("F12Key")), expected);
  ExpectSet("F11Key", "Other");
}

TEST_P(F12OnOlderWindows, IsGreyedOutWithoutARecordAndCannotBeSelected) {
  fp.version = test::NtVersion(GetParam().first, GetParam().second);
  Create();
  KeyView& f12 = Key("F12Key");
  EXPECT_TRUE(f12.title->visible());
  EXPECT_EQ(f12.title->caption(), "Disabled  by  Windows");
  EXPECT_EQ(f12.shape->brush(), kSystemFill);
  EXPECT_FALSE(f12.trayItem->enabled());

  f12.title->UserClick();
  f12.title->UserDblClick();
  f12.shape->UserMouseUp(ui::MouseButton::Left, 3, 3);
  EXPECT_EQ(form->currentKey, "");
  EXPECT_EQ(f12.shape->brush(), kSystemFill);
}

TEST_P(F12OnOlderWindows, NoOtherTitleIsEverGrey) {
  fp.version = test::NtVersion(GetParam().first, GetParam().second);
  WriteSettings(test::FullSettingsText());
  Create();
  form->ClickKey("F3Key");
  form->SetupButtons();
  for (const KeyInfo& key : kKeys) {
    if (key.section == "F12Key") continue;
    EXPECT_NE(Key(key.section).title->font().color, kSystemText) << key.section;
  }
}

INSTANTIATE_TEST_SUITE_P(Windows2000ToVista, F12OnOlderWindows,
                         ::testing::Values(std::pair{5u, 0u}, std::pair{5u, 1u},
                                           std::pair{5u, 2u}, std::pair{6u, 0u}));

class F12OnOtherWindows : public KeyLayout,
                          public ::testing::WithParamInterface<platform::OsVersion> {};

TEST_P(F12OnOtherWindows, FollowsTheGeneralRule) {
  fp.version = GetParam();
  Create();
  ASSERT_FALSE(form->osKind >= 5 && form->osKind <= 8);
  ExpectNotSet("F12Key");
  EXPECT_EQ(Key("F12Key").title->cursor(), ui::Cursor::Hand);

  WriteSettings("[F12Key]\r\nLabel=Mail\r\n");
  form->SetupButtons();
  ExpectSet("F12Key", "Mail");
  EXPECT_NE(Key("F12Key").title->onClick, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    UnrecognisedAnd9xAndNt4, F12OnOtherWindows,
    ::testing::Values(test::NtVersion(6, 1), test::NtVersion(10, 0), test::NtVersion(4, 0),
                      platform::OsVersion{true, platform::kPlatformWin32Windows, 4, 10, ""},
                      platform::OsVersion{false, 0, 0, 0, ""}));

// ---- refreshing ----

TEST_F(KeyLayout, TwoRefreshesInARowGiveTheSamePicture) {
  fp.version = test::NtVersion(5, 1);
  WriteSettings(
      "[F1Key]\r\nLabel=Mail\r\n[F2Key]\r\nLabel=\r\n[F3Key]\r\nLabel=@!#\r\n"
      "[F12Key]\r\nLabel=Help\r\n[DelKey]\r\nLabel=Paste\r\n[PBKey]\r\nLabel=Toggle\r\n");
  Create();
  const std::vector<KeyPicture> first = PictureOf(*form);
  form->SetupButtons();
  EXPECT_EQ(PictureOf(*form), first);
  form->SetupButtons();
  EXPECT_EQ(PictureOf(*form), first);
}

TEST_F(KeyLayout, RefreshRemovesTheSelectionHighlight) {
  WriteSettings("[F5Key]\r\nLabel=Mail\r\n");
  Create();
  form->ClickKey("F5Key");
  EXPECT_EQ(Key("F5Key").shape->brush(), 0x4444DDu);
  EXPECT_EQ(Key("F5Key").title->font().color, ui::kWhite);
  form->SetupButtons();
  ExpectSet("F5Key", "Mail");

  form->ClickKey("F6Key");
  EXPECT_EQ(Key("F6Key").shape->brush(), 0x0000FFu);
  form->SetupButtons();
  ExpectNotSet("F6Key");
}

TEST_F(KeyLayout, RefreshFollowsTheFileAsItIsNow) {
  WriteSettings("[F1Key]\r\nLabel=Mail\r\n[F2Key]\r\nLabel=Web\r\n");
  Create();
  WriteSettings("[F2Key]\r\nLabel=Weather\r\n[HomeKey]\r\nLabel=Home page\r\n");
  form->SetupButtons();
  ExpectNotSet("F1Key");
  EXPECT_EQ(Key("F1Key").title->caption(), "@!#");
  ExpectSet("F2Key", "Weather");
  ExpectSet("HomeKey", "Home page");
}

TEST_F(KeyLayout, RefreshReadsButNeverWritesTheSettingsFile) {
  const std::string text = test::FullSettingsText();
  WriteSettings(text);
  Create();
  const int writes = fp.writes;
  const std::string now = fp.FileText(SettingsFile());
  form->SetupButtons();
  EXPECT_EQ(fp.writes, writes);
  EXPECT_EQ(fp.FileText(SettingsFile()), now);
}

TEST_F(KeyLayout, RefreshLeavesKeyNamesAndTheOtherTrayItemsAlone) {
  WriteSettings(test::FullSettingsText());
  Create();
  form->ThemeLine->SetCaption("Games");
  form->SetupButtons();
  for (const KeyInfo& key : kKeys) EXPECT_EQ(Key(key.section).name->caption(), key.layoutCaption);
  EXPECT_EQ(form->ThemeLine->caption(), "Games");
  EXPECT_EQ(form->DisableKeys1->caption(), "Disable Keys");
  EXPECT_EQ(form->caption(), "Keyvane - No Theme Loaded");
}

}  // namespace
}  // namespace kv

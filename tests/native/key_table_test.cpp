// The table of the 21 keys: its two orders, its lookups, and the captions that differ between
// the layout, the editor and the tray menu.
#include "core/key_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <vector>

namespace kv {
namespace {

const std::vector<std::string_view> kExpectedKeyOrder{
    "F1Key", "F2Key",  "F3Key",  "F4Key",   "F5Key",  "F6Key",  "F7Key",
    "F8Key", "F9Key",  "F10Key", "F11Key",  "F12Key", "PSKey",  "SLKey",
    "PBKey", "InsKey", "HomeKey", "PUKey",  "DelKey", "EndKey", "PDKey"};

const std::vector<std::string_view> kExpectedSectionOrder{
    "F1Key",  "F2Key",  "F3Key",   "F4Key",  "F5Key", "F6Key", "F7Key",
    "F8Key",  "F9Key",  "F10Key",  "F11Key", "F12Key", "HomeKey", "InsKey",
    "PBKey",  "PDKey",  "PSKey",   "PUKey",  "SLKey", "DelKey", "EndKey"};

TEST(KeyTableOrders, KeyOrderIsFunctionKeysThenTheNavigationBlockRowByRow) {
  ASSERT_EQ(kKeys.size(), kExpectedKeyOrder.size());
  for (int i = 0; i < kKeyCount; ++i) {
    EXPECT_EQ(KeyAt(i).section, kExpectedKeyOrder[static_cast<size_t>(i)]) << "position " << i + 1;
    EXPECT_EQ(KeyAt(i).pos, i + 1) << KeyAt(i).section;
  }
}

TEST(KeyTableOrders, SectionOrderVisitsEveryKeyOnceInTheThemeFileOrder) {
  std::set<int> seen;
  for (int k = 0; k < kKeyCount; ++k) {
    const int index = kSectionOrder[static_cast<size_t>(k)];
    ASSERT_GE(index, 0);
    ASSERT_LT(index, kKeyCount);
    seen.insert(index);
    EXPECT_EQ(KeyAt(index).section, kExpectedSectionOrder[static_cast<size_t>(k)]) << "step " << k;
    EXPECT_EQ(KeyAt(index).sectionPos, k + 1) << KeyAt(index).section;
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kKeyCount));
}

// The atoms and virtual keys are what other programs and Windows see of Keyvane.
TEST(KeyTableRows, AtomNamesAndVirtualKeysInKeyOrder) {
  const struct {
    std::string_view atom;
    uint32_t vk;
  } expected[] = {{"KVNF1", 0x70},        {"KVNF2", 0x71},       {"KVNF3", 0x72},
                  {"KVNF4", 0x73},        {"KVNF5", 0x74},       {"KVNF6", 0x75},
                  {"KVNF7", 0x76},        {"KVNF8", 0x77},       {"KVNF9", 0x78},
                  {"KVNF10", 0x79},       {"KVNF11", 0x7A},      {"KVNF12", 0x7B},
                  {"KVNScrPrn", 0x2C},    {"KVNScrLock", 0x91},  {"KVNPauseBreak", 0x13},
                  {"KVNIns", 0x2D},       {"KVNHome", 0x24},     {"KVNPageUp", 0x21},
                  {"KVNDel", 0x2E},       {"KVNEnd", 0x23},      {"KVNPageDown", 0x22}};
  for (int i = 0; i < kKeyCount; ++i) {
    EXPECT_EQ(KeyAt(i).atomName, expected[i].atom) << KeyAt(i).section;
    EXPECT_EQ(KeyAt(i).vk, expected[i].vk) << KeyAt(i).section;
  }
}

TEST(KeyTableRows, EveryTrayCaptionIsItsPrefixOrItsNotSetTextAndTheTwoAgreeExceptForDelete) {
  for (const KeyInfo& key : kKeys) {
    ASSERT_TRUE(key.trayPrefix.ends_with(" - ")) << key.section;
    const std::string_view word = key.trayPrefix.substr(0, key.trayPrefix.size() - 3);
    if (key.section == "DelKey") continue;
    EXPECT_EQ(std::string(key.trayNotSet), std::string(word) + " - (not set)") << key.section;
  }
}

TEST(KeyTableRows, CaptionsThatDifferBetweenLayoutEditorAndTray) {
  const KeyInfo& del = KeyAt(*KeyIndexBySection("DelKey"));
  EXPECT_EQ(del.trayPrefix, "Del - ");
  EXPECT_EQ(del.trayNotSet, "Delete - (not set)");
  EXPECT_EQ(del.layoutCaption, "Delete");

  const KeyInfo& print = KeyAt(*KeyIndexBySection("PSKey"));
  EXPECT_EQ(print.layoutCaption, "PrnScn");
  EXPECT_EQ(print.editorItem, "PrnScn");
  EXPECT_EQ(print.trayPrefix, "PrnScr - ");
  EXPECT_EQ(print.trayNotSet, "PrnScr - (not set)");

  const KeyInfo& pause = KeyAt(*KeyIndexBySection("PBKey"));
  EXPECT_EQ(pause.layoutCaption, "Pause Break");
  EXPECT_EQ(pause.editorItem, "Pause");
  EXPECT_EQ(pause.trayPrefix, "Break - ");

  const KeyInfo& pageDown = KeyAt(*KeyIndexBySection("PDKey"));
  EXPECT_EQ(pageDown.layoutCaption, "PgDn");
  EXPECT_EQ(pageDown.trayNotSet, "PageDown - (not set)");
}

TEST(KeyTableLookup, ByPositionOneToTwentyOne) {
  EXPECT_EQ(KeyIndexByPos(1), 0);
  EXPECT_EQ(KeyIndexByPos(13), 12);
  EXPECT_EQ(KeyAt(*KeyIndexByPos(13)).section, "PSKey");
  EXPECT_EQ(KeyIndexByPos(21), 20);
  for (int outside : {0, -1, 22, 1000}) EXPECT_EQ(KeyIndexByPos(outside), std::nullopt) << outside;
}

TEST(KeyTableLookup, BySectionIsExactAndCaseSensitive) {
  for (int i = 0; i < kKeyCount; ++i) EXPECT_EQ(KeyIndexBySection(KeyAt(i).section), i);
  for (std::string_view other : {"f1key", "F1KEY", "pskey", " PSKey", "PSKey ", "PrnScn", "F1",
                                 "F13Key", "", "Keys", "Setting", "Theme"})
    EXPECT_EQ(KeyIndexBySection(other), std::nullopt) << '"' << other << '"';
}

TEST(KeyTableLookup, ByHotKeyIdFindsTheKeyHoldingThatId) {
  HotKeyIds ids{};
  for (int i = 0; i < kKeyCount; ++i) ids[static_cast<size_t>(i)] = 0xC010u + static_cast<uint32_t>(i) * 3;
  for (int i = 0; i < kKeyCount; ++i) EXPECT_EQ(KeyIndexByHotKeyId(ids, ids[static_cast<size_t>(i)]), i);
  for (uint32_t unknown : {0u, 0xC011u, 0xC010u + 21 * 3, 0x1C010u})
    EXPECT_EQ(KeyIndexByHotKeyId(ids, unknown), std::nullopt) << unknown;
}

}  // namespace
}  // namespace kv

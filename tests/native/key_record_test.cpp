#include "core/key_record.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(KeyRecord, ReadTellsAnAbsentValueFromAnEmptyOne) {
  const IniDocument doc = IniDocument::Parse(
      "[F3Key]\r\nLabel=\r\nAction=x\r\n[F4Key]\r\nAction=28\r\nFile=1C\r\n");
  const KeyRecord f3 = KeyRecord::Read(doc, "F3Key");
  EXPECT_EQ(f3.label, std::optional<std::string>(""));
  EXPECT_EQ(f3.action, 0);  // not a number
  EXPECT_EQ(f3.file, std::nullopt);
  EXPECT_EQ(f3.FileOr("000"), "000");

  const KeyRecord f4 = KeyRecord::Read(doc, "f4key");  // sections match without case
  EXPECT_EQ(f4.label, std::nullopt);
  EXPECT_EQ(f4.LabelOr("@!#"), "@!#");
  EXPECT_EQ(f4.action, 28);
  EXPECT_EQ(f4.file, std::optional<std::string>("1C"));

  EXPECT_EQ(KeyRecord::Read(doc, "PDKey").action, 0);
}

TEST(KeyRecord, NewValuesFollowTheChosenOrder) {
  IniDocument settings;
  KeyRecord{"Run File  notepad", 10, "C:\\notepad.exe"}.Write(settings, "F5Key");
  EXPECT_EQ(settings.Serialize(),
            "[F5Key]\r\nLabel=Run File  notepad\r\nAction=10\r\nFile=C:\\notepad.exe\r\n\r\n");

  IniDocument theme;
  KeyRecord{"Sleep", 15, ""}.Write(theme, "F6Key", KeyRecord::Order::ActionFirst);
  EXPECT_EQ(theme.Serialize(), "[F6Key]\r\nAction=15\r\nLabel=Sleep\r\nFile=\r\n\r\n");
}

TEST(KeyRecord, RewritingKeepsPlacesAndAnAbsentArgumentLeavesTheStoredOne) {
  IniDocument doc = IniDocument::Parse("[F1Key]\r\nFile=old\r\nLabel=A\r\nAction=10\r\n");
  KeyRecord{"Sleep", 15, std::nullopt}.Write(doc, "F1Key");
  EXPECT_EQ(doc.Serialize(), "[F1Key]\r\nFile=old\r\nLabel=Sleep\r\nAction=15\r\n\r\n");
}

TEST(KeyRecord, EraseRemovesOnlyTheRecordsValues) {
  IniDocument doc = IniDocument::Parse(
      "[F1Key]\r\nLabel=A\r\nNote=kept\r\nAction=10\r\nFile=x\r\n[F2Key]\r\nLabel=B\r\n");
  KeyRecord::Erase(doc, "F1Key");
  EXPECT_FALSE(doc.HasValue("F1Key", "Label"));
  EXPECT_FALSE(doc.HasValue("F1Key", "Action"));
  EXPECT_FALSE(doc.HasValue("F1Key", "File"));
  EXPECT_EQ(doc.ReadString("F1Key", "Note", ""), "kept");
  EXPECT_EQ(doc.ReadString("F2Key", "Label", ""), "B");
}

}  // namespace
}  // namespace kv

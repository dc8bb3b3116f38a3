// The Help button with a help file that carries the mark of a downloaded file: the question,
// both answers, a mark that cannot be lifted, and which marks count.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/form.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;

constexpr const char* kQuestion =
    "Keyvane's help file carries the mark of a downloaded file, and Windows shows its pages blank "
    "until it is unblocked.\n\nUnblock Keyvane.chm now? (This is what Unblock in the file's "
    "Properties does.)";
constexpr const char* kCannotUnblock =
    "Keyvane could not unblock its help file, so its pages stay blank.\n\nTo unblock it yourself, "
    "right-click Keyvane.chm in C:\\Program Files\\Keyvane\\, choose Properties, tick Unblock and "
    "click OK.";
constexpr const char* kInternetMark =
    "[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=https://www.keyvane.org/\r\n"
    "HostUrl=https://www.keyvane.org/keyvane-1.1.3-win64.zip\r\n";

class HelpFile : public FormTest {
 protected:
  void SetUp() override {
    fp.files[chm] = "ITSF";
    Create();
  }
  std::vector<std::string> ClickHelp() {
    const auto mark = EffectsMark();
    form->HelpButton->UserClick();
    return EffectsSince(mark);
  }

  const std::string chm = fp.Beside("Keyvane.chm");
  const std::string topic = "help " + chm + "::/Topic1.htm";
};

TEST_F(HelpFile, WithoutTheMarkHelpOpensWithoutAQuestion) {
  EXPECT_EQ(ClickHelp(), std::vector<std::string>{topic});
  fp.downloadMarks[fp.Beside("keyvane.exe")] = kInternetMark;  // only the help file's mark matters
  EXPECT_EQ(ClickHelp(), std::vector<std::string>{topic});
  EXPECT_TRUE(fp.messages.empty());
}

TEST_F(HelpFile, YesUnblocksTheFileBeforeHelpOpensAndIsNotAskedAgain) {
  fp.downloadMarks[chm] = kInternetMark;
  fp.messageAnswers.push_back(platform::mb::kIdYes);
  EXPECT_EQ(ClickHelp(), (std::vector<std::string>{std::string("message ") + kQuestion, "unblock " + chm, topic}));
  ASSERT_EQ(fp.messages.size(), 1u);
  EXPECT_EQ(fp.messages[0].caption, "Keyvane");
  EXPECT_EQ(fp.messages[0].style, platform::mb::kYesNo | platform::mb::kIconQuestion);
  EXPECT_TRUE(fp.downloadMarks.empty());
  EXPECT_EQ(fp.FileText(chm), "ITSF") << "only the mark goes";

  EXPECT_EQ(ClickHelp(), std::vector<std::string>{topic});
}

TEST_F(HelpFile, NoLeavesTheMarkOpensHelpAnywayAndAsksAgainNextTime) {
  fp.downloadMarks[chm] = kInternetMark;
  fp.messageAnswers = {platform::mb::kIdNo, platform::mb::kIdNo};
  form->TurnPage(PageId::Themes);
  const std::string themesTopic = "help " + chm + "::/Topic7.htm";
  EXPECT_EQ(ClickHelp(), (std::vector<std::string>{std::string("message ") + kQuestion, themesTopic}));
  EXPECT_EQ(ClickHelp(), (std::vector<std::string>{std::string("message ") + kQuestion, themesTopic}));
  EXPECT_EQ(fp.downloadMarks.size(), 1u);
}

TEST_F(HelpFile, AMarkThatCannotBeLiftedIsExplainedWithTheWayToDoItByHand) {
  fp.downloadMarks[chm] = kInternetMark;
  fp.unwritable.insert(chm);  // e.g. a protected program folder
  fp.messageAnswers.push_back(platform::mb::kIdYes);
  EXPECT_EQ(ClickHelp(), (std::vector<std::string>{std::string("message ") + kQuestion,
                                                   std::string("message ") + kCannotUnblock, topic}));
  ASSERT_EQ(fp.messages.size(), 2u);
  EXPECT_EQ(fp.messages[1].style, platform::mb::kOk | platform::mb::kIconWarning);
  EXPECT_EQ(fp.downloadMarks.size(), 1u);
}

TEST_F(HelpFile, MarksOfZonesTheViewerShowsAskNothing) {
  const std::pair<std::string, bool> marks[] = {
      {"[ZoneTransfer]\r\nZoneId=0\r\n", false},  // this computer
      {"[ZoneTransfer]\r\nZoneId=1\r\n", false},  // the local intranet
      {"[ZoneTransfer]\r\nZoneId=2\r\n", true},   // trusted sites
      {"[ZoneTransfer]\r\nZoneId=4\r\n", true},   // restricted sites
      {"[ZoneTransfer]\r\n", false},
      {"", false},
  };
  for (const auto& [mark, asks] : marks) {
    SCOPED_TRACE(mark);
    fp.messages.clear();
    fp.downloadMarks.clear();
    // The name as another program wrote it: Windows finds the same file.
    fp.downloadMarks["C:\\PROGRAM FILES\\KEYVANE\\keyvane.CHM"] = mark;
    fp.messageAnswers.push_back(platform::mb::kIdNo);
    form->HelpButton->UserClick();
    EXPECT_EQ(fp.messages.size(), asks ? 1u : 0u);
    fp.messageAnswers.clear();
  }
}

TEST(DownloadZone, ReadsTheZoneOfTheZoneTransferSectionOnly) {
  EXPECT_EQ(DownloadZone(kInternetMark), 3);
  EXPECT_EQ(DownloadZone("[ZoneTransfer]\nZoneId=3\n"), 3);
  EXPECT_EQ(DownloadZone("[ZoneTransfer]\rZoneId=4"), 4);
  EXPECT_EQ(DownloadZone("\xEF\xBB\xBF[ZoneTransfer]\r\nZoneId=3\r\n"), 3);
  EXPECT_EQ(DownloadZone("  [zonetransfer]  \r\n zoneid = 2 \r\n"), 2);
  EXPECT_EQ(DownloadZone("[Other]\r\nZoneId=1\r\n[ZoneTransfer]\r\nHostUrl=x\r\nZoneId=3\r\n"), 3);
  EXPECT_EQ(DownloadZone("[ZoneTransfer]\r\nZoneId=3\r\n[Other]\r\nZoneId=0\r\n"), 3);

  EXPECT_EQ(DownloadZone(""), std::nullopt);
  EXPECT_EQ(DownloadZone("ZoneId=3\r\n"), std::nullopt);
  EXPECT_EQ(DownloadZone("[Other]\r\nZoneId=3\r\n"), std::nullopt);
  EXPECT_EQ(DownloadZone("[ZoneTransfer]\r\nZoneIdentifier=3\r\n"), std::nullopt);
  EXPECT_EQ(DownloadZone("[ZoneTransfer]\r\nZoneId=\r\n"), std::nullopt);
  EXPECT_EQ(DownloadZone("[ZoneTransfer]\r\nZoneId=3x\r\n"), std::nullopt);
  EXPECT_EQ(DownloadZone("[ZoneTransfer]\r\nZoneId=-1\r\n"), std::nullopt);
  EXPECT_EQ(DownloadZone("[ZoneTransfer]\r\nZoneId=99999999999999999999\r\n"), std::nullopt);
}

}  // namespace
}  // namespace kv

// "Run at Startup": the check box keeps Keyvane.lnk in the Startup folder in step with the
// stored setting, repairs a link that points elsewhere, and reports the link component's
// errors through the error box. Also the Help button's topic by page and the producer credit.
#include <string>
#include <utility>
#include <vector>

#include "tests/native/form_fixture.h"

namespace kv {
namespace {

constexpr const char* kExe = "C:\\Program Files\\Keyvane\\keyvane.exe";
constexpr const char* kLink =
    "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start "
    "Menu\\Programs\\Startup\\Keyvane.lnk";

class RunAtStartup : public test::FormTest {
 protected:
  void SetUp() override { RouteErrorsToErrorBox(); }

  void PutLink(const std::string& target, const std::string& path = kLink) {
    platform::ShortcutInfo info;
    info.target = target;
    fp.shortcuts[path] = info;
    fp.files[path] = "shortcut";
  }
  std::string Written(const std::string& path = kLink) const {
    return "shortcut " + path + " -> " + fp.exePath;
  }
  std::string IniWrite() const { return "write " + SettingsFile(); }
  std::string StoredValue() {
    return SavedSettings().ReadString("Setting", "RunAtStartup", "absent");
  }
};

TEST_F(RunAtStartup, CheckingCreatesTheStartupShortcut) {
  Create();
  const auto mark = EffectsMark();
  form->CheckBox1->UserClick();
  EXPECT_EQ(EffectsSince(mark), (std::vector<std::string>{Written(), IniWrite()}));
  const platform::ShortcutInfo& link = fp.shortcuts.at(kLink);
  EXPECT_EQ(link.target, kExe);
  EXPECT_EQ(link.arguments, "bootup");
  EXPECT_EQ(link.description, "Keyvane");
  EXPECT_EQ(link.workingDirectory, "C:\\Program Files\\Keyvane\\");
  EXPECT_EQ(link.showCommand, 1);
  EXPECT_EQ(link.hotKey, 0);
  EXPECT_EQ(StoredValue(), "1");
}

struct ExistingLink {
  const char* what;
  std::string exe;
  std::string target;
  bool rewritten;
};

class CheckingWithALinkInPlace : public RunAtStartup,
                                 public ::testing::WithParamInterface<ExistingLink> {};

TEST_P(CheckingWithALinkInPlace, RewritesItOnlyWhenItDoesNotPointHere) {
  const ExistingLink& c = GetParam();
  SCOPED_TRACE(c.what);
  fp.exePath = c.exe;
  fp.driveTypes["E:\\"] = 2;  // a USB stick
  PutLink(c.target);
  Create();
  const auto mark = EffectsMark();
  form->CheckBox1->UserClick();
  std::vector<std::string> expected;
  if (c.rewritten) expected.push_back(Written());
  expected.push_back("write " + fp.Beside("Keyvane.ini"));
  EXPECT_EQ(EffectsSince(mark), expected);
  EXPECT_EQ(fp.shortcuts.at(kLink).target, c.rewritten ? c.exe : c.target);
  EXPECT_EQ(StoredValue(), "1");
}

INSTANTIATE_TEST_SUITE_P(
    Targets, CheckingWithALinkInPlace,
    ::testing::Values(ExistingLink{"same", kExe, kExe, false},
                      ExistingLink{"same in other capitals", kExe,
                                   "c:\\PROGRAM FILES\\keyvane\\KeyVane.EXE", false},
                      ExistingLink{"another copy", kExe, "D:\\Old Keyvane\\keyvane.exe", true},
                      ExistingLink{"this copy on a removable drive", "E:\\Keyvane\\keyvane.exe",
                                   "E:\\Keyvane\\keyvane.exe", true},
                      ExistingLink{"no target", kExe, "", true},
                      // Only a to z are compared without case.
                      ExistingLink{"other accented capitals", "C:\\Caf\xC3\xA9\\keyvane.exe",
                                   "C:\\CAF\xC3\x89\\KEYVANE.EXE", true}));

TEST_F(RunAtStartup, UncheckingDeletesTheShortcutOrOnlyStoresTheValue) {
  WriteSettings("[Setting]\r\nRunAtStartup=1\r\n");
  Create();
  ASSERT_TRUE(fp.HasFile(kLink));
  auto mark = EffectsMark();
  form->CheckBox1->UserClick();
  EXPECT_EQ(EffectsSince(mark),
            (std::vector<std::string>{"delete " + std::string(kLink), IniWrite()}));
  EXPECT_FALSE(fp.HasFile(kLink));
  EXPECT_EQ(StoredValue(), "0");

  // Checked again and unchecked with the link deleted by hand meanwhile: only the value.
  form->CheckBox1->UserClick();
  fp.files.erase(kLink);
  mark = EffectsMark();
  form->CheckBox1->UserClick();
  EXPECT_EQ(EffectsSince(mark), (std::vector<std::string>{IniWrite()}));
  EXPECT_EQ(StoredValue(), "0");
}

TEST_F(RunAtStartup, AShortcutSeenOnlyWithRedirectionOffIsFoundAndDeleted) {
  fp.wow64Probe = platform::Wow64Probe::Succeeded;
  PutLink(kExe);
  fp.files.erase(kLink);
  fp.redirectedFiles.insert(kLink);
  Create();
  auto mark = EffectsMark();
  form->CheckBox1->UserClick();
  // Found (so not written anew) and read, each time by the retry with redirection off.
  EXPECT_EQ(EffectsSince(mark),
            (std::vector<std::string>{"redirection off", "redirection on", "redirection off",
                                      "redirection on", IniWrite()}));
  mark = EffectsMark();
  form->CheckBox1->UserClick();
  const std::string del = "delete " + std::string(kLink);
  EXPECT_EQ(EffectsSince(mark),
            (std::vector<std::string>{"redirection off", "redirection on", del, "redirection off",
                                      del, "redirection on", IniWrite()}));
  EXPECT_EQ(fp.redirectedFiles.count(kLink), 0u);
  EXPECT_EQ(StoredValue(), "0");
}

TEST_F(RunAtStartup, EveryStartWithTheValueSetMakesSureOfTheShortcut) {
  WriteSettings("[Setting]\r\nRunAtStartup=1\r\n");
  Create();
  EXPECT_EQ(fp.effects.Of(fake::Service::Shortcuts), (std::vector<std::string>{Written()}));

  // Deleted by hand: the next start recreates it.
  fp.files.erase(kLink);
  fp.shortcuts.clear();
  Create();
  EXPECT_TRUE(fp.HasFile(kLink));
  EXPECT_EQ(fp.shortcuts.at(kLink).arguments, "bootup");

  // With the value off, a link that exists is left alone.
  WriteSettings("[Setting]\r\nRunAtStartup=0\r\n");
  PutLink("D:\\elsewhere.exe");
  const auto mark = EffectsMark();
  Create();
  EXPECT_TRUE(fp.effects.Of(fake::Service::Shortcuts, mark).empty());
  EXPECT_EQ(fp.shortcuts.at(kLink).target, "D:\\elsewhere.exe");
  EXPECT_FALSE(form->CheckBox1->checked());
}

TEST_F(RunAtStartup, WithoutAStartupValueTheShortcutGoesUnderTheWindowsFolder) {
  fp.registry[fake::RegistryPath(platform::RegistryHive::CurrentUser, test::kShellFoldersKey)]
      .clear();
  Create();
  form->CheckBox1->UserClick();
  const std::string link = "C:\\WINDOWS\\Startm~1\\Programs\\StartUp\\Keyvane.lnk";
  EXPECT_EQ(fp.effects.Of(fake::Service::Shortcuts), (std::vector<std::string>{Written(link)}));
  EXPECT_FALSE(fp.HasFile("Keyvane.lnk"));
}

struct LinkFailure {
  const char* what;
  void (*arrange)(fake::FakePlatform&);
  const char* message;
};

class ShortcutFailure : public RunAtStartup, public ::testing::WithParamInterface<LinkFailure> {};

TEST_P(ShortcutFailure, IsShownAndKeepsTheStoredValue) {
  WriteSettings("[Setting]\r\nRunAtStartup=0\r\nSearchTerm=news\r\n");
  Create();
  GetParam().arrange(fp);
  const auto mark = EffectsMark();
  form->CheckBox1->UserClick();
  EXPECT_EQ(EffectsSince(mark),
            (std::vector<std::string>{"error " + std::string(GetParam().message)}));
  EXPECT_EQ(StoredValue(), "0");
  EXPECT_TRUE(form->CheckBox1->checked());
}

INSTANTIATE_TEST_SUITE_P(
    Component, ShortcutFailure,
    ::testing::Values(
        LinkFailure{"NoShellLink", [](fake::FakePlatform& f) { f.shortcutComponentFails = true; },
                    "\"CoCreateInstance\" failed."},
        LinkFailure{"FolderNotWritable", [](fake::FakePlatform& f) { f.unwritable.insert(kLink); },
                    "Write error."},
        LinkFailure{"NotALink", [](fake::FakePlatform& f) { f.files[kLink] = "text"; },
                    "Read error."}));

// The error box at start must not cost the user the rest of the settings: with the keys left
// unregistered and the search term unread, the end of the run would save them as lost.
TEST_F(RunAtStartup, AShortcutErrorAtStartIsShownAndTheSettingsAreStillRead) {
  WriteSettings(
      "[Keys]\r\nEnabled=1\r\n[Setting]\r\nRunAtStartup=1\r\nSearchTerm=news\r\n"
      "[F1Key]\r\nLabel=Mail\r\nAction=13\r\n");
  fp.shortcutComponentFails = true;
  Create();
  EXPECT_EQ(fp.errors, (std::vector<std::string>{"\"CoCreateInstance\" failed."}));
  EXPECT_EQ(form->searchTerm, "news");
  EXPECT_EQ(Registered(), RegistrationsOf({"F1Key"}));
  EXPECT_EQ(StoredValue(), "1");
  EXPECT_EQ(SavedSettings().ReadString("Setting", "SearchTerm", ""), "news");
}

// ---- Help and the producer credit ----

TEST_F(RunAtStartup, HelpOpensTheTopicOfThePageShownAndReportsNothing) {
  Create();
  fp.helpViewerPresent = false;
  const std::string chm = "C:\\Program Files\\Keyvane\\Keyvane.chm::/";
  const std::pair<PageId, const char*> pages[] = {{PageId::Themes, "Topic7.htm"},
                                                  {PageId::Intro, "Topic1.htm"},
                                                  {PageId::Editor, "Topic5.htm"}};
  for (const auto& [page, topic] : pages) {
    form->TurnPage(page);
    const auto mark = EffectsMark();
    form->HelpButton->UserClick();
    EXPECT_EQ(EffectsSince(mark), (std::vector<std::string>{"help " + chm + topic}));
  }
  EXPECT_EQ(HelpTopicAddress("K.chm", "Topic1"), "K.chm::/Topic1.htm");
  EXPECT_EQ(HelpTopicAddress("K.chm", "Topic1.html"), "K.chm::/Topic1.html");
}

TEST_F(RunAtStartup, TheProducerCreditOpensTheWebSiteWithNoOwner) {
  Create();
  form->Label29->UserClick();
  EXPECT_EQ(fp.shellExecutes, (std::vector<std::string>{"|https://www.keyvane.org/|||1|none"}));
}

}  // namespace
}  // namespace kv

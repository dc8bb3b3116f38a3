#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "tests/fakes/fake_platform.h"

namespace kv {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  const std::string path = fp.Beside("Keyvane.ini");
};

TEST_F(IniFileTest, MissingFileIsAnEmptyDocumentAndFlushCreatesIt) {
  IniFile file = OpenIniFile(fp.platform(), path);
  EXPECT_TRUE(file.doc().SectionNames().empty());
  file.doc().WriteString("F1Key", "Label", "Mail");
  file.Flush();
  EXPECT_EQ(fp.FileText(path), "[F1Key]\r\nLabel=Mail\r\n\r\n");
}

TEST_F(IniFileTest, KeepsAnsiFilesAnsiAndSwitchesToUtf16WhenNeeded) {
  fp.files[path] = "[F1Key]\r\nLabel=caf\xE9 \x80\r\n";
  IniFile file = OpenIniFile(fp.platform(), path);
  EXPECT_EQ(file.doc().ReadString("f1key", "label", ""), "café €");
  file.Flush();
  EXPECT_EQ(fp.FileText(path), "[F1Key]\r\nLabel=caf\xE9 \x80\r\n\r\n");

  file.doc().WriteString("F2Key", "Label", "Ω 中");
  file.Flush();
  EXPECT_EQ(fp.FileText(path).substr(0, 4), std::string("\xFF\xFE[\0", 4));
  EXPECT_EQ(OpenIniFile(fp.platform(), path).doc().ReadString("F2Key", "Label", ""), "Ω 中");
}

TEST_F(IniFileTest, DocumentOpenedEarlierKeepsItsOldValues) {
  fp.files[path] = "[Setting]\r\nMinimize=1\r\n";
  IniFile a = OpenIniFile(fp.platform(), path);
  IniFile b = OpenIniFile(fp.platform(), path);
  b.doc().WriteBool("Setting", "Minimize", false);
  b.Flush();
  EXPECT_TRUE(a.doc().ReadBool("Setting", "Minimize", false));
  EXPECT_FALSE(OpenIniFile(fp.platform(), path).doc().ReadBool("Setting", "Minimize", true));
}

TEST_F(IniFileTest, FailedFlushNamesTheFileAndLeavesItAsItWas) {
  const std::string old = "[Setting]\r\nMinimize=1\r\n";
  fp.files[path] = old;
  fp.unwritable.insert(path);
  IniFile file = OpenIniFile(fp.platform(), path);
  file.doc().WriteBool("Setting", "Minimize", false);
  try {
    file.Flush();
    FAIL() << "Flush reported success";
  } catch (const KeyvaneError& e) {
    // Said once: which file, and the system's reason.
    EXPECT_EQ(std::string(e.what()), "Cannot save \"" + path + "\": Access is denied.");
  }
  EXPECT_EQ(fp.FileText(path), old);
  EXPECT_EQ(fp.writes, 0);
}

TEST_F(IniFileTest, PathsBesideTheExecutable) {
  EXPECT_EQ(SettingsPath(fp.platform()), "C:\\Program Files\\Keyvane\\Keyvane.ini");
  for (const auto& [exe, expected] :
       {std::pair{"D:/kv/kv.exe", "D:/kv/a.kth"}, std::pair{"D:kv.exe", "D:a.kth"},
        std::pair{"kv.exe", "a.kth"}}) {
    fp.exePath = exe;
    EXPECT_EQ(BesideExecutable(fp.platform(), "a.kth"), expected);
  }
}

}  // namespace
}  // namespace kv

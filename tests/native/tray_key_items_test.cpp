// The tray menu's key items: choosing one runs the key's action as a key press would, also
// while the keys are switched off; an item that reads "(not set)" does nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;
using test::KeySection;

class TrayKeyItems : public FormTest {
 protected:
  void Choose(std::string_view section) { Key(section).trayItem->UserClick(); }
};

TEST_F(TrayKeyItems, ASetKeysItemRunsItsStoredAction) {
  WriteSettings(KeySection("HomeKey", "News", 12, "news.example.com") +
                KeySection("F2Key", "Notes", 10, "C:\\x\\run.bat"));
  Create();
  Choose("HomeKey");
  Choose("F2Key");
  EXPECT_EQ(fp.shellExecutes, std::vector<std::string>{"open|http://news.example.com|||5|owned"});
  EXPECT_EQ(fp.started, std::vector<std::string>{"C:\\x\\run.bat"});
}

TEST_F(TrayKeyItems, ASetKeysItemRunsItsActionWhileTheKeysAreOff) {
  WriteSettings("[Keys]\r\nEnabled=0\r\n\r\n" + KeySection("F1Key", "Copy", 28, "1C"));
  Create();
  ASSERT_FALSE(form->KeysOn());
  ASSERT_TRUE(Registered().empty());
  Choose("F1Key");
  EXPECT_EQ(fp.keyEvents, (std::vector<std::string>{"down 0x11 scan 0", "down 0x43 scan 0",
                                                    "up 0x43 scan 0", "up 0x11 scan 0"}));
  EXPECT_FALSE(form->KeysOn());
}

TEST_F(TrayKeyItems, AnItemReadingNotSetDoesNothing) {
  // F3 has a stale action but no title; F4 is marked not set explicitly.
  WriteSettings("[F3Key]\r\nAction=12\r\nFile=x\r\n\r\n" +
                KeySection("F4Key", "@!#", 12, "y"));
  Create();
  ASSERT_EQ(Key("F3Key").trayItem->caption(), "F3 - (not set)");
  ASSERT_EQ(Key("F4Key").trayItem->caption(), "F4 - (not set)");
  const size_t logSize = fp.log.size();
  Choose("F3Key");
  Choose("F4Key");
  Choose("F5Key");
  EXPECT_TRUE(fp.shellExecutes.empty());
  EXPECT_EQ(fp.log.size(), logSize);
}

TEST_F(TrayKeyItems, ATitleThatItselfContainsNotSetMakesItsItemDoNothing) {
  WriteSettings(KeySection("PUKey", "Mail (not set)", 12, "mail.example.com") +
                KeySection("PDKey", "Mail (Not Set)", 12, "mail.example.com"));
  Create();
  ASSERT_EQ(Key("PUKey").trayItem->caption(), "PageUp - Mail (not set)");
  Choose("PUKey");
  EXPECT_TRUE(fp.shellExecutes.empty());
  // The test is for the exact lower-case text.
  Choose("PDKey");
  EXPECT_EQ(fp.shellExecutes.size(), 1u);
}

TEST_F(TrayKeyItems, AnItemRunsTheRecordAsStoredNowNotAsWhenTheMenuWasBuilt) {
  WriteSettings(KeySection("InsKey", "Web", 12, "old.example.com"));
  Create();
  // The file changes behind the menu's back (another copy of the settings, a theme tool).
  WriteSettings(KeySection("InsKey", "Web", 12, "new.example.com"));
  Choose("InsKey");
  EXPECT_EQ(fp.shellExecutes, std::vector<std::string>{"open|http://new.example.com|||5|owned"});
}

TEST_F(TrayKeyItems, AnErrorFromTheItemsActionReachesTheErrorBox) {
  WriteSettings(KeySection("F7Key", "Sign", 31, "Ann"));
  Create();
  RouteErrorsToErrorBox();
  fp.clipboardBusy = true;
  Choose("F7Key");
  EXPECT_EQ(fp.errors.size(), 1u);
  EXPECT_TRUE(fp.keyEvents.empty());
}

}  // namespace
}  // namespace kv

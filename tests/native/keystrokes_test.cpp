// Key combinations, pasting through the clipboard and the search-term prompt: the key events
// sent, in order, what lands on the clipboard, and what the user is asked.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "actions/key_combo.h"
#include "app/form.h"
#include "core/error.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;
using test::KeySection;

// The fake's keyboard, with the clipboard and key events also entered in the effect log and a
// keyboard layout that can place V elsewhere.
class LoggedKeyboard final : public platform::Keyboard {
 public:
  explicit LoggedKeyboard(fake::FakePlatform& fp) : fp_(fp) {}
  size_t SendKeys(const std::vector<platform::KeyStroke>& strokes) override {
    const size_t before = fp_.keyEvents.size();
    const size_t accepted = fp_.SendKeys(strokes);
    for (size_t i = before; i < fp_.keyEvents.size(); ++i) fp_.log.push_back("key " + fp_.keyEvents[i]);
    return accepted;
  }
  int16_t KeyScan(char c) override {
    if (c == 'v' && keyScanOfV) return *keyScanOfV;
    return fp_.KeyScan(c);
  }
  bool SetClipboardText(const std::string& text) override { return fp_.SetClipboardText(text); }

  std::optional<int16_t> keyScanOfV;

 private:
  fake::FakePlatform& fp_;
};

// The fake's dialogs, keeping the initial text of every input box.
class InputBoxDialogs final : public platform::Dialogs {
 public:
  explicit InputBoxDialogs(fake::FakePlatform& fp) : fp_(fp) {}
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override {
    return fp_.ShowMessage(text, caption, style);
  }
  void ShowError(const std::string& text) override { fp_.ShowError(text); }
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override {
    initialTexts.push_back(initial);
    return fp_.InputBox(caption, prompt, initial);
  }
  std::optional<std::string> ChooseFileToOpen() override { return fp_.ChooseFileToOpen(); }

  std::vector<std::string> initialTexts;

 private:
  fake::FakePlatform& fp_;
};

class Keystrokes : public FormTest {
 protected:
  LoggedKeyboard keyboard{fp};
  InputBoxDialogs dialogs{fp};
  platform::Platform observed{fp, fp, fp, fp, fp, dialogs, fp, fp, fp, fp, keyboard, fp, fp, fp};

  TForm1& CreateObserved() {
    form = std::make_unique<TForm1>(observed, std::vector<std::string>{});
    form->FormCreate();
    return *form;
  }
  void SetUp() override { CreateObserved(); }
};

std::string Down(uint8_t vk, int scan = 0) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "down 0x%02X scan %d", vk, scan);
  return buf;
}
std::string Up(uint8_t vk, int scan = 0) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "up 0x%02X scan %d", vk, scan);
  return buf;
}
using Events = std::vector<std::string>;

// ---- two- and three-key combinations ----

struct ComboCase {
  int code;
  const char* text;
  Events events;
};

class ComboSent : public Keystrokes, public ::testing::WithParamInterface<ComboCase> {};

TEST_P(ComboSent, PressesInOrderAndReleasesEveryKeyInReverse) {
  form->RunAction(GetParam().code, GetParam().text);
  EXPECT_EQ(fp.keyEvents, GetParam().events);
  // In one piece, so that no other input can come between a press and its release.
  EXPECT_EQ(fp.keyInputCalls, std::vector<size_t>{GetParam().events.size()});
  EXPECT_TRUE(fp.keysDown.empty());
  EXPECT_TRUE(fp.shellExecutes.empty());
  EXPECT_FALSE(fp.clipboard.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    TwoKeys, ComboSent,
    ::testing::Values(
        ComboCase{28, "1C", {Down(0x11), Down(0x43), Up(0x43), Up(0x11)}},
        ComboCase{28, "0A", {Down(0x10), Down(0x41), Up(0x41), Up(0x10)}},
        ComboCase{28, "2Tab", {Down(0x12), Down(0x09), Up(0x09), Up(0x12)}},
        ComboCase{28, "3Delete", {Down(0x5B), Down(0x2E), Up(0x2E), Up(0x5B)}},
        ComboCase{28, "10", {Down(0x11), Down(0x30), Up(0x30), Up(0x11)}},
        ComboCase{28, "19", {Down(0x11), Down(0x39), Up(0x39), Up(0x11)}},
        // The Applications key, which the editor never offers, is still sent.
        ComboCase{28, "4A", {Down(0x5D), Down(0x41), Up(0x41), Up(0x5D)}},
        // A digit without a modifier presses nothing in its place.
        ComboCase{28, "7A", {Down(0x41), Up(0x41)}},
        ComboCase{28, "9Z", {Down(0x5A), Up(0x5A)}},
        // An empty key name sends the virtual key 0.
        ComboCase{28, "1", {Down(0x11), Down(0x00), Up(0x00), Up(0x11)}}));

INSTANTIATE_TEST_SUITE_P(
    ThreeKeys, ComboSent,
    ::testing::Values(
        ComboCase{29, "20Tab", {Down(0x12), Down(0x10), Down(0x09), Up(0x09), Up(0x10), Up(0x12)}},
        ComboCase{29, "01Delete", {Down(0x10), Down(0x11), Down(0x2E), Up(0x2E), Up(0x11), Up(0x10)}},
        ComboCase{29, "13S", {Down(0x11), Down(0x5B), Down(0x53), Up(0x53), Up(0x5B), Up(0x11)}},
        ComboCase{29, "11A", {Down(0x11), Down(0x11), Down(0x41), Up(0x41), Up(0x11), Up(0x11)}},
        ComboCase{29, "71A", {Down(0x11), Down(0x41), Up(0x41), Up(0x11)}},
        ComboCase{29, "17A", {Down(0x11), Down(0x41), Up(0x41), Up(0x11)}},
        ComboCase{29, "88A", {Down(0x41), Up(0x41)}},
        ComboCase{29, "42", {Down(0x5D), Down(0x12), Down(0x00), Up(0x00), Up(0x12), Up(0x5D)}}));

TEST_F(Keystrokes, CtrlAltDeleteInEitherOrderStartsTheTaskManagerAndSendsNothing) {
  form->RunAction(29, "12Delete");
  form->RunAction(29, "21Delete");
  EXPECT_TRUE(fp.keyEvents.empty());
  EXPECT_EQ(fp.shellExecutes, (std::vector<std::string>{"open|taskmgr|||1|none", "open|taskmgr|||1|none"}));
  EXPECT_TRUE(fp.started.empty());
}

TEST_F(Keystrokes, CtrlAltDeleteIsOnlyRecognisedAsThreeKeysWithExactName) {
  form->RunAction(28, "1Delete");  // two keys: sent as keys
  form->RunAction(29, "12delete");  // key names keep their letter case: 'd' is sent
  EXPECT_TRUE(fp.shellExecutes.empty());
  EXPECT_EQ(fp.keyEvents, (Events{Down(0x11), Down(0x2E), Up(0x2E), Up(0x11), Down(0x11),
                                  Down(0x12), Down(0x64), Up(0x64), Up(0x12), Up(0x11)}));
}

TEST_F(Keystrokes, ModifierPositionsThatAreNotDigitsThrowBeforeAnyKeyGoesDown) {
  const std::vector<std::pair<int, std::string>> bad = {
      {28, "-1C"}, {28, "xC"}, {28, ""}, {28, " 1C"},
      {29, "-1-1C"}, {29, "1xA"}, {29, "x1A"}, {29, "1"}, {29, ""}, {29, "-10Tab"}};
  for (const auto& [code, text] : bad) {
    SCOPED_TRACE(text);
    EXPECT_THROW(form->RunAction(code, text), KeyvaneError);
  }
  EXPECT_TRUE(fp.keyEvents.empty());
  EXPECT_TRUE(fp.shellExecutes.empty());
}

TEST_F(Keystrokes, AMalformedStoredComboOnAKeyIsReportedByTheErrorBox) {
  WriteSettings(KeySection("F4Key", "Copy", 28, "xC") + KeySection("F5Key", "Copy", 28, "1C"));
  CreateObserved();
  RouteErrorsToErrorBox();
  PressHotKey("F4Key");
  EXPECT_EQ(fp.errors.size(), 1u);
  EXPECT_TRUE(fp.keyEvents.empty());
  PressHotKey("F5Key");
  EXPECT_EQ(fp.keyEvents, (Events{Down(0x11), Down(0x43), Up(0x43), Up(0x11)}));
}

// ---- input that Windows refuses in part ----

// A window of higher rights took the focus after the first `accepted` events of the
// combination had gone in; the next calls go through again.
struct RefusalCase {
  int code;
  const char* text;
  size_t accepted;
  Events events;  // every event that reached the system, in order
};

class RefusedMidway : public Keystrokes, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedMidway, ReleasesWhatWentDownAndLeavesNothingHeld) {
  const RefusalCase& c = GetParam();
  fp.keyInputLimits = {c.accepted};
  form->RunAction(c.code, c.text);
  EXPECT_EQ(fp.keyEvents, c.events);
  EXPECT_TRUE(fp.keysDown.empty());
  EXPECT_TRUE(fp.balloons.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Combos, RefusedMidway,
    ::testing::Values(
        RefusalCase{28, "1C", 0, {}},
        RefusalCase{28, "1C", 1, {Down(0x11), Up(0x11)}},
        RefusalCase{28, "1C", 2, {Down(0x11), Down(0x43), Up(0x43), Up(0x11)}},
        RefusalCase{28, "1C", 3, {Down(0x11), Down(0x43), Up(0x43), Up(0x11)}},
        RefusalCase{29, "20Tab", 1, {Down(0x12), Up(0x12)}},
        RefusalCase{29, "20Tab", 2, {Down(0x12), Down(0x10), Up(0x10), Up(0x12)}},
        RefusalCase{29, "20Tab", 3, {Down(0x12), Down(0x10), Down(0x09), Up(0x09), Up(0x10), Up(0x12)}},
        RefusalCase{29, "20Tab", 5, {Down(0x12), Down(0x10), Down(0x09), Up(0x09), Up(0x10), Up(0x12)}},
        RefusalCase{29, "71A", 1, {Down(0x11), Up(0x11)}},
        RefusalCase{29, "11A", 2, {Down(0x11), Down(0x11), Up(0x11), Up(0x11)}},
        RefusalCase{31, "text", 1, {Down(0x11, 1), Up(0x11, 1)}},
        RefusalCase{31, "text", 2, {Down(0x11, 1), Down(0x56, 1), Up(0x56, 1), Up(0x11, 1)}}));

TEST_F(Keystrokes, ReleasesThatGoInOneAtATimeAreSentUntilAllAreUp) {
  fp.keyInputLimits = {3, 1, 1};
  form->RunAction(29, "20Tab");
  EXPECT_EQ(fp.keyEvents, (Events{Down(0x12), Down(0x10), Down(0x09), Up(0x09), Up(0x10), Up(0x12)}));
  EXPECT_EQ(fp.keyInputCalls, (std::vector<size_t>{6, 3, 2, 1}));
  EXPECT_TRUE(fp.keysDown.empty());
}

TEST_F(Keystrokes, KeysWindowsKeepsRefusingToReleaseAreNamedToTheUserWithoutWaitingLong) {
  fp.keyInputLimits = {2};
  fp.keyInputLimit = 0;  // the program with higher rights keeps the focus
  form->RunAction(28, "1C");
  EXPECT_EQ(fp.keyEvents, (Events{Down(0x11), Down(0x43)}));
  EXPECT_EQ(fp.keysDown, (std::set<uint8_t>{0x11, 0x43}));
  EXPECT_LE(fp.keyInputCalls.size(), 5u) << "kept trying";
  ASSERT_EQ(fp.balloons.size(), 1u);
  EXPECT_EQ(fp.balloons[0].title, "Keyvane");
  EXPECT_EQ(fp.balloons[0].text,
            "Windows did not let Keyvane release Ctrl and C. If keys act strangely, press and release Ctrl and C.");
  EXPECT_EQ(fp.balloons[0].seconds, 10);

  // Once the focus is back, a combination goes through whole again.
  fp.keyInputLimit = SIZE_MAX;
  fp.keyEvents.clear();
  form->RunAction(28, "2Tab");
  EXPECT_EQ(fp.keyEvents, (Events{Down(0x12), Down(0x09), Up(0x09), Up(0x12)}));
  EXPECT_EQ(fp.balloons.size(), 1u);
}

TEST_F(Keystrokes, AModifierHeldTwiceIsNamedOnceAndAPasteNamesItsKeys) {
  fp.keyInputLimits = {2};
  fp.keyInputLimit = 0;
  form->RunAction(29, "11A");
  ASSERT_EQ(fp.balloons.size(), 1u);
  EXPECT_EQ(fp.balloons[0].text,
            "Windows did not let Keyvane release Ctrl. If keys act strangely, press and release Ctrl.");

  fp.keysDown.clear();
  fp.keyInputLimits = {3};
  form->RunAction(29, "03Tab");
  ASSERT_EQ(fp.balloons.size(), 2u);
  EXPECT_EQ(fp.balloons[1].text,
            "Windows did not let Keyvane release Shift, Windows and Tab. If keys act strangely, press "
            "and release Shift, Windows and Tab.");

  fp.keysDown.clear();
  fp.keyInputLimits = {1};
  form->RunAction(31, "pasted");
  EXPECT_EQ(fp.clipboard, "pasted");
  ASSERT_EQ(fp.balloons.size(), 3u);
  EXPECT_EQ(fp.balloons[2].text,
            "Windows did not let Keyvane release Ctrl. If keys act strangely, press and release Ctrl.");
}

TEST_F(Keystrokes, InputRefusedWholeLeavesNothingToReleaseOrReport) {
  fp.keyInputLimit = 0;
  form->RunAction(28, "1C");
  form->RunAction(31, "x");
  EXPECT_TRUE(fp.keyEvents.empty());
  EXPECT_EQ(fp.keyInputCalls, (std::vector<size_t>{4, 4}));
  EXPECT_TRUE(fp.balloons.empty());
  EXPECT_EQ(fp.clipboard, "x");
}

// ---- the stored form of a combination ----

uint8_t ExpectedKey(const std::string& name) {
  if (name == "Tab") return 0x09;
  if (name == "Delete") return 0x2E;
  return static_cast<uint8_t>(name[0]);
}

const uint8_t kModifierKeys[] = {0x10, 0x11, 0x12, 0x5B};

TEST_F(Keystrokes, EveryEditorChoiceSurvivesTheStoredForm) {
  const std::vector<std::string>& names = form->ComboBox6->items();
  ASSERT_EQ(names.size(), 38u);
  for (const std::string& name : names) {
    for (int m = 0; m < 4; ++m) {
      const std::string two = FormatKeyCombo({m, 0}, 1, name);
      const KeyCombo parsed = ParseKeyCombo(two, 1);
      EXPECT_EQ(parsed.modifiers[0], kModifierKeys[m]) << two;
      EXPECT_FALSE(parsed.modifiers[1].has_value()) << two;
      EXPECT_EQ(parsed.key, ExpectedKey(name)) << two;
      for (int first = 0; first < 4; ++first) {
        const std::string three = FormatKeyCombo({first, m}, 2, name);
        const KeyCombo p3 = ParseKeyCombo(three, 2);
        EXPECT_EQ(p3.modifiers[0], kModifierKeys[first]) << three;
        EXPECT_EQ(p3.modifiers[1], kModifierKeys[m]) << three;
        EXPECT_EQ(p3.key, ExpectedKey(name)) << three;
      }
    }
  }
}

TEST_F(Keystrokes, TheRunButtonSendsEveryTwoKeyChoiceOfTheEditor) {
  form->ComboBox1->SetItemIndex(28);
  for (int k = 0; k < form->ComboBox6->count(); ++k) {
    for (int m = 0; m < 4; ++m) {
      fp.keyEvents.clear();
      form->ComboBox5->SetItemIndex(m);
      form->ComboBox6->SetItemIndex(k);
      form->Button1Click();
      const uint8_t key = ExpectedKey(form->ComboBox6->text());
      EXPECT_EQ(fp.keyEvents, (Events{Down(kModifierKeys[m]), Down(key), Up(key), Up(kModifierKeys[m])}))
          << form->ComboText(28);
    }
  }
}

TEST_F(Keystrokes, TheRunButtonSendsEveryThreeKeyChoiceOfTheEditor) {
  form->ComboBox1->SetItemIndex(29);
  for (int k = 0; k < form->ComboBox6->count(); ++k) {
    for (int first = 0; first < 4; ++first) {
      for (int second = 0; second < 4; ++second) {
        fp.keyEvents.clear();
        fp.shellExecutes.clear();
        form->ComboBox4->SetItemIndex(first);
        form->ComboBox5->SetItemIndex(second);
        form->ComboBox6->SetItemIndex(k);
        form->Button1Click();
        const std::string text = form->ComboText(29);
        if (text == "12Delete" || text == "21Delete") {
          EXPECT_TRUE(fp.keyEvents.empty()) << text;
          EXPECT_EQ(fp.shellExecutes.size(), 1u) << text;
          continue;
        }
        const uint8_t key = ExpectedKey(form->ComboBox6->text());
        const uint8_t a = kModifierKeys[first], b = kModifierKeys[second];
        EXPECT_EQ(fp.keyEvents, (Events{Down(a), Down(b), Down(key), Up(key), Up(b), Up(a)})) << text;
        EXPECT_TRUE(fp.shellExecutes.empty()) << text;
      }
    }
  }
}

TEST_F(Keystrokes, TheRunButtonSendsNothingForAnIncompleteCombination) {
  RouteErrorsToErrorBox();
  struct Choice {
    int listIndex, first, modifier, key;
  };
  const Choice incomplete[] = {
      {28, -1, -1, 2},  {28, -1, 1, -1}, {28, 3, -1, 2},  // no modifier / no key
      {29, -1, 1, 2},   {29, 2, -1, 2},  {29, 2, 1, -1},  {29, -1, -1, -1},
  };
  for (const Choice& c : incomplete) {
    form->ComboBox1->SetItemIndex(c.listIndex);
    form->ComboBox4->SetItemIndex(c.first);
    form->ComboBox5->SetItemIndex(c.modifier);
    form->ComboBox6->SetItemIndex(c.key);
    ui::RunUserEvent([this] { form->Button1Click(); });
  }
  EXPECT_TRUE(fp.keyEvents.empty());
  EXPECT_TRUE(fp.shellExecutes.empty());
  EXPECT_TRUE(fp.errors.empty());

  // Completing the last one sends it.
  form->ComboBox4->SetItemIndex(2);
  form->ComboBox5->SetItemIndex(1);
  form->ComboBox6->SetItemIndex(2);
  ui::RunUserEvent([this] { form->Button1Click(); });
  EXPECT_EQ(fp.keyEvents, (Events{Down(0x12), Down(0x11), Down(0x43), Up(0x43), Up(0x11), Up(0x12)}));
}

// ---- Paste Text ----

Events CtrlV(uint8_t v = 0x56) { return {Down(0x11, 1), Down(v, 1), Up(v, 1), Up(0x11, 1)}; }

TEST_F(Keystrokes, PasteTextFillsTheClipboardThenSendsCtrlVWithScanCode1) {
  form->RunAction(31, "Kind regards,\r\nAnn");
  EXPECT_EQ(fp.clipboard, "Kind regards,\r\nAnn");
  EXPECT_EQ(fp.keyEvents, CtrlV());
  EXPECT_LT(LogIndex("clipboard Kind regards,\r\nAnn"), LogIndex("key " + Down(0x11, 1)));
}

TEST_F(Keystrokes, PasteTextUsesTheKeyboardLayoutsKeyForV) {
  keyboard.keyScanOfV = 0x0155;  // V on another key, with a shift state in the high byte
  form->RunAction(31, "x");
  EXPECT_EQ(fp.keyEvents, CtrlV(0x55));
}

TEST_F(Keystrokes, PasteTextOnALayoutWithoutTheLetterVStillUsesTheVKey) {
  keyboard.keyScanOfV = -1;  // a Russian or Greek layout has no key giving "v"
  form->RunAction(31, "x");
  EXPECT_EQ(fp.keyEvents, CtrlV(0x56));
}

TEST_F(Keystrokes, PasteTextOfNothingEmptiesTheClipboardAndStillPastes) {
  fp.clipboard = "earlier";
  form->RunAction(31, "");
  EXPECT_EQ(fp.clipboard, "");
  EXPECT_EQ(fp.keyEvents, CtrlV());
}

TEST_F(Keystrokes, PasteTextKeepsCharactersBeyondTheAnsiCodePage) {
  form->RunAction(31, "Grüße Ω ≠ 日本");
  EXPECT_EQ(fp.clipboard, "Grüße Ω ≠ 日本");
}

TEST_F(Keystrokes, ABusyClipboardIsReportedAndNoKeysAreSent) {
  fp.clipboardBusy = true;
  fp.clipboard = "theirs";
  EXPECT_THROW(form->RunAction(31, "mine"), KeyvaneError);
  EXPECT_TRUE(fp.keyEvents.empty());
  EXPECT_EQ(fp.clipboard, "theirs");
}

TEST_F(Keystrokes, ABusyClipboardOnAKeyPressReachesTheErrorBox) {
  WriteSettings(KeySection("EndKey", "Sign", 31, "Ann") +
                KeySection("PDKey", "Notes", 32, "C:\\notes.txt"));
  CreateObserved();
  fp.files["C:\\notes.txt"] = "one\r\n";
  RouteErrorsToErrorBox();
  fp.clipboardBusy = true;
  PressHotKey("EndKey");
  PressHotKey("PDKey");
  EXPECT_EQ(fp.errors.size(), 2u);
  EXPECT_TRUE(fp.keyEvents.empty());
  EXPECT_FALSE(fp.clipboard.has_value());
}

// ---- Paste File Contents ----

struct FileCase {
  const char* name;
  std::string bytes;
  std::string pasted;
};

class PasteFile : public Keystrokes, public ::testing::WithParamInterface<FileCase> {};

TEST_P(PasteFile, PastesEveryLineEndedByCrLf) {
  const std::string path = "C:\\Users\\ann\\notes.txt";
  fp.files[path] = GetParam().bytes;
  form->RunAction(32, path);
  EXPECT_EQ(fp.clipboard, GetParam().pasted);
  EXPECT_EQ(fp.keyEvents, CtrlV());
  EXPECT_EQ(fp.FileText(path), GetParam().bytes) << "the file is only read";
}

INSTANTIATE_TEST_SUITE_P(
    Files, PasteFile,
    ::testing::Values(
        FileCase{"CrLfWithoutFinalBreak", "one\r\ntwo", "one\r\ntwo\r\n"},
        FileCase{"LfWithFinalBreak", "one\ntwo\n", "one\r\ntwo\r\n"},
        FileCase{"CrLfWithFinalBreak", "one\r\ntwo\r\n", "one\r\ntwo\r\n"},
        FileCase{"EmptyLinesKept", "one\r\n\r\n\r\ntwo", "one\r\n\r\n\r\ntwo\r\n"},
        FileCase{"OneLine", "single", "single\r\n"},
        FileCase{"Empty", "", ""},
        FileCase{"Utf8WithBom", "\xEF\xBB\xBF\xCE\xA9 one\r\ntwo", "\xCE\xA9 one\r\ntwo\r\n"},
        FileCase{"Utf16LeWithBom", std::string("\xFF\xFE\xA9\x03\r\0\n\0x\0", 10), "\xCE\xA9\r\nx\r\n"},
        FileCase{"AnsiWithoutBom", "caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC\r\n"}),
    [](const ::testing::TestParamInfo<FileCase>& param) { return std::string(param.param.name); });

TEST_F(Keystrokes, AMissingOrUnreadableFileRaisesAnErrorAndLeavesTheClipboard) {
  fp.clipboard = "earlier";
  EXPECT_THROW(form->RunAction(32, "C:\\missing.txt"), KeyvaneError);
  fp.files["C:\\locked.txt"] = "secret";
  fp.unreadable.insert("C:\\locked.txt");
  EXPECT_THROW(form->RunAction(32, "C:\\locked.txt"), KeyvaneError);
  EXPECT_EQ(fp.clipboard, "earlier");
  EXPECT_TRUE(fp.keyEvents.empty());
}

TEST_F(Keystrokes, AFilePathIsUsedAsStoredWithoutExpansion) {
  fp.env["TEMP"] = "C:\\Temp";
  fp.files["C:\\Temp\\a.txt"] = "expanded";
  fp.files["%TEMP%\\a.txt"] = "literal";
  form->RunAction(32, "%TEMP%\\a.txt");
  EXPECT_EQ(fp.clipboard, "literal\r\n");
}

// ---- the search term prompt ----

constexpr const char* kPrompt =
    "This Search Term will replace \"%SEARCHTERM%\" whenever it is used in a Keyvane' URL or "
    "File Path.  Please type in the Search Term to use";

TEST_F(Keystrokes, SpecifySearchTermAsksWithTheCurrentTermAndKeepsTheAnswer) {
  form->searchTerm = "red apples";
  fp.inputAnswers.push_back("green pears");
  form->RunAction(37, "ignored");
  ASSERT_EQ(fp.inputBoxes.size(), 1u);
  EXPECT_EQ(fp.inputBoxes[0].caption, "Search Term");
  EXPECT_EQ(fp.inputBoxes[0].text, kPrompt);
  EXPECT_EQ(dialogs.initialTexts, std::vector<std::string>{"red apples"});
  EXPECT_EQ(form->searchTerm, "green pears");
  EXPECT_TRUE(fp.started.empty());
  EXPECT_TRUE(fp.shellExecutes.empty());

  form->WriteIni();
  EXPECT_EQ(SavedSettings().ReadString("Setting", "SearchTerm", ""), "green pears");
}

TEST_F(Keystrokes, CancellingTheSearchTermPromptKeepsTheTerm) {
  form->searchTerm = "red apples";
  fp.inputAnswers.push_back(std::nullopt);
  form->RunAction(37, "");
  EXPECT_EQ(form->searchTerm, "red apples");
}

TEST_F(Keystrokes, AnEmptyAnswerEmptiesTheSearchTerm) {
  form->searchTerm = "red apples";
  fp.inputAnswers.push_back("");
  form->RunAction(37, "");
  EXPECT_EQ(form->searchTerm, "");
}

TEST_F(Keystrokes, TheSearchTermKeyAsksFromAKeyPressWithTheSavedTerm) {
  WriteSettings("[Setting]\r\nSearchTerm=cheap flights\r\n\r\n" + KeySection("SLKey", "Term", 37));
  CreateObserved();
  fp.inputAnswers.push_back("late trains");
  PressHotKey("SLKey");
  EXPECT_EQ(dialogs.initialTexts, std::vector<std::string>{"cheap flights"});
  EXPECT_EQ(form->searchTerm, "late trains");
}

}  // namespace
}  // namespace kv

// The main window on the simulated Windows: a FakePlatform, a TForm1 built on it, and helpers
// to put a settings file in place before start-up and to read back what the program saved.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/form.h"
#include "core/ini_document.h"
#include "app/settings_file.h"
#include "core/key_table.h"
#include "tests/fakes/fake_platform.h"
#include "ui/control.h"

namespace kv::test {

inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A settings file in which every one of the 21 keys has a title and an action.
inline std::string FullSettingsText(int action = 13) {
  std::string text = "[Keys]\r\nEnabled=1\r\n\r\n[Setting]\r\nSearchTerm=\r\n\r\n";
  for (const KeyInfo& key : kKeys) {
    text += "[" + std::string(key.section) + "]\r\n";
    text += "Label=Title " + std::string(key.section) + "\r\n";
    text += "Action=" + std::to_string(action) + "\r\n\r\n";
  }
  text += "[Theme]\r\nIndexofSelected=1\r\n\r\n";
  return text;
}

// The OS versions that give each OS kind, as GetVersionEx reports them.
inline platform::OsVersion NtVersion(uint32_t major, uint32_t minor) {
  return {true, platform::kPlatformWin32Nt, major, minor, ""};
}

class FormTest : public ::testing::Test {
 protected:
  ~FormTest() override { ui::SetUnhandledErrorSink(nullptr); }

  fake::FakePlatform fp;
  platform::Platform& bundle = fp.platform();
  std::unique_ptr<TForm1> form;

  std::string SettingsFile() const { return fp.Beside("Keyvane.ini"); }
  void WriteSettings(const std::string& text) { fp.files[SettingsFile()] = text; }
  bool SettingsExist() const { return fp.HasFile(SettingsFile()); }
  // The settings file as the program would read it now.
  IniDocument SavedSettings() {
    IniFile file = OpenIniFile(fp.platform(), SettingsFile());
    return std::move(file.doc());
  }

  // Builds the main window without running its creation handler.
  TForm1& Build(std::vector<std::string> args = {}) {
    form = std::make_unique<TForm1>(bundle, std::move(args));
    return *form;
  }
  // Builds the main window and runs its creation handler, as start-up does.
  TForm1& Create(std::vector<std::string> args = {}) {
    Build(std::move(args));
    form->FormCreate();
    return *form;
  }

  static int Index(std::string_view section) {
    const std::optional<int> index = KeyIndexBySection(section);
    if (!index) ADD_FAILURE() << "no key " << section;
    return index.value_or(0);
  }
  uint32_t IdOf(std::string_view section) const {
    return form->hotKeyIds[static_cast<size_t>(Index(section))];
  }
  KeyView& Key(std::string_view section) { return form->keys[static_cast<size_t>(Index(section))]; }

  // The ids registered right now, each with its modifiers and virtual key.
  std::map<uint32_t, std::pair<uint32_t, uint32_t>> Registered() const {
    return fp.registeredHotKeys;
  }
  // The expected registrations for the keys named, as the fake records them.
  std::map<uint32_t, std::pair<uint32_t, uint32_t>> RegistrationsOf(
      std::initializer_list<std::string_view> sections) const {
    std::map<uint32_t, std::pair<uint32_t, uint32_t>> expected;
    for (std::string_view s : sections) expected[IdOf(s)] = {0u, KeyAt(Index(s)).vk};
    return expected;
  }

  // Effect-log lines starting with `prefix`, in order.
  std::vector<std::string> LogLines(std::string_view prefix) const {
    std::vector<std::string> lines;
    for (const std::string& line : fp.log)
      if (std::string_view(line).starts_with(prefix)) lines.push_back(line);
    return lines;
  }
  // Position of the first effect-log line equal to `line`, or -1.
  int LogIndex(std::string_view line) const {
    for (size_t i = 0; i < fp.log.size(); ++i)
      if (fp.log[i] == line) return static_cast<int>(i);
    return -1;
  }

  // Everything the simulated Windows was made to do since `mark` (taken with EffectsMark()).
  fake::EffectLog::Mark EffectsMark() const { return fp.effects.Now(); }
  std::vector<std::string> EffectsSince(fake::EffectLog::Mark mark) const {
    return fp.effects.Since(mark);
  }
  // For EXPECT_TRUE: passes when nothing at all happened since `mark`, else lists what did.
  ::testing::AssertionResult NoEffectsSince(fake::EffectLog::Mark mark) const {
    const std::vector<std::string> lines = EffectsSince(mark);
    if (lines.empty()) return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << lines.size() << " effect(s):";
    for (const std::string& line : lines) failure << "\n  " << line;
    return failure;
  }

  // Errors that escape a handler run for the user go to the fake's error box, as in the
  // running program.
  void RouteErrorsToErrorBox() {
    ui::SetUnhandledErrorSink([this](const std::exception& e) { form->ShowUnhandledError(e); });
  }
  // A press of the key's hot key, delivered as the window procedure delivers WM_HOTKEY.
  void PressHotKey(std::string_view section) { form->HotKeyPressed(IdOf(section)); }
};

// One key's record as it appears in a settings or theme file.
inline std::string KeySection(std::string_view section, std::string_view label, int action,
                              std::string_view file = {}) {
  std::string text = "[" + std::string(section) + "]\r\nLabel=" + std::string(label) +
                     "\r\nAction=" + std::to_string(action) + "\r\n";
  if (!file.empty()) text += "File=" + std::string(file) + "\r\n";
  return text + "\r\n";
}

}  // namespace kv::test

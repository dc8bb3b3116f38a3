// The main window on the simulated Windows: a FakePlatform, a TForm1 built on it, and helpers
// to put a settings file in place before start-up and to read back what the program saved.
//
// Hot-key and atom calls are also written into the fake's effect log (fp.log), so that a test
// can check their order against file writes, balloons and the tray icon.
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

// Hot keys of the fake, with every call also entered in the effect log.
class LoggedHotKeys final : public platform::HotKeys {
 public:
  explicit LoggedHotKeys(fake::FakePlatform& fp) : fp_(fp) {}
  bool Register(uint32_t id, uint32_t modifiers, uint32_t virtualKey) override {
    fp_.log.push_back("register " + std::to_string(id));
    return fp_.Register(id, modifiers, virtualKey);
  }
  bool Unregister(uint32_t id) override {
    fp_.log.push_back("unregister " + std::to_string(id));
    return fp_.Unregister(id);
  }

 private:
  fake::FakePlatform& fp_;
};

// Kernel services of the fake, with atom calls also entered in the effect log.
class LoggedSystem final : public platform::System {
 public:
  explicit LoggedSystem(fake::FakePlatform& fp) : fp_(fp) {}
  bool AcquireSingleInstance(const std::string& name) override {
    return fp_.AcquireSingleInstance(name);
  }
  void ReleaseSingleInstance() override { fp_.ReleaseSingleInstance(); }
  uint16_t AddAtom(const std::string& name) override {
    fp_.log.push_back("add atom " + name);
    return fp_.AddAtom(name);
  }
  void DeleteAtom(uint16_t atom) override {
    fp_.log.push_back("delete atom " + std::to_string(atom));
    fp_.DeleteAtom(atom);
  }
  platform::OsVersion Version() override { return fp_.Version(); }
  std::string WindowsDirectory() override { return fp_.WindowsDirectory(); }
  platform::RegistryRead ReadRegistryString(platform::RegistryHive hive, const std::string& key,
                                            const std::string& valueName) override {
    return fp_.ReadRegistryString(hive, key, valueName);
  }
  std::string ModuleFileName() override { return fp_.ModuleFileName(); }
  std::optional<std::string> EnvironmentVariable(const std::string& name) override {
    return fp_.EnvironmentVariable(name);
  }
  uint64_t TickCountMs() override { return fp_.TickCountMs(); }

 private:
  fake::FakePlatform& fp_;
};

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
  LoggedHotKeys loggedHotKeys{fp};
  LoggedSystem loggedSystem{fp};
  platform::Platform bundle{loggedSystem, fp, fp, loggedHotKeys, fp, fp, fp, fp, fp, fp, fp, fp};
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

  // Errors that escape a handler run for the user go to the fake's error box, as in the
  // running program.
  void RouteErrorsToErrorBox() {
    ui::SetUnhandledErrorSink([this](const std::string& text) { fp.ShowError(text); });
  }
  // A press of the key's hot key, delivered as the window procedure delivers WM_HOTKEY.
  void PressHotKey(std::string_view section) {
    const uint32_t id = IdOf(section);
    ui::RunUserEvent([this, id] { form->OnHotKey(id); });
  }
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

// "Run at Startup": the check box, and the Keyvane.lnk in the user's Startup folder that it
// keeps in step with the "RunAtStartup" setting.
#include "actions/file_redirection.h"
#include "app/form.h"
#include "app/settings_file.h"

namespace kv {

namespace {

constexpr const char* kShortcutName = "Keyvane.lnk";
constexpr const char* kShortcutDescription = "Keyvane";

// Only a to z: a path's other letters are compared as they are.
std::string Capitals(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

std::string StartupFolderFallback(const std::string& windowsFolder) {
  return windowsFolder + "Startm~1\\Programs\\StartUp\\";
}

std::string TForm1::StartupShortcutPath() const {
  // A Shell Folders key without a "Startup" value leaves the folder empty; the bare file
  // name would then land in whatever the current folder is (System32, at log-on).
  const std::string folder =
      startupFolder.empty() ? StartupFolderFallback(windowsFolder) : startupFolder;
  return folder + kShortcutName;
}

void TForm1::MakeShortcut(const std::string& target, const std::string& arguments,
                          const std::string& shortcutPath, const std::string& description) {
  platform::ShortcutInfo link;
  link.target = target;
  link.arguments = arguments;
  link.description = description;
  link.workingDirectory = target.substr(0, target.find_last_of('\\') + 1);
  link.showCommand = platform::kSwShowNormal;
  link.hotKey = 0;
  platform.shortcuts.Write(shortcutPath, link);
}

void TForm1::CheckBox1Click() {
  IniFile settings = OpenSettings(platform);
  settings.doc().WriteBool("Setting", "RunAtStartup", CheckBox1->checked());
  const std::string shortcut = StartupShortcutPath();
  if (CheckBox1->checked()) {
    const std::string exe = platform.system.ModuleFileName();
    if (!nFileExists(platform, is64, shortcut))
      MakeShortcut(exe, kBootArgument, shortcut, kShortcutDescription);
    // Another copy of Keyvane, a removable drive or an unreadable target: point it here.
    if (Capitals(exe) != Capitals(CheckTarget(platform, is64, shortcut)))
      MakeShortcut(exe, kBootArgument, shortcut, kShortcutDescription);
  } else if (nFileExists(platform, is64, shortcut)) {
    nDeleteFile(platform, is64, shortcut);
  }
  // A shortcut that could not be written skips this: the stored value stays as it was.
  settings.Flush();
}

}  // namespace kv

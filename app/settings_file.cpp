#include "app/settings_file.h"

#include <utility>

namespace kv {

std::string BesideExecutable(platform::Platform& platform, std::string_view fileName) {
  const std::string exe = platform.system.ModuleFileName();
  const size_t cut = exe.find_last_of("\\/:");
  const size_t folderLength = cut == std::string::npos ? 0 : cut + 1;
  return exe.substr(0, folderLength).append(fileName);
}

std::string SettingsPath(platform::Platform& platform) {
  return BesideExecutable(platform, kSettingsFileName);
}

IniFile OpenIniFile(platform::Platform& platform, std::string path) {
  return IniFile(platform.files, platform.ansi, std::move(path));
}

IniFile OpenSettings(platform::Platform& platform) { return OpenIniFile(platform, SettingsPath(platform)); }

}  // namespace kv

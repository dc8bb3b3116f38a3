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

bool IsSaveTemporaryName(std::string_view name) {
  constexpr std::string_view kStem = "~Keyvane", kEnd = ".tmp";
  if (name.size() <= kStem.size() + kEnd.size() || !name.starts_with(kStem) || !name.ends_with(kEnd))
    return false;
  const std::string_view numbers = name.substr(kStem.size(), name.size() - kStem.size() - kEnd.size());
  const size_t dash = numbers.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == numbers.size()) return false;
  for (size_t i = 0; i < numbers.size(); ++i)
    if (i != dash && (numbers[i] < '0' || numbers[i] > '9')) return false;
  return true;
}

void RemoveStaleSaveTemporaries(platform::Platform& platform) {
  const std::string folder = BesideExecutable(platform, "");
  for (const std::string& name : platform.files.List(folder, "~Keyvane*.tmp"))
    if (IsSaveTemporaryName(name)) platform.files.Delete(folder + name);
}

IniFile OpenIniFile(platform::Platform& platform, std::string path) {
  return IniFile(platform.files, platform.ansi, std::move(path));
}

IniFile OpenSettings(platform::Platform& platform) { return OpenIniFile(platform, SettingsPath(platform)); }

}  // namespace kv

// Where Keyvane keeps its files: beside its own executable, whatever the current folder is.
#pragma once

#include <string>
#include <string_view>

#include "core/ini_file.h"
#include "platform/platform.h"

namespace kv {

// The executable's full path with its file name replaced by `fileName`.
std::string BesideExecutable(platform::Platform& platform, std::string_view fileName);
// "Keyvane.ini" beside the executable, built anew on every call.
std::string SettingsPath(platform::Platform& platform);

// A fresh view of an INI file through the platform's files and code page.
IniFile OpenIniFile(platform::Platform& platform, std::string path);
// A fresh view of the settings file.
IniFile OpenSettings(platform::Platform& platform);

}  // namespace kv

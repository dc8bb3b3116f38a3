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

// Whether `name` is a temporary that a save of Keyvane's makes beside the file it replaces:
// "~Keyvane", a process id, "-", a counter, ".tmp".
bool IsSaveTemporaryName(std::string_view name);
// Deletes the temporaries that saves cut off by a hard end left beside the executable. Only
// for the one running copy of Keyvane, which no other save can be using them for.
void RemoveStaleSaveTemporaries(platform::Platform& platform);

// A fresh view of an INI file through the platform's files and code page.
IniFile OpenIniFile(platform::Platform& platform, std::string path);
// A fresh view of the settings file.
IniFile OpenSettings(platform::Platform& platform);

}  // namespace kv

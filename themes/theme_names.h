// Theme names and the files behind them: "<name>.kth" beside the executable.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace kv {

inline constexpr std::string_view kThemeExtension = ".kth";
inline constexpr std::string_view kQuickStartTheme = "Quick Start";

// "Quick Start", "Control Panel" and "Shopping" come with Keyvane and are never replaced or
// deleted. Names are compared as the file system compares the names of their files.
bool IsFixedThemeName(std::string_view name, platform::FileSystem& files);

// The theme a listed file holds: its name without the ".kth" ending, dots inside the name
// kept, so that "My.Layout.kth" is the theme "My.Layout". nullopt for a file that does not
// end in ".kth" (a wildcard search can also find "x.kthx" through its short name).
std::optional<std::string> ThemeNameOfFile(std::string_view fileName);

// Why a typed name cannot be a theme file beside the executable, or nullopt when it can.
// `folderLength` is the length of the executable's folder path, ending in a backslash.
std::optional<std::string> ThemeNameProblem(std::string_view name, size_t folderLength);

}  // namespace kv

// Seeing and deleting files in the 64-bit system folders from a 32-bit process, and the
// small path helpers the run-at-startup shortcut relies on.
#pragma once

#include <string>

#include "platform/platform.h"

namespace kv {

// Whether the program runs as a 32-bit process on 64-bit Windows.
bool OSisx64(platform::Platform& platform);
// The old redirection state when it was switched off, else 0.
uintptr_t Disablex64Redirect(platform::Platform& platform);
void Revertx64Redirect(platform::Platform& platform, uintptr_t oldState);
// Tests (deletes) the path, and once more with redirection off when that fails on 64-bit
// Windows.
bool nFileExists(platform::Platform& platform, bool is64, const std::string& path);
bool nDeleteFile(platform::Platform& platform, bool is64, const std::string& path);
// The target of a shortcut file as stored (quotes included); empty when the file is missing,
// the target names no drive, or it lies on a removable drive.
std::string CheckTarget(platform::Platform& platform, bool is64, const std::string& shortcut);

inline constexpr unsigned kDriveRemovable = 2;

}  // namespace kv

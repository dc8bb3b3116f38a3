#include "actions/file_redirection.h"

namespace kv {

namespace {

// A 32-bit process on 64-bit Windows sees System32 redirected: what fails there is tried
// once more with the redirection off.
template <typename Attempt>
bool WithRedirectionRetry(platform::Platform& platform, bool is64, Attempt attempt) {
  if (attempt()) return true;
  if (!is64) return false;
  const uintptr_t old = Disablex64Redirect(platform);
  const bool result = attempt();
  Revertx64Redirect(platform, old);
  return result;
}

}  // namespace

bool OSisx64(platform::Platform& platform) {
  using platform::Wow64Probe;
  switch (platform.wow64.ProbeSystemWow64Directory()) {
    case Wow64Probe::NoKernel32:
      platform.dialogs.ShowMessage("Kernel32 is not available", "Keyvane", platform::mb::kOk);
      return false;
    case Wow64Probe::NoFunction:
    case Wow64Probe::NotImplemented:
      return false;
    case Wow64Probe::Succeeded:
    case Wow64Probe::Failed:
      return true;
  }
  return false;
}

uintptr_t Disablex64Redirect(platform::Platform& platform) {
  return platform.wow64.DisableRedirection().value_or(0);
}

void Revertx64Redirect(platform::Platform& platform, uintptr_t oldState) {
  platform.wow64.RevertRedirection(oldState);
}

bool nFileExists(platform::Platform& platform, bool is64, const std::string& path) {
  return WithRedirectionRetry(platform, is64, [&] { return platform.files.Exists(path); });
}

bool nDeleteFile(platform::Platform& platform, bool is64, const std::string& path) {
  return WithRedirectionRetry(platform, is64, [&] { return platform.files.Delete(path); });
}

std::string CheckTarget(platform::Platform& platform, bool is64, const std::string& shortcut) {
  if (!nFileExists(platform, is64, shortcut)) return {};
  const std::string target = platform.shortcuts.Read(shortcut).target;
  if (target.empty()) return {};
  std::string path = target;
  if (path.front() == '"') path = path.size() >= 2 ? path.substr(1, path.size() - 2) : std::string();
  const size_t colon = path.find(":\\");
  if (colon == std::string::npos || colon == 0) return {};
  if (platform.files.DriveType(path.substr(colon - 1, 3)) == kDriveRemovable) return {};
  return target;
}

}  // namespace kv

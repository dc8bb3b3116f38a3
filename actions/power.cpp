#include "actions/power.h"

namespace kv {

bool SuspendState::operator()(platform::Platform& platform, bool hibernate, bool force,
                              bool disableWakeEvents) {
  if (!entry_) entry_ = platform.power.LinkApi("POWRPROF.dll", "SetSuspendState");
  if (!entry_) return false;
  return platform.power.CallSetSuspendState(entry_, hibernate, force, disableWakeEvents);
}

bool MyExitWindows(platform::Platform& platform, unsigned flags) {
  const platform::OsVersion version = platform.system.Version();
  if (version.ok && version.platformId == platform::kPlatformWin32Nt)
    platform.power.EnableShutdownPrivilege();
  return platform.power.ExitSession(flags);
}

}  // namespace kv

// Sleep, hibernation, log-off, restart and shut-down.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace kv {

inline constexpr unsigned kExitLogOff = 0x0;
inline constexpr unsigned kExitShutdown = 0x1;
inline constexpr unsigned kExitReboot = 0x2;
inline constexpr unsigned kExitPowerOff = 0x8;
inline constexpr unsigned kExitForceIfHung = 0x10;

// SetSuspendState from POWRPROF.dll, looked up at the first use and remembered for the run.
class SuspendState {
 public:
  bool operator()(platform::Platform& platform, bool hibernate, bool force, bool disableWakeEvents);

 private:
  uintptr_t entry_ = 0;
};

// Asks Windows to log off, restart or shut down, with the shutdown privilege on NT.
bool MyExitWindows(platform::Platform& platform, unsigned flags);

}  // namespace kv

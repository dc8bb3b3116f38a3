#include "actions/file_redirection.h"

namespace kv {

bool OSisx64(platform::Platform& platform) {
  using platform::Wow64Probe;
  switch (platform.wow64.ProbeSystemWow64Directory()) {
    case Wow64Probe::NoKernel32:
      platform.dialogs.MessageBox("Kernel32 is not available", "Keyvane", platform::mb::kOk);
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

}  // namespace kv

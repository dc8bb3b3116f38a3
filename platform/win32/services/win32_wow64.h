// The 64-bit file-system redirection, looked up in kernel32.dll at run time because older
// Windows versions lack it.
#pragma once

#include "platform/platform.h"

namespace kv::win32 {

class Win32Wow64 final : public platform::Wow64 {
 public:
  platform::Wow64Probe ProbeSystemWow64Directory() override;
  std::optional<uintptr_t> DisableRedirection() override;
  void RevertRedirection(uintptr_t oldState) override;
};

}  // namespace kv::win32

// Kernel services for Keyvane: the single-instance mutex, global atoms, the Windows version
// and folder, registry strings, the executable's path, environment and time.
#pragma once

#include <windows.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/handles.h"

namespace kv::win32 {

// The system's text for an error code, without the trailing line break ("Access is
// denied."); "Error N." when the system has none.
std::string SystemErrorText(DWORD code);

class Win32System final : public platform::System {
 public:
  Win32System() = default;
  ~Win32System() override { ReleaseSingleInstance(); }
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  bool AcquireSingleInstance(const std::string& mutexName) override;
  void ReleaseSingleInstance() override;
  uint16_t AddAtom(const std::string& name) override;
  void DeleteAtom(uint16_t atom) override;
  platform::OsVersion Version() override;
  std::string WindowsDirectory() override;
  platform::RegistryRead ReadRegistryString(platform::RegistryHive hive, const std::string& key,
                                            const std::string& valueName) override;
  std::string ModuleFileName() override;
  std::optional<std::string> EnvironmentVariable(const std::string& name) override;
  uint64_t TickCountMs() override;

 private:
  UniqueHandle instanceMutex_;
};

}  // namespace kv::win32

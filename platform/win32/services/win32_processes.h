// Starting programs: FindExecutable, CreateProcess with a wait that keeps the main thread's
// messages flowing, ShellExecute and WinExec.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/platform.h"

namespace kv::win32 {

class Win32Processes final : public platform::Processes {
 public:
  explicit Win32Processes(std::function<HWND()> mainWindow) : mainWindow_(std::move(mainWindow)) {}

  platform::FoundExecutable FindAssociated(const std::string& file, const std::string& directory) override;
  uintptr_t StartProcess(const std::string& commandLine, int showCommand) override;
  void WaitServingMessages(uintptr_t process) override;
  void CloseProcess(uintptr_t process) override;
  int ShellExec(const std::string& verb, const std::string& file, const std::string& parameters,
                   const std::string& directory, int showCommand, bool ownedByMainWindow) override;
  unsigned WinExec(const std::string& commandLine, int showCommand) override;

 private:
  std::function<HWND()> mainWindow_;
};

}  // namespace kv::win32

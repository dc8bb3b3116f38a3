#include "platform/win32/services/win32_processes.h"

#include <shellapi.h>

#include <memory>
#include <vector>

#include "platform/win32/services/message_pump.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

// A started program's handles, owned between StartProcess and CloseProcess.
struct Process {
  HANDLE process;
  HANDLE thread;
};

}  // namespace

platform::FoundExecutable Win32Processes::FindAssociated(const std::string& file,
                                                         const std::string& directory) {
  std::vector<wchar_t> buffer(261, L'\0');
  const std::wstring wideFile = Widen(file), wideDirectory = Widen(directory);
  const HINSTANCE result = ::FindExecutableW(wideFile.c_str(),
                                             directory.empty() ? nullptr : wideDirectory.c_str(),
                                             buffer.data());
  platform::FoundExecutable found;
  found.result = static_cast<int>(reinterpret_cast<INT_PTR>(result));
  // Converted whole, so that characters made of two UTF-16 units survive; Narrow keeps the
  // NULs where the system left them.
  found.buffer = Narrow(std::wstring_view(buffer.data(), buffer.size()));
  return found;
}

uintptr_t Win32Processes::StartProcess(const std::string& commandLine, int showCommand) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION info{};
  std::wstring command = Widen(commandLine);  // CreateProcessW may write into it
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &info))
    return 0;
  return reinterpret_cast<uintptr_t>(new Process{info.hProcess, info.hThread});
}

void Win32Processes::WaitServingMessages(uintptr_t handle) {
  auto* started = reinterpret_cast<Process*>(handle);
  for (;;) {
    // A quit met here ends the wait; the main loop then ends the program with its exit code.
    if (!DispatchWaitingMessages()) return;
    // The handle itself says whether the program has ended: its exit code cannot, since a
    // program may end with the code STILL_ACTIVE (259).
    if (::WaitForSingleObject(started->process, 0) != WAIT_TIMEOUT) return;
    // Sleeps until the program ends or a message arrives: no processor time meanwhile.
    ::MsgWaitForMultipleObjectsEx(1, &started->process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void Win32Processes::CloseProcess(uintptr_t handle) {
  std::unique_ptr<Process> started(reinterpret_cast<Process*>(handle));
  ::CloseHandle(started->thread);
  ::CloseHandle(started->process);
}

int Win32Processes::ShellExec(const std::string& verb, const std::string& file,
                                 const std::string& parameters, const std::string& directory,
                                 int showCommand, bool ownedByMainWindow) {
  const HINSTANCE result = ::ShellExecuteW(ownedByMainWindow ? mainWindow_() : nullptr,
                                           Widen(verb).c_str(), Widen(file).c_str(),
                                           Widen(parameters).c_str(), Widen(directory).c_str(), showCommand);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

unsigned Win32Processes::WinExec(const std::string& commandLine, int showCommand) {
  // WinExec exists only for ANSI text; CreateProcess without a wait does the same for any text.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION info{};
  std::wstring command = Widen(commandLine);
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
    return ERROR_FILE_NOT_FOUND;
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return 33;
}

}  // namespace kv::win32

// The program's entry, above the platform: the single-instance guard, the main window's
// life and the order of the end.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace kv {

class WindowEvents;

// What hosts the main window on screen: the Win32 window, or a stand-in in tests.
class MainWindowHost {
 public:
  virtual ~MainWindowHost() = default;
  // Creates the (hidden) window for the program and attaches the control peers.
  virtual void Create(WindowEvents& program) = 0;
  virtual void Show() = 0;
  // Runs until the loop ends; returns the exit code.
  virtual int RunMessageLoop() = 0;
  // Destroys the window (the form's destruction handler has run).
  virtual void Destroy() = 0;
};

// Ends at once, with 0, when another instance holds the mutex.
int RunProgram(platform::Platform& platform, std::vector<std::string> args, MainWindowHost& host);

}  // namespace kv

// Starting a command line and waiting for it while the program stays responsive.
#pragma once

#include <string>

#include "platform/platform.h"

namespace kv {

struct PathParts {
  std::string directory;  // without its last backslash, unless that follows a drive colon
  std::string fileName;   // after the last backslash or colon
};

// Splits a command line as if it were a file path.
PathParts SplitFilePath(const std::string& path);

// The program FindExecutable found, from its result buffer: a NUL followed by more text
// becomes a blank, and the text ends at the first remaining NUL. Empty when none was found.
std::string AssociatedProgram(const platform::FoundExecutable& found);

struct CommandParts {
  std::string program;
  std::string parameters;
};

// A command line as the registry keeps it ("\"C:\Mail\mail.exe\" -compose"), split into the
// program (without quotes) and its parameters.
CommandParts SplitCommand(const std::string& command);

// A program's path in quotes when it has a blank and none yet, so that Windows cannot start
// "C:\Program.exe" for "C:\Program Files\...".
std::string QuotedPath(const std::string& path);

// Starts the command line (through the program associated with its file part, when there is
// one) and waits for it to end, serving messages meanwhile. False when it could not start.
bool Exec(platform::Platform& platform, const std::string& commandLine, int showCommand);

}  // namespace kv

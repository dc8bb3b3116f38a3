#include "actions/exec.h"

#include "core/text_util.h"

namespace kv {

PathParts SplitFilePath(const std::string& path) {
  const size_t cut = path.find_last_of("\\:");
  if (cut == std::string::npos) return {"", path};
  size_t end = cut + 1;
  // "C:\x\run.bat" gives "C:\x", but "C:\run.bat" keeps the root "C:\".
  if (cut > 0 && path[cut] == '\\' && path[cut - 1] != '\\' && path[cut - 1] != ':') end = cut;
  return {path.substr(0, end), path.substr(cut + 1)};
}

std::string AssociatedProgram(const platform::FoundExecutable& found) {
  if (found.result <= 32) return {};
  std::string text = found.buffer;
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '\0' && text[i + 1] != '\0') text[i] = ' ';
  return text.substr(0, text.find('\0'));
}

bool Exec(platform::Platform& platform, const std::string& commandLine, int showCommand) {
  const PathParts parts = SplitFilePath(commandLine);
  const std::string program =
      AssociatedProgram(platform.processes.FindAssociated(parts.fileName, parts.directory));
  std::string command = commandLine;
  if (!program.empty() && !EqualsIgnoringCase(program, commandLine)) command = program + " " + commandLine;

  const uintptr_t process = platform.processes.StartProcess(command, showCommand);
  if (!process) return false;
  platform.processes.WaitServingMessages(process);
  platform.processes.CloseProcess(process);
  return true;
}

}  // namespace kv

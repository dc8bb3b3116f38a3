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

CommandParts SplitCommand(const std::string& command) {
  const size_t start = command.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  const auto rest = [&](size_t from) {
    const size_t begin = command.find_first_not_of(' ', from);
    return begin == std::string::npos ? std::string() : command.substr(begin);
  };
  if (command[start] == '"') {
    const size_t close = command.find('"', start + 1);
    if (close == std::string::npos) return {command.substr(start + 1), ""};
    return {command.substr(start + 1, close - start - 1), rest(close + 1)};
  }
  const std::string upper = UpperAscii(command);
  for (size_t at = upper.find(".EXE", start); at != std::string::npos; at = upper.find(".EXE", at + 1)) {
    const size_t end = at + 4;
    if (end == command.size() || command[end] == ' ') return {command.substr(start, end - start), rest(end)};
  }
  return {command.substr(start), ""};
}

std::string QuotedPath(const std::string& path) {
  const bool quote = path.find(' ') != std::string::npos && path.front() != '"';
  return quote ? "\"" + path + "\"" : path;
}

bool Exec(platform::Platform& platform, const std::string& commandLine, int showCommand) {
  const PathParts parts = SplitFilePath(commandLine);
  const std::string program =
      AssociatedProgram(platform.processes.FindAssociated(parts.fileName, parts.directory));
  std::string command = commandLine;
  // The program found for a program is that program itself, also for a bare name found on the
  // search path ("notepad.exe"), which must not be given its own name as a file to open.
  const bool itself = EqualsIgnoringCase(program, commandLine) ||
                      (parts.directory.empty() && EqualsIgnoringCase(FileNamePart(program), commandLine));
  if (!program.empty() && itself)
    command = QuotedPath(parts.directory.empty() ? program : commandLine);
  else if (!program.empty())
    command = QuotedPath(program) + " " + commandLine;

  const uintptr_t process = platform.processes.StartProcess(command, showCommand);
  if (!process) return false;
  platform.processes.WaitServingMessages(process);
  platform.processes.CloseProcess(process);
  return true;
}

}  // namespace kv

// Run File, Explorer, the web browser, the e-mail program and the card games, with the
// expansion of the search term and of environment variables in their paths.
#include <vector>

#include "actions/catalogue.h"
#include "actions/exec.h"
#include "app/form.h"
#include "core/text_util.h"

namespace kv {

namespace {

constexpr const char* kSearchTermPlaceholder = "%SEARCHTERM%";
constexpr const char* kFileProtocolHandler = "rundll32.exe url.dll,FileProtocolHandler ";
// Explorer of the Windows folder (C:\WINDOWS\EXPLORER.EXE where Windows has its usual place,
// C:\WINNT\ on Windows 2000).
constexpr const char* kExplorerCommand = "EXPLORER.EXE /n,/e,";
constexpr const char* kMailClients = "SOFTWARE\\Clients\\Mail";
constexpr const char* kGamesKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\GameUX\\Games\\";

struct Game {
  int code;
  const char* id;
  const char* fixedPath;  // after the drive letter
  const char* olderProgram;
};

constexpr Game kGames[] = {
    {22, "{6C815596-821F-40b3-8A84-643B73A8EB16}", ":\\Program Files\\Microsoft Games\\FreeCell\\FreeCell.exe", "freecell.exe"},
    {23, "{D1A7F7E0-D4E9-49e8-BF2C-CEAA01D2E670}", ":\\Program Files\\Microsoft Games\\Hearts\\Hearts.exe", "mshearts.exe"},
    {24, "{E91579C0-4EA9-4a2a-A9B2-04BEF1D6DC29}", ":\\Program Files\\Microsoft Games\\Minesweeper\\MineSweeper.exe", "winmine.exe"},
    {25, "{00D8862B-6453-4957-A821-3D98D74C76BE}", ":\\Program Files\\Microsoft Games\\Solitaire\\Solitaire.exe", "sol.exe"},
    {26, "{AFA7FF39-1DDF-4f70-A2D5-23FCFFF02E5F}", ":\\Program Files\\Microsoft Games\\SpiderSolitaire\\SpiderSolitaire.exe", "spider.exe"},
};

}  // namespace

std::string TForm1::ReplaceEnvironmentVariable(const std::string& text) {
  std::string result = text;
  if (UpperAscii(result).find(kSearchTermPlaceholder) != std::string::npos) {
    if (searchTerm.empty()) RunAction(StoredCode(ActionCode::SearchTerm), "");
    std::string term = searchTerm;
    for (char& c : term)
      if (c == ' ') c = '+';
    result = ReplaceAllIgnoringCase(result, kSearchTermPlaceholder, term);
  }
  const size_t open = result.find('%');
  const size_t close = open == std::string::npos ? open : result.find('%', open + 1);
  if (close != std::string::npos) {
    const std::string name = result.substr(open + 1, close - open - 1);
    const std::optional<std::string> value = platform.system.EnvironmentVariable(name);
    if (!name.empty() && value && !value->empty())
      result = ReplaceAllIgnoringCase(result, "%" + name + "%", *value);
  }
  return result;
}

void TForm1::RunFile(const std::string& data) {
  const std::string path = ReplaceEnvironmentVariable(data);
  const std::string_view name = FileNamePart(path);
  const size_t dot = name.rfind('.');
  const std::string extension = dot == std::string_view::npos ? "" : UpperAscii(name.substr(dot));
  if (!path.empty() && (extension == ".EXE" || extension == ".BAT"))
    Exec(platform, path, platform::kSwShow);
  else
    Exec(platform, kFileProtocolHandler + path, platform::kSwShow);
}

void TForm1::OpenExplorer(const std::string& data) {
  Exec(platform, windowsFolder + kExplorerCommand + ReplaceEnvironmentVariable(data), platform::kSwShow);
}

void TForm1::OpenBrowser(const std::string& data) {
  const std::string expanded = ReplaceEnvironmentVariable(data);
  const std::string address =
      UpperAscii(expanded.substr(0, 4)) == "HTTP" ? expanded : "http://" + expanded;
  platform.processes.ShellExec("open", address, "", "", platform::kSwShow, true);
}

void TForm1::OpenEmail() {
  using platform::RegistryHive;
  const std::string client =
      platform.system.ReadRegistryString(RegistryHive::LocalMachine, kMailClients, "").value.value_or("");
  const std::string command =
      platform.system
          .ReadRegistryString(RegistryHive::LocalMachine,
                              std::string(kMailClients) + "\\" + client + "\\shell\\open\\command", "")
          .value.value_or("");
  if (command.empty()) {
    // Windows 10 and 11 bring a mail program that registers no client here; it answers mail
    // addresses, as a client registered with Default Programs does.
    if (NewerNt()) platform.processes.ShellExec("open", "mailto:", "", "", platform::kSwShow, true);
    return;
  }
  // ShellExecute wants the program and its parameters apart; most mail clients register both.
  const CommandParts parts = SplitCommand(ReplaceEnvironmentVariable(command));
  platform.processes.ShellExec("open", parts.program, parts.parameters, "", platform::kSwShow, true);
}

std::vector<std::string> TForm1::GameUxPaths(int code) {
  for (const Game& game : kGames) {
    if (game.code != code) continue;
    const std::string configured =
        platform.system
            .ReadRegistryString(platform::RegistryHive::LocalMachine,
                                std::string(kGamesKey) + game.id, "ConfigGDFBinaryPath")
            .value.value_or("");
    std::vector<std::string> paths;
    if (!configured.empty()) paths.push_back(ReplaceEnvironmentVariable(configured));
    paths.push_back(windowsFolder.substr(0, 1) + game.fixedPath);
    return paths;
  }
  return {};
}

void TForm1::LaunchGame(int code) {
  for (const Game& game : kGames) {
    if (game.code != code) continue;
    if (osKind.IsVista()) {
      platform.processes.WinExec(QuotedPath(GameUxPaths(code).front()), platform::kSwShow);
    } else if (NewerNt() && !platform.files.FindOnSearchPath(game.olderProgram)) {
      // The older programs ended with XP. Windows 7 keeps the games where Vista does; Windows 8
      // and later have none, and then the key does nothing, as for any missing program. The
      // path is quoted, so that "C:\Program Files\..." cannot start a C:\Program.exe.
      for (const std::string& path : GameUxPaths(code)) {
        if (UpperAscii(path).ends_with(".EXE") && platform.files.Exists(path)) {
          platform.processes.WinExec(QuotedPath(path), platform::kSwShow);
          break;
        }
      }
    } else {
      platform.processes.WinExec(game.olderProgram, platform::kSwShow);
    }
  }
}

}  // namespace kv

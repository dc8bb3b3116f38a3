#include "tests/fakes/fake_platform.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

#include "core/error.h"
#include "core/text_encoding.h"

namespace kv::fake {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  // '*' and '?' without regard to case, as FindFirstFile does for simple patterns.
  size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' ||
                               std::tolower(static_cast<unsigned char>(pattern[p])) ==
                                   std::tolower(static_cast<unsigned char>(name[n])))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// Windows-1252 bytes 0x80..0x9F; 0 where the code page has no character.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

namespace {

// Code points of UTF-8 text; a byte that starts no valid sequence stands for itself.
std::u32string CodePoints(std::string_view utf8) {
  std::u32string out;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char b = static_cast<unsigned char>(utf8[i]);
    size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > utf8.size()) {
      out += b;
      ++i;
      continue;
    }
    char32_t c = len == 1 ? b : b & (0xFF >> (len + 1));
    for (size_t k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out += c;
    i += len;
  }
  return out;
}

// The system's upper-case table works on UTF-16 units: characters beyond the basic plane stay.
char32_t WindowsUpper(char32_t c) {
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  if (c > 0xFFFF) return c;
  if (unicode == static_cast<locale_t>(nullptr)) return c < 0x80 ? static_cast<char32_t>(std::toupper(static_cast<int>(c))) : c;
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), unicode));
}

}  // namespace

bool SameWindowsName(std::string_view a, std::string_view b) {
  const auto ascii = [](std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  };
  if (ascii(a) && ascii(b)) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
  }
  const std::u32string x = CodePoints(a), y = CodePoints(b);
  if (x.size() != y.size()) return false;
  for (size_t i = 0; i < x.size(); ++i)
    if (WindowsUpper(x[i]) != WindowsUpper(y[i])) return false;
  return true;
}

std::string RegistryPath(platform::RegistryHive hive, const std::string& key) {
  std::string k = key;
  while (!k.empty() && k.front() == '\\') k.erase(k.begin());
  while (!k.empty() && k.back() == '\\') k.pop_back();
  return (hive == platform::RegistryHive::CurrentUser ? "HKCU\\" : "HKLM\\") + Lower(k);
}

std::set<std::string>& FakePlatform::HeldMutexes() {
  static std::set<std::string> held;
  return held;
}

FakePlatform::FakePlatform()
    : bundle_{*this, *this, *this, *this, *this, *this, *this,
              *this, *this, *this, *this, *this, *this, *this} {
  registry[RegistryPath(platform::RegistryHive::CurrentUser,
                        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")]
          ["startup"] = "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
}

void FakePlatform::Record(Service service, std::string line, AlsoInLog alsoInLog) {
  if (alsoInLog == AlsoInLog::kYes) log.push_back(line);
  effects.Record(service, std::move(line));
}

std::string FakePlatform::FileText(const std::string& path) const {
  auto it = FindWindowsName(files, path);
  return it == files.end() ? std::string() : it->second;
}

bool FakePlatform::HasFile(const std::string& path) const { return FindWindowsName(files, path) != files.end(); }

std::string FakePlatform::Beside(const std::string& name) const {
  return exePath.substr(0, exePath.find_last_of("\\:") + 1) + name;
}

bool FakePlatform::AcquireSingleInstance(const std::string& mutexName) {
  Record(Service::System, "mutex " + mutexName);
  if (!HeldMutexes().insert(mutexName).second) return false;
  heldMutex_ = mutexName;
  return true;
}

void FakePlatform::ReleaseSingleInstance() {
  if (!heldMutex_.empty()) HeldMutexes().erase(heldMutex_);
  heldMutex_.clear();
  Record(Service::System, "release mutex");
}

uint16_t FakePlatform::AddAtom(const std::string& name) {
  Record(Service::System, "add atom " + name);
  auto [it, added] = atoms.emplace(Lower(name), nextAtom);
  if (added) ++nextAtom;
  return it->second;
}

void FakePlatform::DeleteAtom(uint16_t atom) {
  Record(Service::System, "delete atom " + std::to_string(atom));
  deletedAtoms.push_back(atom);
}

platform::RegistryRead FakePlatform::ReadRegistryString(platform::RegistryHive hive,
                                                        const std::string& key,
                                                        const std::string& valueName) {
  const std::string path = RegistryPath(hive, key);
  platform::RegistryRead result;
  auto it = registry.find(path);
  if (it == registry.end() || unopenableKeys.count(path)) return result;
  result.keyOpened = true;
  auto v = it->second.find(Lower(valueName));
  if (v != it->second.end()) result.value = v->second;
  return result;
}

std::optional<std::string> FakePlatform::EnvironmentVariable(const std::string& name) {
  for (const auto& [k, v] : env)
    if (Lower(k) == Lower(name)) return v;
  return std::nullopt;
}

std::optional<std::string> FakePlatform::ReadAll(const std::string& path) {
  if (FindWindowsName(unreadable, path) != unreadable.end())
    throw KeyvaneError("Cannot read \"" + path + "\": Access is denied.");
  auto it = FindWindowsName(files, path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

void FakePlatform::ReplaceAtomically(const std::string& path, const std::string& bytes) {
  const std::string folder = path.substr(0, path.find_last_of('\\'));
  if (FindWindowsName(readOnlyFolders, folder) != readOnlyFolders.end())
    throw FolderNotWritable("Cannot save \"" + path + "\": Access is denied.", folder);
  if (FindWindowsName(unwritable, path) != unwritable.end())
    throw KeyvaneError("Cannot save \"" + path + "\": " + unwritableReason);
  // Replacing a file keeps the name it has on disk.
  auto it = FindWindowsName(files, path);
  if (it != files.end())
    it->second = bytes;
  else
    files[path] = bytes;
  ++writes;
  Record(Service::Files, "write " + path);
}

bool FakePlatform::Exists(const std::string& path) {
  return FindWindowsName(files, path) != files.end() ||
         (redirectionOff && FindWindowsName(redirectedFiles, path) != redirectedFiles.end());
}

bool FakePlatform::Delete(const std::string& path) {
  Record(Service::Files, "delete " + path);
  if (FindWindowsName(readOnlyFolders, path.substr(0, path.find_last_of('\\'))) != readOnlyFolders.end())
    return false;
  bool deleted = false;
  if (auto it = FindWindowsName(files, path); it != files.end()) {
    files.erase(it);
    deleted = true;
  } else if (auto hidden = FindWindowsName(redirectedFiles, path); redirectionOff && hidden != redirectedFiles.end()) {
    redirectedFiles.erase(hidden);
    deleted = true;
  }
  if (deleted)
    if (auto link = FindWindowsName(shortcuts, path); link != shortcuts.end()) shortcuts.erase(link);
  return deleted;
}

bool FakePlatform::SameFileName(std::string_view a, std::string_view b) { return SameWindowsName(a, b); }

std::optional<std::string> FakePlatform::FindOnSearchPath(const std::string& fileName) {
  searchPathLookups.push_back(fileName);  // a look-up, not an effect: kept out of the log
  const auto folder = [](std::string dir) {
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    return dir;
  };
  std::vector<std::string> folders = {exePath.substr(0, exePath.find_last_of("\\:") + 1),
                                      folder(windowsDir) + "System32", folder(windowsDir) + "System",
                                      windowsDir};
  if (const std::optional<std::string> path = EnvironmentVariable("PATH")) {
    for (size_t start = 0; start <= path->size();) {
      const size_t end = std::min(path->find(';', start), path->size());
      if (end > start) folders.push_back(path->substr(start, end - start));
      start = end + 1;
    }
  }
  for (const std::string& dir : folders) {
    if (dir.empty()) continue;
    const std::string candidate = folder(dir) + fileName;
    if (Exists(candidate)) return candidate;
  }
  return std::nullopt;
}

unsigned FakePlatform::DriveType(const std::string& root) {
  auto it = driveTypes.find(root);
  return it == driveTypes.end() ? 3u : static_cast<unsigned>(it->second);
}

std::vector<std::string> FakePlatform::List(const std::string& folder, const std::string& pattern) {
  std::string dir = folder;
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  std::vector<std::string> names;
  for (const auto& [path, bytes] : files) {
    if (path.size() <= dir.size() || !SameWindowsName(path.substr(0, dir.size()), dir)) continue;
    std::string name = path.substr(dir.size());
    if (name.find('\\') == std::string::npos && WildcardMatch(pattern, name)) names.push_back(name);
  }
  return names;
}

std::string FakePlatform::ToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (unsigned char b : ansi) {
    char32_t c = b;
    if (b >= 0x80 && b < 0xA0) c = kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : b;
    AppendUtf8(out, c);
  }
  return out;
}

std::optional<std::string> FakePlatform::FromUtf8(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    char32_t c;
    size_t len;
    if (b < 0x80) { c = b; len = 1; }
    else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; len = 2; }
    else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; len = 3; }
    else if ((b & 0xF8) == 0xF0) { c = b & 0x07; len = 4; }
    else return std::nullopt;
    if (i + len > utf8.size()) return std::nullopt;
    for (size_t k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += len;
    if (c < 0x80 || (c >= 0xA0 && c < 0x100)) { out += static_cast<char>(c); continue; }
    auto it = std::find(std::begin(kCp1252High), std::end(kCp1252High), c);
    if (it == std::end(kCp1252High) || c == 0) return std::nullopt;
    out += static_cast<char>(0x80 + (it - std::begin(kCp1252High)));
  }
  return out;
}

bool FakePlatform::Register(uint32_t id, uint32_t modifiers, uint32_t virtualKey) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "register %u 0x%02X", id, virtualKey);
  hotKeyLog.push_back(buf);
  Record(Service::HotKeys, "register " + std::to_string(id));
  if (refusedHotKeys.count(id) || registeredHotKeys.count(id)) return false;
  registeredHotKeys[id] = {modifiers, virtualKey};
  return true;
}

bool FakePlatform::Unregister(uint32_t id) {
  hotKeyLog.push_back("unregister " + std::to_string(id));
  Record(Service::HotKeys, "unregister " + std::to_string(id));
  return registeredHotKeys.erase(id) != 0;
}

void FakePlatform::SetVisible(bool visible) {
  trayVisible = visible;
  Record(Service::Tray, visible ? "tray show" : "tray hide");
}

void FakePlatform::SetImageIndex(int index) {
  trayImage = index;
  Record(Service::Tray, "tray image " + std::to_string(index));
}

void FakePlatform::ShowBalloon(const std::string& title, const std::string& text, int seconds) {
  if (!trayVisible) return;  // the shell shows balloons only from an icon it holds
  balloons.push_back({title, text, seconds});
  Record(Service::Tray, "balloon " + text);
}

int FakePlatform::ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
  messages.push_back({text, caption, style});
  Record(Service::Dialogs, "message " + text);
  if (!messageAnswers.empty()) {
    int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
  }
  return (style & 0xF) == platform::mb::kYesNo ? platform::mb::kIdYes : platform::mb::kIdOk;
}

void FakePlatform::ShowError(const std::string& text) {
  errors.push_back(text);
  Record(Service::Dialogs, "error " + text);
}

std::optional<std::string> FakePlatform::InputBox(const std::string& caption,
                                                  const std::string& prompt,
                                                  const std::string& initial) {
  inputBoxes.push_back({prompt, caption, 0});
  inputInitials.push_back(initial);
  Record(Service::Dialogs, "input " + caption);
  if (inputAnswers.empty()) return std::nullopt;
  auto answer = inputAnswers.front();
  inputAnswers.pop_front();
  return answer;
}

std::optional<std::string> FakePlatform::ChooseFileToOpen() {
  ++openFileDialogs;
  Record(Service::Dialogs, "open file dialog");
  if (openFileAnswers.empty()) return std::nullopt;
  auto answer = openFileAnswers.front();
  openFileAnswers.pop_front();
  return answer;
}

void FakePlatform::SetTitle(const std::string& title) {
  appTitle = title;
  Record(Service::Application, "title " + title, AlsoInLog::kNo);
}

void FakePlatform::Minimize() {
  if (minimized) return;
  minimized = true;
  Record(Service::Application, "minimize");
  if (onMinimize) onMinimize();
}

void FakePlatform::Restore() {
  minimized = false;
  Record(Service::Application, "restore");
}

void FakePlatform::Terminate() {
  terminated = true;
  Record(Service::Application, "terminate");
}

void FakePlatform::ProcessMessages() {
  ++processMessagesCalls;
  while (!queue.empty()) {
    auto message = std::move(queue.front());
    queue.pop_front();
    message();
  }
}

void FakePlatform::CloseMainWindow() {
  closeRequested = true;
  Record(Service::Application, "close window");
}

void FakePlatform::ShowTrayMenuAt(int x, int y) {
  trayMenusShown.emplace_back(x, y);
  Record(Service::Application, "tray menu " + std::to_string(x) + "," + std::to_string(y));
  if (onTrayMenu) onTrayMenu();
}

void FakePlatform::PostClickToMainWindow() {
  ++clicksPosted;
  Record(Service::Application, "post click");
}

void FakePlatform::PrepareTransition(int x, int y, int width, int height) {
  transitionPrepared = true;
  Record(Service::Application,
         "transition prepare " + std::to_string(x) + "," + std::to_string(y) + " " +
             std::to_string(width) + "x" + std::to_string(height),
         AlsoInLog::kNo);
}

void FakePlatform::CaptureTransitionMiddle() {
  Record(Service::Application, "transition middle", AlsoInLog::kNo);
  if (onCaptureTransitionMiddle) onCaptureTransitionMiddle();
}

void FakePlatform::PlayTransition(int durationMs) {
  Record(Service::Application, "transition play " + std::to_string(durationMs), AlsoInLog::kNo);
  if (onPlayTransition) onPlayTransition();
}

void FakePlatform::ReleaseTransition() {
  transitionPrepared = false;
  Record(Service::Application, "transition release", AlsoInLog::kNo);
}

platform::FoundExecutable FakePlatform::FindAssociated(const std::string& file,
                                                       const std::string& directory) {
  findExecutableCalls.push_back(file + "|" + directory);
  platform::FoundExecutable found;
  found.buffer.assign(261, '\0');
  auto it = associations.find(Lower(file));
  if (it == associations.end()) {
    found.result = 2;  // SE_ERR_FNF
    return found;
  }
  found.result = 42;
  found.buffer.replace(0, std::min<size_t>(it->second.size(), 260), it->second.substr(0, 260));
  return found;
}

uintptr_t FakePlatform::StartProcess(const std::string& commandLine, int showCommand) {
  Record(Service::Processes, "start " + commandLine);
  if (unstartable.count(commandLine)) return 0;
  started.push_back(commandLine);
  startShowCommands.push_back(showCommand);
  ++openProcesses;
  return started.size();
}

void FakePlatform::WaitServingMessages(uintptr_t process) {
  Record(Service::Processes, "wait " + std::to_string(process));
  while (!whileRunning.empty()) {
    auto message = std::move(whileRunning.front());
    whileRunning.pop_front();
    message();
  }
  Record(Service::Processes, "ended " + std::to_string(process));
}

void FakePlatform::CloseProcess(uintptr_t process) {
  --openProcesses;
  Record(Service::Processes, "close process " + std::to_string(process), AlsoInLog::kNo);
}

int FakePlatform::ShellExec(const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory,
                               int showCommand, bool ownedByMainWindow) {
  shellExecutes.push_back(verb + "|" + file + "|" + parameters + "|" + directory + "|" +
                          std::to_string(showCommand) + "|" + (ownedByMainWindow ? "owned" : "none"));
  Record(Service::Processes, "shell " + verb + " " + file);
  return 42;
}

unsigned FakePlatform::WinExec(const std::string& commandLine, int showCommand) {
  winExecs.push_back(commandLine + "|" + std::to_string(showCommand));
  Record(Service::Processes, "winexec " + commandLine);
  return 33;
}

uintptr_t FakePlatform::LinkApi(const std::string& module, const std::string& function) {
  ++linkApiCalls;
  Record(Service::Power, "link " + module + "!" + function);
  return hasSuspendState && function == "SetSuspendState" ? 0x1000 : 0;
}

bool FakePlatform::CallSetSuspendState(uintptr_t, bool hibernate, bool force, bool disableWakeEvents) {
  suspendCalls.push_back(std::string(hibernate ? "1" : "0") + (force ? "1" : "0") +
                         (disableWakeEvents ? "1" : "0"));
  Record(Service::Power,
         std::string("suspend ") + (hibernate ? "hibernate" : "sleep") + (force ? " force" : "") +
             (disableWakeEvents ? " no-wake-events" : ""),
         AlsoInLog::kNo);
  return true;
}

bool FakePlatform::EnableShutdownPrivilege() {
  ++privilegeRequests;
  Record(Service::Power, "shutdown privilege", AlsoInLog::kNo);
  return true;
}

bool FakePlatform::ExitSession(unsigned flags) {
  exitFlags.push_back(flags);
  char line[32];
  std::snprintf(line, sizeof line, "end session 0x%X", flags);
  Record(Service::Power, line, AlsoInLog::kNo);
  return true;
}

size_t FakePlatform::SendKeys(const std::vector<platform::KeyStroke>& strokes) {
  keyInputCalls.push_back(strokes.size());
  size_t limit = keyInputLimit;
  if (!keyInputLimits.empty()) {
    limit = keyInputLimits.front();
    keyInputLimits.pop_front();
  }
  const size_t accepted = std::min(limit, strokes.size());
  for (size_t i = 0; i < accepted; ++i) {
    const platform::KeyStroke& stroke = strokes[i];
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s 0x%02X scan %u", stroke.keyUp ? "up" : "down", stroke.virtualKey,
                  stroke.scanCode);
    keyEvents.push_back(buf);
    Record(Service::Keyboard, std::string("key ") + buf, AlsoInLog::kNo);
    if (stroke.keyUp)
      keysDown.erase(stroke.virtualKey);
    else
      keysDown.insert(stroke.virtualKey);
  }
  return accepted;
}

int16_t FakePlatform::KeyScan(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<int16_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(0x100 | c);
  return static_cast<int16_t>(static_cast<unsigned char>(c));
}

bool FakePlatform::SetClipboardText(const std::string& text) {
  if (clipboardBusy) return false;
  clipboard = text;
  Record(Service::Clipboard, "clipboard " + text);
  return true;
}

void FakePlatform::Write(const std::string& path, const platform::ShortcutInfo& info) {
  if (shortcutComponentFails) throw KeyvaneError("\"CoCreateInstance\" failed.");
  if (FindWindowsName(unwritable, path) != unwritable.end()) throw KeyvaneError("Write error.");
  if (auto it = FindWindowsName(shortcuts, path); it != shortcuts.end()) shortcuts.erase(it);
  shortcuts[path] = info;
  if (auto it = FindWindowsName(files, path); it != files.end()) files.erase(it);
  files[path] = "shortcut";
  Record(Service::Shortcuts, "shortcut " + path + " -> " + info.target);
}

platform::ShortcutInfo FakePlatform::Read(const std::string& path) {
  if (shortcutComponentFails) throw KeyvaneError("\"CoCreateInstance\" failed.");
  auto it = FindWindowsName(shortcuts, path);
  if (it == shortcuts.end()) throw KeyvaneError("Read error.");
  return it->second;
}

bool FakePlatform::DisplayTopic(const std::string& address) {
  helpTopics.push_back(address);
  Record(Service::Help, "help " + address);
  return helpViewerPresent;
}

std::optional<std::string> FakePlatform::ReadDownloadMark(const std::string& file) {
  if (!Exists(file)) return std::nullopt;
  const auto it = FindWindowsName(downloadMarks, file);
  if (it == downloadMarks.end()) return std::nullopt;
  return it->second;
}

bool FakePlatform::RemoveDownloadMark(const std::string& file) {
  const auto it = FindWindowsName(downloadMarks, file);
  if (it == downloadMarks.end()) return true;
  if (FindWindowsName(unwritable, file) != unwritable.end()) return false;
  Record(Service::Help, "unblock " + it->first);
  downloadMarks.erase(it);
  return true;
}

std::optional<uintptr_t> FakePlatform::DisableRedirection() {
  if (wow64Probe != platform::Wow64Probe::Succeeded) return std::nullopt;
  redirectionOff = true;
  Record(Service::Wow64, "redirection off");
  return 1;
}

void FakePlatform::RevertRedirection(uintptr_t) {
  redirectionOff = false;
  Record(Service::Wow64, "redirection on");
}

platform::PrintOutcome FakePlatform::PrintLines(const std::string& jobName,
                                               const std::vector<std::string>& lines) {
  Record(Service::Printing, "print dialog");
  platform::PrintOutcome outcome = platform::PrintOutcome::Printed;
  if (!printAnswers.empty()) {
    outcome = printAnswers.front();
    printAnswers.pop_front();
  }
  if (outcome == platform::PrintOutcome::Printed) {
    printed.push_back({jobName, lines});
    Record(Service::Printing, "print " + jobName + " (" + std::to_string(lines.size()) + " lines)");
  } else if (outcome == platform::PrintOutcome::Failed) {
    Record(Service::Printing, "print failed " + jobName);
  }
  return outcome;
}

}  // namespace kv::fake

// A simulated Windows for the native tests: it keeps state (files, atoms, hot keys, the tray,
// the registry), plays scripted answers (message boxes, input boxes) and records what the
// program made it do, in order, so tests can read like the behaviour they check.
//
// Every effect goes into `effects` (see effect_log.h). The per-service records below (started,
// keyEvents, messages, ...) keep the details a line leaves out, and `log` keeps the lines it
// has always held.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fakes/effect_log.h"

namespace kv::fake {

struct Balloon {
  std::string title;
  std::string text;
  int seconds;
};

struct ShownMessage {
  std::string text;
  std::string caption;
  unsigned style;
};

class FakePlatform final : public platform::System,
                           public platform::FileSystem,
                           public platform::AnsiCodec,
                           public platform::HotKeys,
                           public platform::TrayIcon,
                           public platform::Dialogs,
                           public platform::Application,
                           public platform::Wow64,
                           public platform::Processes,
                           public platform::Power,
                           public platform::Keyboard,
                           public platform::Shortcuts,
                           public platform::Printing,
                           public platform::Help {
 public:
  FakePlatform();

  platform::Platform& platform() { return bundle_; }

  // ---- scripted state ----
  std::string exePath = "C:\\Program Files\\Keyvane\\keyvane.exe";
  platform::OsVersion version{true, platform::kPlatformWin32Nt, 6, 1, ""};
  std::string windowsDir = "C:\\WINDOWS";
  std::map<std::string, std::string> env;  // names compared without case
  // "HKCU\\key" -> value name -> value; a key present with no values opens but is empty.
  std::map<std::string, std::map<std::string, std::string>> registry;
  std::set<std::string> unopenableKeys;
  // Named mutexes held by any simulated process of this test program.
  static std::set<std::string>& HeldMutexes();
  uint64_t now = 1000;
  uint64_t tickStep = 1;  // every TickCountMs() call advances time by this much

  // ---- files ----
  // Full path (case kept) -> bytes. Looked up as Windows looks up names: letter case ignored
  // for every letter, so "Über.kth" and "über.kth" are one file.
  std::map<std::string, std::string> files;
  std::set<std::string> unwritable;          // paths whose replacement fails
  // Folders that may be read but not written: no file in them is replaced, made or deleted.
  std::set<std::string> readOnlyFolders;
  std::string unwritableReason = "Access is denied.";  // the system's reason for it
  std::set<std::string> unreadable;
  int writes = 0;
  std::string FileText(const std::string& path) const;  // bytes as stored; "" when missing
  bool HasFile(const std::string& path) const;
  std::string Beside(const std::string& name) const;  // path beside the executable

  // ---- hot keys ----
  std::map<uint32_t, std::pair<uint32_t, uint32_t>> registeredHotKeys;  // id -> (mods, vk)
  std::set<uint32_t> refusedHotKeys;  // ids that another program holds
  std::vector<std::string> hotKeyLog;   // "register 49153 0x70", "unregister 49153"

  // ---- atoms ----
  std::map<std::string, uint16_t> atoms;
  uint16_t nextAtom = 0xC000;
  std::vector<uint16_t> deletedAtoms;

  // ---- tray ----
  bool trayVisible = false;
  int trayImage = -1;
  std::vector<Balloon> balloons;

  // ---- dialogs ----
  std::vector<ShownMessage> messages;
  std::vector<std::string> errors;
  std::deque<int> messageAnswers;                      // next MessageBox results (default IDOK/IDYES)
  std::deque<std::optional<std::string>> inputAnswers; // next InputBox results (default: cancel)
  std::deque<std::optional<std::string>> openFileAnswers;  // next file-dialog results (cancel)
  int openFileDialogs = 0;
  std::vector<ShownMessage> inputBoxes;               // caption, prompt (as text), style 0
  std::vector<std::string> inputInitials;             // each input box's initial text

  // ---- application ----
  std::string appTitle;
  bool minimized = false;
  std::function<void()> onMinimize;
  bool terminated = false;
  int processMessagesCalls = 0;
  bool closeRequested = false;
  platform::Wow64Probe wow64Probe = platform::Wow64Probe::NotImplemented;
  bool redirectionOff = false;
  std::pair<int, int> screenSize{1024, 768};
  std::vector<std::pair<int, int>> trayMenusShown;
  std::function<void()> onTrayMenu;  // what the user does while the menu is open
  int clicksPosted = 0;

  // ---- processes ----
  // File names (lower case) whose FindExecutable finds a program.
  std::map<std::string, std::string> associations;
  std::set<std::string> unstartable;        // command lines that cannot start
  std::vector<std::string> started;         // command lines, in order
  std::vector<int> startShowCommands;
  std::vector<std::string> findExecutableCalls;  // "file|directory"
  std::vector<std::string> shellExecutes;   // "verb|file|params|dir|show|owned"
  std::vector<std::string> winExecs;        // "command|show"
  int openProcesses = 0;
  // Messages that arrive while a started program runs, served by the wait (may nest).
  std::deque<std::function<void()>> whileRunning;

  // ---- power ----
  bool hasSuspendState = true;
  int linkApiCalls = 0;
  std::vector<std::string> suspendCalls;  // "hibernate force disableWake" as 0/1
  int privilegeRequests = 0;
  std::vector<unsigned> exitFlags;

  // ---- keyboard and clipboard ----
  std::vector<std::string> keyEvents;  // the events that went in: "down 0x11 scan 0", "up 0x43 scan 0"
  std::vector<size_t> keyInputCalls;   // how many events each SendKeys call was given
  // How many events of a call go in at most, as Windows refuses the rest without an error when
  // a program with higher rights has the focus: the next calls' limits, front first, then
  // `keyInputLimit` for every call after them.
  std::deque<size_t> keyInputLimits;
  size_t keyInputLimit = SIZE_MAX;
  std::set<uint8_t> keysDown;  // keys the system holds down now, as the events left them
  std::optional<std::string> clipboard;
  bool clipboardBusy = false;

  // ---- shortcuts (the file itself also appears in `files`) ----
  std::map<std::string, platform::ShortcutInfo> shortcuts;
  bool shortcutComponentFails = false;
  // Files visible only with the 64-bit file-system redirection switched off.
  std::set<std::string> redirectedFiles;
  std::map<std::string, int> driveTypes;  // "C:\\" -> 3 (fixed); others 3 unless listed

  // ---- help viewer ----
  bool helpViewerPresent = true;
  std::vector<std::string> helpTopics;  // addresses asked for, in order
  // Files' download marks (their "Zone.Identifier" streams): path -> the stream's text. A mark
  // is only read from a file that exists, and removing it fails where the file is unwritable.
  std::map<std::string, std::string> downloadMarks;

  std::deque<std::function<void()>> queue;  // "messages" run by ProcessMessages

  // ---- printing ----
  struct PrintJob {
    std::string name;
    std::vector<std::string> lines;
  };
  // What the user and the printer do with the next print requests (default: printed).
  std::deque<platform::PrintOutcome> printAnswers;
  std::vector<PrintJob> printed;  // the jobs that came out of the printer

  // ---- what happened ----
  EffectLog effects;  // every effect, in order
  // The same lines except those of key events, suspending, the shutdown privilege, the session
  // end, the window title and closed process handles, which tests that compare this record
  // exactly add themselves or do not expect; tests may push their own lines here.
  std::vector<std::string> log;

  // System
  bool AcquireSingleInstance(const std::string& mutexName) override;
  void ReleaseSingleInstance() override;
  uint16_t AddAtom(const std::string& name) override;
  void DeleteAtom(uint16_t atom) override;
  platform::OsVersion Version() override { return version; }
  std::string WindowsDirectory() override { return windowsDir; }
  platform::RegistryRead ReadRegistryString(platform::RegistryHive hive, const std::string& key,
                                            const std::string& valueName) override;
  std::string ModuleFileName() override { return exePath; }
  std::optional<std::string> EnvironmentVariable(const std::string& name) override;
  uint64_t TickCountMs() override { return now += tickStep; }

  // FileSystem
  std::optional<std::string> ReadAll(const std::string& path) override;
  void ReplaceAtomically(const std::string& path, const std::string& bytes) override;
  bool Exists(const std::string& path) override;
  bool Delete(const std::string& path) override;
  std::vector<std::string> List(const std::string& folder, const std::string& pattern) override;
  unsigned DriveType(const std::string& root) override;
  bool SameFileName(std::string_view a, std::string_view b) override;
  // Looks in the executable's folder, the Windows folder's System32 and System, the Windows
  // folder, then each folder of the PATH variable, as SearchPath does (the current folder is
  // not simulated); a file visible only with the 64-bit redirection off is not found.
  std::optional<std::string> FindOnSearchPath(const std::string& fileName) override;
  std::vector<std::string> searchPathLookups;  // the names looked up, in order

  // AnsiCodec: Windows-1252
  std::string ToUtf8(std::string_view ansi) override;
  std::optional<std::string> FromUtf8(std::string_view utf8) override;

  // HotKeys
  bool Register(uint32_t id, uint32_t modifiers, uint32_t virtualKey) override;
  bool Unregister(uint32_t id) override;

  // TrayIcon
  void SetVisible(bool visible) override;
  bool Visible() const override { return trayVisible; }
  void SetImageIndex(int index) override;
  int ImageIndex() const override { return trayImage; }
  void ShowBalloon(const std::string& title, const std::string& text, int seconds) override;

  // Dialogs
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override;
  void ShowError(const std::string& text) override;
  std::optional<std::string> ChooseFileToOpen() override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override;

  // Application
  void SetTitle(const std::string& title) override;
  std::string Title() const override { return appTitle; }
  void Minimize() override;
  void Restore() override;
  bool Minimized() const override { return minimized; }
  void SetOnMinimize(std::function<void()> handler) override { onMinimize = std::move(handler); }
  void Terminate() override;
  void ProcessMessages() override;
  void CloseMainWindow() override;

  void ShowTrayMenuAt(int x, int y) override;
  std::pair<int, int> ScreenSize() override { return screenSize; }
  void PostClickToMainWindow() override;
  void PrepareTransition(int x, int y, int width, int height) override;
  void CaptureTransitionMiddle() override;
  void PlayTransition(int durationMs) override;
  void ReleaseTransition() override;
  bool AnimationsShown() override { return animations; }
  int DoubleClickTimeMs() override { return 500; }
  bool animations = true;  // "Show animations in Windows"
  // Runs while a transition plays, as the messages served during the slide would.
  std::function<void()> onPlayTransition;
  // Runs when the in-between picture is taken (a failure there, say).
  std::function<void()> onCaptureTransitionMiddle;
  bool transitionPrepared = false;

  // Processes
  platform::FoundExecutable FindAssociated(const std::string& file, const std::string& directory) override;
  uintptr_t StartProcess(const std::string& commandLine, int showCommand) override;
  void WaitServingMessages(uintptr_t process) override;
  void CloseProcess(uintptr_t process) override;
  int ShellExec(const std::string& verb, const std::string& file, const std::string& parameters,
                   const std::string& directory, int showCommand, bool ownedByMainWindow) override;
  unsigned WinExec(const std::string& commandLine, int showCommand) override;

  // Power
  uintptr_t LinkApi(const std::string& module, const std::string& function) override;
  bool CallSetSuspendState(uintptr_t entry, bool hibernate, bool force, bool disableWakeEvents) override;
  bool EnableShutdownPrivilege() override;
  bool ExitSession(unsigned flags) override;

  // Keyboard
  size_t SendKeys(const std::vector<platform::KeyStroke>& strokes) override;
  int16_t KeyScan(char c) override;
  bool SetClipboardText(const std::string& text) override;

  // Shortcuts
  void Write(const std::string& path, const platform::ShortcutInfo& info) override;
  platform::ShortcutInfo Read(const std::string& path) override;

  // Printing
  platform::PrintOutcome PrintLines(const std::string& jobName, const std::vector<std::string>& lines) override;
  // Help
  bool DisplayTopic(const std::string& address) override;
  std::optional<std::string> ReadDownloadMark(const std::string& file) override;
  bool RemoveDownloadMark(const std::string& file) override;

  // Wow64
  platform::Wow64Probe ProbeSystemWow64Directory() override { return wow64Probe; }
  std::optional<uintptr_t> DisableRedirection() override;
  void RevertRedirection(uintptr_t oldState) override;

 private:
  enum class AlsoInLog { kYes, kNo };
  void Record(Service service, std::string line, AlsoInLog alsoInLog = AlsoInLog::kYes);

  std::string heldMutex_;
  platform::Platform bundle_;
};

// The name under which a registry key is kept in FakePlatform::registry.
std::string RegistryPath(platform::RegistryHive hive, const std::string& key);

// Whether two names are one file name for Windows: each character upper-cased by the system's
// table (every letter, Ü/ü, Σ/σ/ς, Д/д, not only A to Z), then compared as they are.
bool SameWindowsName(std::string_view a, std::string_view b);

// The entry of a path-keyed container that Windows would find for `path`, or end(). The name
// as given is looked up first, so that tests with many files stay fast.
template <typename Container>
auto FindWindowsName(Container& c, std::string_view path) {
  if (auto exact = c.find(std::string(path)); exact != c.end()) return exact;
  for (auto it = c.begin(); it != c.end(); ++it) {
    if constexpr (requires { it->first; }) {
      if (SameWindowsName(it->first, path)) return it;
    } else {
      if (SameWindowsName(*it, path)) return it;
    }
  }
  return c.end();
}

}  // namespace kv::fake

// What Keyvane needs from Windows, and nothing more. Everything above this header is
// portable C++; platform/win32/ implements it against the real API and tests/fakes/
// simulates it. Text is UTF-8 on this side of the seam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/file_edge.h"

namespace kv::platform {

// Message box styles and answers, with the values Windows gives them.
namespace mb {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kIconError = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconWarning = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

enum class RegistryHive { CurrentUser, LocalMachine };

// The outcome of reading one string value: whether the key could be opened at all, and the
// value when it exists.
struct RegistryRead {
  bool keyOpened = false;
  std::optional<std::string> value;
};

// What GetVersionEx reports (ok is false when the call failed).
struct OsVersion {
  bool ok = false;
  uint32_t platformId = 0;  // 1: Windows 9x, 2: NT
  uint32_t major = 0;
  uint32_t minor = 0;
  std::string servicePack;  // szCSDVersion
};

inline constexpr uint32_t kPlatformWin32Windows = 1;
inline constexpr uint32_t kPlatformWin32Nt = 2;

// Kernel services: process identity, atoms, version, folders, registry, environment, time.
class System {
 public:
  virtual ~System() = default;
  // Creates the named mutex owned; false when it already existed or could not be created.
  virtual bool AcquireSingleInstance(const std::string& mutexName) = 0;
  virtual void ReleaseSingleInstance() = 0;
  virtual uint16_t AddAtom(const std::string& name) = 0;
  virtual void DeleteAtom(uint16_t atom) = 0;
  virtual OsVersion Version() = 0;
  // GetWindowsDirectory, cut at its first NUL; no trailing backslash is added here.
  virtual std::string WindowsDirectory() = 0;
  // Opens an existing key only (full access first, read access when that is refused).
  virtual RegistryRead ReadRegistryString(RegistryHive hive, const std::string& key,
                                          const std::string& valueName) = 0;
  // Full path of the running executable.
  virtual std::string ModuleFileName() = 0;
  virtual std::optional<std::string> EnvironmentVariable(const std::string& name) = 0;
  virtual uint64_t TickCountMs() = 0;
};

// Files. Paths are full paths built from the executable's folder. Reading and replacing a
// whole file come from ByteFiles, which is all the INI layer sees.
class FileSystem : public ByteFiles {
 public:
  virtual bool Exists(const std::string& path) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // Names (not paths) of the files in `folder` matching a wildcard such as "*.kth", in the
  // order the file system enumerates them.
  virtual std::vector<std::string> List(const std::string& folder, const std::string& pattern) = 0;
  // GetDriveType of a root such as "C:\\" (2: removable, 3: fixed).
  virtual unsigned DriveType(const std::string& root) = 0;
  // Whether two file names name the same file, as the system compares them: letter case
  // ignored for every letter (Ü and ü, Σ and σ), not only A to Z.
  virtual bool SameFileName(std::string_view a, std::string_view b) = 0;
  // Where the system's search path finds a bare file name, as a program started by that name
  // is found (SearchPath without a path of its own: the executable's folder, the current
  // folder, the system folders, the Windows folder, then PATH); nullopt when nowhere.
  virtual std::optional<std::string> FindOnSearchPath(const std::string& fileName) = 0;
};

// The system's ANSI code page, used at the file edge.
using kv::AnsiCodec;

// Global hot keys owned by the main window.
class HotKeys {
 public:
  virtual ~HotKeys() = default;
  virtual bool Register(uint32_t id, uint32_t modifiers, uint32_t virtualKey) = 0;
  virtual bool Unregister(uint32_t id) = 0;
};

// The notification-area icon of the main window.
class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  // 0: the key with a red prohibition sign; 1: the plain key.
  virtual void SetImageIndex(int index) = 0;
  virtual int ImageIndex() const = 0;
  // Information icon; title cut at 63 and text at 255 characters by the implementation.
  virtual void ShowBalloon(const std::string& title, const std::string& text, int seconds) = 0;
};

// Modal boxes owned by the main window.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual int ShowMessage(const std::string& text, const std::string& caption, unsigned style) = 0;
  // The application's general error box for an error that a handler did not catch.
  virtual void ShowError(const std::string& text) = 0;
  // nullopt when the user cancels.
  virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& initial) = 0;
  // The standard file-open dialog, with no filter, no initial folder and no title of its own:
  // the full path of the file the user confirms, nullopt when the user cancels.
  virtual std::optional<std::string> ChooseFileToOpen() = 0;
};

// The application object around the main window.
class Application {
 public:
  virtual ~Application() = default;
  virtual void SetTitle(const std::string& title) = 0;
  virtual std::string Title() const = 0;
  // Minimizing sends the main window to the tray (no taskbar button); restoring brings it back.
  virtual void Minimize() = 0;
  virtual void Restore() = 0;
  virtual bool Minimized() const = 0;
  // Called after the application has been minimized by any path (not again while it stays so).
  virtual void SetOnMinimize(std::function<void()> handler) = 0;
  // Posts a quit message: the message loop ends after the current message.
  virtual void Terminate() = 0;
  // Runs the messages that are waiting now, then returns.
  virtual void ProcessMessages() = 0;
  // Asks the main window to close, as its close button would.
  virtual void CloseMainWindow() = 0;
  // Opens the tray menu at a point in screen pixels; returns when it has closed.
  virtual void ShowTrayMenuAt(int x, int y) = 0;
  // The primary screen's width and height in pixels.
  virtual std::pair<int, int> ScreenSize() = 0;
  // Posts a left mouse button press and release (MK_LBUTTON, client point 0,0) to the main window.
  virtual void PostClickToMainWindow() = 0;

  // The slide between two pages of an area of the main window (client pixels at 96 DPI):
  // PrepareTransition takes a picture of what the area shows now, CaptureTransitionMiddle the
  // picture of the area while neither page is shown, PlayTransition animates from the first
  // through the second to what the area shows then, over `durationMs`, while the program's
  // messages go on being served; ReleaseTransition drops the pictures.
  virtual void PrepareTransition(int x, int y, int width, int height) = 0;
  virtual void CaptureTransitionMiddle() = 0;
  virtual void PlayTransition(int durationMs) = 0;
  virtual void ReleaseTransition() = 0;
  // The time within which a second click makes a double click.
  virtual int DoubleClickTimeMs() = 0;
  // Whether Windows shows animations ("Show animations in Windows"); read anew on each call.
  virtual bool AnimationsShown() = 0;
};

// What FindExecutable gave: its result code and its 261-character result buffer as the
// system left it (NULs included; the buffer starts cleared).
struct FoundExecutable {
  int result = 0;
  std::string buffer;
};

// Starting other programs.
class Processes {
 public:
  virtual ~Processes() = default;
  virtual FoundExecutable FindAssociated(const std::string& file, const std::string& directory) = 0;
  // CreateProcess with the caller's environment and folder and STARTF_USESHOWWINDOW |
  // STARTF_FORCEONFEEDBACK; 0 when the process cannot be started.
  virtual uintptr_t StartProcess(const std::string& commandLine, int showCommand) = 0;
  // Serves the main thread's messages until the process has ended, using no processor time
  // while nothing happens. A quit message met meanwhile is put back for the main loop, and the
  // wait ends.
  virtual void WaitServingMessages(uintptr_t process) = 0;
  virtual void CloseProcess(uintptr_t process) = 0;
  // ShellExecute; the main window owns it when `ownedByMainWindow`.
  virtual int ShellExec(const std::string& verb, const std::string& file,
                           const std::string& parameters, const std::string& directory,
                           int showCommand, bool ownedByMainWindow) = 0;
  virtual unsigned WinExec(const std::string& commandLine, int showCommand) = 0;
};

// Sleep, hibernation and the end of the session.
class Power {
 public:
  virtual ~Power() = default;
  // The address of an exported function, loading the module when it is not loaded yet; 0
  // when there is none.
  virtual uintptr_t LinkApi(const std::string& module, const std::string& function) = 0;
  // Calls a SetSuspendState found with LinkApi.
  virtual bool CallSetSuspendState(uintptr_t entry, bool hibernate, bool force,
                                   bool disableWakeEvents) = 0;
  // Enables SeShutdownPrivilege in the process's token; failures are only reported.
  virtual bool EnableShutdownPrivilege() = 0;
  virtual bool ExitSession(unsigned flags) = 0;
};

// One synthetic key event: a press, or a release when `keyUp`.
struct KeyStroke {
  uint8_t virtualKey = 0;
  uint8_t scanCode = 0;
  bool keyUp = false;
};

// Synthetic keyboard input and the clipboard.
class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // Puts the events into the system's input in one piece, in order, with no other key or
  // mouse input between them. Returns how many went in, counted from the first: Windows
  // refuses input without an error while a program with higher rights (one run as
  // administrator, a secure desktop) has the focus, or while input is blocked.
  virtual size_t SendKeys(const std::vector<KeyStroke>& strokes) = 0;
  // VkKeyScan of a character: virtual key in the low byte, shift state in the high byte.
  virtual int16_t KeyScan(char c) = 0;
  // Replaces the clipboard's content by the text; false when the clipboard stays busy.
  virtual bool SetClipboardText(const std::string& text) = 0;
};

// What a shell link holds.
struct ShortcutInfo {
  std::string target;
  std::string arguments;
  std::string description;
  std::string workingDirectory;
  int showCommand = 1;  // SW_SHOWNORMAL
  uint16_t hotKey = 0;
};

// Shell links (.lnk files) through IShellLink and IPersistFile.
class Shortcuts {
 public:
  virtual ~Shortcuts() = default;
  // Replaces any file of that name. Throws KeyvaneError ("\"CoCreateInstance\" failed.",
  // "\"PersistFile QueryInterface\" failed.", "Write error.") on failure.
  virtual void Write(const std::string& path, const ShortcutInfo& info) = 0;
  // Throws KeyvaneError ("Read error." and the above) when the file cannot be read.
  virtual ShortcutInfo Read(const std::string& path) = 0;
};

// The HTML Help viewer, looked up when it is first needed, so that Keyvane runs without it,
// and the mark Windows puts on a downloaded file, with which the viewer shows blank pages.
class Help {
 public:
  virtual ~Help() = default;
  // Opens the viewer at an address of the form "<file>.chm::/<topic>"; false when the viewer
  // or the topic cannot be shown.
  virtual bool DisplayTopic(const std::string& address) = 0;
  // The text of the file's download mark (its "Zone.Identifier" stream, such as
  // "[ZoneTransfer]\r\nZoneId=3"); nullopt when the file has none or it cannot be read, as
  // on a file system without streams.
  virtual std::optional<std::string> ReadDownloadMark(const std::string& file) = 0;
  // Removes the mark, as "Unblock" in the file's Properties does; true when the file carries
  // no mark afterwards.
  virtual bool RemoveDownloadMark(const std::string& file) = 0;
};

inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShow = 5;

// What a look at GetSystemWow64DirectoryW in the loaded kernel32.dll gave.
enum class Wow64Probe {
  NoKernel32,      // kernel32.dll is not loaded
  NoFunction,      // the function does not exist (32-bit Windows before XP)
  Succeeded,       // it returned a folder
  NotImplemented,  // it failed with ERROR_CALL_NOT_IMPLEMENTED (32-bit Windows)
  Failed,          // it failed for another reason
};

// The 64-bit file-system redirection of a 32-bit process.
class Wow64 {
 public:
  virtual ~Wow64() = default;
  virtual Wow64Probe ProbeSystemWow64Directory() = 0;
  // The old state when redirection was switched off; nullopt when nothing was changed.
  virtual std::optional<uintptr_t> DisableRedirection() = 0;
  virtual void RevertRedirection(uintptr_t oldState) = 0;
};

// What became of a print request.
enum class PrintOutcome {
  Printed,
  Cancelled,  // the user closed the print dialog without printing
  Failed,     // no printer could be chosen, or the job failed; a started job is closed
};

// Plain text on a printer that the user chooses.
class Printing {
 public:
  virtual ~Printing() = default;
  // Shows the print dialog (owned by the main window), then prints the lines as one job
  // named `jobName` on the chosen printer in its current font, top to bottom, a new page
  // when one is full.
  virtual PrintOutcome PrintLines(const std::string& jobName, const std::vector<std::string>& lines) = 0;
};

// Everything at once, passed by reference to the main window.
struct Platform {
  System& system;
  FileSystem& files;
  AnsiCodec& ansi;
  HotKeys& hotKeys;
  TrayIcon& tray;
  Dialogs& dialogs;
  Application& app;
  Wow64& wow64;
  Processes& processes;
  Power& power;
  Keyboard& keyboard;
  Shortcuts& shortcuts;
  Printing& printing;
  Help& help;
};

}  // namespace kv::platform

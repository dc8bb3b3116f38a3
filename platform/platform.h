// What Keyvane needs from Windows, and nothing more. Everything above this header is
// portable C++; platform/win32/ implements it against the real API and tests/fakes/
// simulates it. Text is UTF-8 on this side of the seam.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Files. Paths are full paths built from the executable's folder.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole file as bytes; nullopt when it does not exist. Throws KeyvaneError when it
  // exists but cannot be read.
  virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
  // Writes a sibling temporary, flushes it and replaces `path` in one step, keeping the old
  // file's attributes. Throws KeyvaneError (the old file intact, no temporary left) on failure.
  virtual void ReplaceAtomically(const std::string& path, const std::string& bytes) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // Names (not paths) of the files in `folder` matching a wildcard such as "*.kth", in the
  // order the file system enumerates them.
  virtual std::vector<std::string> List(const std::string& folder, const std::string& pattern) = 0;
};

// The system's ANSI code page, used at the file edge.
class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  virtual std::string ToUtf8(std::string_view ansi) = 0;
  // nullopt when some character would not survive the round trip.
  virtual std::optional<std::string> FromUtf8(std::string_view utf8) = 0;
};

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
  virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
  // The application's general error box for an error that a handler did not catch.
  virtual void ShowError(const std::string& text) = 0;
  // nullopt when the user cancels.
  virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& initial) = 0;
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
};

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
};

}  // namespace kv::platform

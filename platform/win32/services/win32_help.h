// The HTML Help viewer, loaded from hhctrl.ocx when Help is first asked for, so that Keyvane
// starts on systems without it; and the download mark that makes it show blank pages.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/win32/services/system_library.h"

namespace kv::win32 {

class Win32Help final : public platform::Help {
 public:
  // `viewerModule` is the full path of the library that exports HtmlHelpW: the system folder's
  // hhctrl.ocx; tests point it at a stand-in.
  explicit Win32Help(std::function<HWND()> owner,
                     std::wstring viewerModule = SystemLibraryPath(L"hhctrl.ocx"));
  ~Win32Help() override;
  Win32Help(const Win32Help&) = delete;
  Win32Help& operator=(const Win32Help&) = delete;

  bool DisplayTopic(const std::string& address) override;
  // Only where the file's volume keeps named streams: elsewhere (FAT, and Wine, which keeps a
  // "stream" as a file of its own beside the file) no file can carry the mark.
  std::optional<std::string> ReadDownloadMark(const std::string& file) override;
  bool RemoveDownloadMark(const std::string& file) override;

 private:
  using HtmlHelpEntry = HWND(WINAPI*)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);
  HtmlHelpEntry Entry();

  std::function<HWND()> owner_;
  std::wstring viewerModule_;
  HMODULE library_ = nullptr;
  HtmlHelpEntry entry_ = nullptr;
};

// The parts of the download mark's handling that do not ask the volume, for the tests.
bool VolumeKeepsNamedStreams(const std::wstring& file);
// The text of a named stream of at most 64 KiB ("<file>:<name>"), UTF-16 with a byte-order
// mark made UTF-8; nullopt when it cannot be read.
std::optional<std::string> ReadNamedStream(const std::wstring& file, const wchar_t* name);
// True when the stream is gone, also when it was never there.
bool DeleteNamedStream(const std::wstring& file, const wchar_t* name);

}  // namespace kv::win32

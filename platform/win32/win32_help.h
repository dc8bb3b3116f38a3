// The HTML Help viewer, loaded from hhctrl.ocx when Help is first asked for, so that Keyvane
// starts on systems without it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/platform.h"

namespace kv::win32 {

class Win32Help final : public platform::Help {
 public:
  // `viewerModule` is the library that exports HtmlHelpW; tests point it at a stand-in.
  explicit Win32Help(std::function<HWND()> owner, std::wstring viewerModule = L"hhctrl.ocx");
  ~Win32Help() override;
  Win32Help(const Win32Help&) = delete;
  Win32Help& operator=(const Win32Help&) = delete;

  bool DisplayTopic(const std::string& address) override;

 private:
  using HtmlHelpEntry = HWND(WINAPI*)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);
  HtmlHelpEntry Entry();

  std::function<HWND()> owner_;
  std::wstring viewerModule_;
  HMODULE library_ = nullptr;
  HtmlHelpEntry entry_ = nullptr;
};

}  // namespace kv::win32

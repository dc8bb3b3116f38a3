#include "platform/win32/win32_help.h"

#include <utility>

#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

// From htmlhelp.h, which not every tool chain ships.
constexpr UINT kHhDisplayTopic = 0x0000;
constexpr UINT kHhCloseAll = 0x0012;

}  // namespace

Win32Help::Win32Help(std::function<HWND()> owner, std::wstring viewerModule)
    : owner_(std::move(owner)), viewerModule_(std::move(viewerModule)) {}

Win32Help::~Win32Help() {
  // The viewer's windows run on our thread; they must be gone before its code is unloaded.
  if (entry_) entry_(nullptr, nullptr, kHhCloseAll, 0);
  if (library_) ::FreeLibrary(library_);
}

Win32Help::HtmlHelpEntry Win32Help::Entry() {
  // Looked for again on each press until found: the viewer may be installed meanwhile. Once
  // loaded it stays, since unloading it would close the help window it opened.
  if (entry_) return entry_;
  if (!library_) library_ = ::LoadLibraryW(viewerModule_.c_str());
  if (!library_) return nullptr;
  entry_ = reinterpret_cast<HtmlHelpEntry>(
      reinterpret_cast<void (*)()>(::GetProcAddress(library_, "HtmlHelpW")));
  return entry_;
}

bool Win32Help::DisplayTopic(const std::string& address) {
  const HtmlHelpEntry htmlHelp = Entry();
  if (!htmlHelp) return false;
  return htmlHelp(owner_ ? owner_() : nullptr, Widen(address).c_str(), kHhDisplayTopic, 0) !=
         nullptr;
}

}  // namespace kv::win32

#include "platform/win32/win32_shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "core/error.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

// COM for the length of one shortcut operation.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(::CoInitialize(nullptr))) {}
  ~ComScope() {
    if (initialized_) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialized_;
};

struct Link {
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
};

Link CreateLink() {
  Link result;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                result.link.put_void())))
    throw KeyvaneError("\"CoCreateInstance\" failed.");
  if (FAILED(result.link->QueryInterface(IID_IPersistFile, result.file.put_void())))
    throw KeyvaneError("\"PersistFile QueryInterface\" failed.");
  return result;
}

// The getters cut the text silently to the buffer they are given; a text that fills the
// buffer is read again with a larger one.
template <typename Getter>
std::string ReadText(Getter get) {
  constexpr size_t kLargest = 1 << 16;
  std::wstring buffer(MAX_PATH * 2, L'\0');
  for (;;) {
    std::fill(buffer.begin(), buffer.end(), L'\0');
    get(buffer.data(), static_cast<int>(buffer.size()));
    const std::wstring_view text = UpToNul(buffer);
    if (text.size() + 1 < buffer.size() || buffer.size() >= kLargest) return Narrow(text);
    buffer.assign(buffer.size() * 2, L'\0');
  }
}

}  // namespace

void Win32Shortcuts::Write(const std::string& path, const platform::ShortcutInfo& info) {
  ComScope com;
  Link link = CreateLink();
  link.link->SetDescription(Widen(info.description).c_str());
  link.link->SetPath(Widen(info.target).c_str());
  link.link->SetWorkingDirectory(Widen(info.workingDirectory).c_str());
  link.link->SetArguments(Widen(info.arguments).c_str());
  link.link->SetShowCmd(info.showCommand);
  link.link->SetHotkey(info.hotKey);
  if (FAILED(link.file->Save(Widen(path).c_str(), TRUE))) throw KeyvaneError("Write error.");
}

platform::ShortcutInfo Win32Shortcuts::Read(const std::string& path) {
  ComScope com;
  Link link = CreateLink();
  if (FAILED(link.file->Load(Widen(path).c_str(), STGM_READ))) throw KeyvaneError("Read error.");
  platform::ShortcutInfo info;
  IShellLinkW* shell = link.link.get();
  info.description = ReadText([&](wchar_t* b, int n) { shell->GetDescription(b, n); });
  info.target = ReadText([&](wchar_t* b, int n) { shell->GetPath(b, n, nullptr, SLGP_RAWPATH); });
  info.workingDirectory = ReadText([&](wchar_t* b, int n) { shell->GetWorkingDirectory(b, n); });
  info.arguments = ReadText([&](wchar_t* b, int n) { shell->GetArguments(b, n); });
  shell->GetShowCmd(&info.showCommand);
  WORD hotKey = 0;
  shell->GetHotkey(&hotKey);
  info.hotKey = hotKey;
  return info;
}

}  // namespace kv::win32

#include "platform/win32/services/win32_shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "core/error.h"
#include "platform/win32/handles.h"
#include "platform/win32/services/system_library.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

// COM comes with the first shortcut operation: most starts make none.
struct Com {
  decltype(&::CoInitialize) initialize = SystemFunction<decltype(&::CoInitialize)>(L"ole32.dll", "CoInitialize");
  decltype(&::CoUninitialize) uninitialize =
      SystemFunction<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
  decltype(&::CoCreateInstance) createInstance =
      SystemFunction<decltype(&::CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
};
const Com& Ole() {
  static const Com com;
  return com;
}

// COM for the length of one shortcut operation.
class ComScope {
 public:
  ComScope() : initialized_(Ole().initialize && SUCCEEDED(Ole().initialize(nullptr))) {}
  ~ComScope() {
    if (initialized_) Ole().uninitialize();
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
  if (!Ole().createInstance || FAILED(Ole().createInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
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

#include "platform/win32/services/win32_help.h"

#include <cstring>
#include <utility>

#include "platform/win32/handles.h"
#include "platform/win32/services/system_library.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

// From htmlhelp.h, which not every tool chain ships.
constexpr UINT kHhDisplayTopic = 0x0000;
constexpr UINT kHhCloseAll = 0x0012;

// Where Windows keeps the zone a downloaded file came from.
constexpr const wchar_t* kDownloadMarkStream = L"Zone.Identifier";
// A mark is a few short lines; anything longer is not one.
constexpr LONGLONG kLongestStream = 64 * 1024;

std::wstring StreamPath(const std::wstring& file, const wchar_t* name) { return file + L":" + name; }

}  // namespace

bool VolumeKeepsNamedStreams(const std::wstring& file) {
  std::wstring root(file.size() + 2, L'\0');
  if (!::GetVolumePathNameW(file.c_str(), root.data(), static_cast<DWORD>(root.size()))) return false;
  DWORD flags = 0;
  if (!::GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0))
    return false;
  return (flags & FILE_NAMED_STREAMS) != 0;
}

std::optional<std::string> ReadNamedStream(const std::wstring& file, const wchar_t* name) {
  UniqueHandle stream(::CreateFileW(StreamPath(file, name).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!stream) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(stream.get(), &size) || size.QuadPart > kLongestStream) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      !::ReadFile(stream.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    return std::nullopt;
  bytes.resize(read);
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    std::wstring wide((bytes.size() - 2) / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), bytes.data() + 2, wide.size() * sizeof(wchar_t));
    return Narrow(wide);
  }
  return bytes;
}

bool DeleteNamedStream(const std::wstring& file, const wchar_t* name) {
  if (::DeleteFileW(StreamPath(file, name).c_str())) return true;
  const DWORD error = ::GetLastError();
  return error == ERROR_FILE_NOT_FOUND;
}

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
  if (!library_) library_ = LoadLibraryAt(viewerModule_);
  if (!library_) return nullptr;
  entry_ = FunctionIn<HtmlHelpEntry>(library_, "HtmlHelpW");
  return entry_;
}

bool Win32Help::DisplayTopic(const std::string& address) {
  const HtmlHelpEntry htmlHelp = Entry();
  if (!htmlHelp) return false;
  return htmlHelp(owner_ ? owner_() : nullptr, Widen(address).c_str(), kHhDisplayTopic, 0) !=
         nullptr;
}

std::optional<std::string> Win32Help::ReadDownloadMark(const std::string& file) {
  const std::wstring path = Widen(file);
  if (!VolumeKeepsNamedStreams(path)) return std::nullopt;
  return ReadNamedStream(path, kDownloadMarkStream);
}

bool Win32Help::RemoveDownloadMark(const std::string& file) {
  const std::wstring path = Widen(file);
  // A name with a stream part must not reach a file system that would take it for a file.
  if (!VolumeKeepsNamedStreams(path)) return true;
  return DeleteNamedStream(path, kDownloadMarkStream);
}

}  // namespace kv::win32

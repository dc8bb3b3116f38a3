#include "platform/win32/services/win32_system.h"

#include <string_view>

#include "platform/win32/wide.h"
#include "platform/win32/services/win32_ansi.h"

namespace kv::win32 {

namespace {

// GetVersionExA is told the structure's size; the basic ANSI form is the one every Windows
// version accepts.
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA must be the basic 148-byte form");

// Longest path the W functions can return (the \\?\ form); a guard against endless growth.
constexpr size_t kMaxPathUnits = 32768;

HKEY HiveRoot(platform::RegistryHive hive) {
  return hive == platform::RegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

UniqueHKey OpenExistingKey(HKEY root, const std::wstring& subKey) {
  for (REGSAM access : {static_cast<REGSAM>(KEY_ALL_ACCESS), static_cast<REGSAM>(KEY_READ)}) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, access, &opened) == ERROR_SUCCESS) {
      return UniqueHKey(opened);
    }
  }
  return {};
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// A string value of any length. The data may lack its terminating NUL or have an odd byte
// count; only whole UTF-16 units before the first NUL are taken.
std::optional<std::string> QueryStringValue(HKEY key, const std::wstring& valueName) {
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size);
  if (status != ERROR_SUCCESS) return std::nullopt;
  // Another program may make the value longer between asking its size and reading it.
  for (int attempt = 0; attempt < 8; ++attempt) {
    if (!IsStringType(type)) return std::nullopt;
    std::wstring buffer((size + 1) / sizeof(wchar_t), L'\0');
    DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    status = ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (status == ERROR_MORE_DATA) {
      size = got;
      continue;
    }
    if (status != ERROR_SUCCESS || !IsStringType(type)) return std::nullopt;
    buffer.resize(got / sizeof(wchar_t));
    return Narrow(UpToNul(buffer));
  }
  return std::nullopt;
}

}  // namespace

std::string SystemErrorText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text),
      0, nullptr);
  std::wstring message;
  if (length != 0 && text != nullptr) message.assign(text, length);
  if (text != nullptr) ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                              message.back() == L' ' || message.back() == L'\t')) {
    message.pop_back();
  }
  if (message.empty()) return "Error " + std::to_string(code) + ".";
  return Narrow(message);
}

bool Win32System::AcquireSingleInstance(const std::string& mutexName) {
  const std::wstring name = Widen(mutexName);
  ::SetLastError(ERROR_SUCCESS);
  UniqueHandle mutex(::CreateMutexW(nullptr, TRUE, name.c_str()));
  // An existing mutex still gives a handle (not owned): dropping it leaves the holder alone.
  if (!mutex || ::GetLastError() != ERROR_SUCCESS) return false;
  ReleaseSingleInstance();
  instanceMutex_ = std::move(mutex);
  return true;
}

void Win32System::ReleaseSingleInstance() {
  if (!instanceMutex_) return;
  ::ReleaseMutex(instanceMutex_.get());
  instanceMutex_.reset();
}

uint16_t Win32System::AddAtom(const std::string& name) {
  return ::GlobalAddAtomW(Widen(name).c_str());
}

void Win32System::DeleteAtom(uint16_t atom) { ::GlobalDeleteAtom(atom); }

platform::OsVersion Win32System::Version() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExA(&info)) return {};
  platform::OsVersion version;
  version.ok = true;
  version.platformId = info.dwPlatformId;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  const std::string_view csd(info.szCSDVersion,
                             strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
  version.servicePack = Narrow(AnsiToWide(csd));
  return version;
}

std::string Win32System::WindowsDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  UINT length = ::GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
  // A longer folder than MAX_PATH reports the size it needs (with its NUL) instead.
  if (length >= buffer.size()) {
    buffer.assign(length + 1, L'\0');
    length = ::GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) return {};
  }
  buffer.resize(length);
  return Narrow(UpToNul(buffer));
}

platform::RegistryRead Win32System::ReadRegistryString(platform::RegistryHive hive,
                                                       const std::string& key,
                                                       const std::string& valueName) {
  std::wstring subKey = Widen(key);
  subKey.erase(0, subKey.find_first_not_of(L'\\'));
  const UniqueHKey opened = OpenExistingKey(HiveRoot(hive), subKey);
  platform::RegistryRead result;
  if (!opened) return result;
  result.keyOpened = true;
  // An empty name reads the key's default value.
  result.value = QueryStringValue(opened.get(), Widen(valueName));
  return result;
}

std::string Win32System::ModuleFileName() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    // A full buffer means the path was cut (older systems do not even terminate it).
    if (length < buffer.size()) {
      buffer.resize(length);
      return Narrow(buffer);
    }
    if (buffer.size() >= kMaxPathUnits) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<std::string> Win32System::EnvironmentVariable(const std::string& name) {
  const std::wstring wideName = Widen(name);
  std::wstring buffer(256, L'\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), buffer.data(),
                                                   static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      // Zero with no error is a variable that exists with an empty value.
      if (::GetLastError() == ERROR_SUCCESS) return std::string();
      return std::nullopt;
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      return Narrow(buffer);
    }
    // Too small: the answer is the size needed, NUL included. Another thread may change the
    // variable meanwhile, hence the loop.
    buffer.assign(length, L'\0');
  }
  return std::nullopt;
}

uint64_t Win32System::TickCountMs() { return ::GetTickCount64(); }

}  // namespace kv::win32

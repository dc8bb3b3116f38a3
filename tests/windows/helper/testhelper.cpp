// A second process for the Windows tests:
//   keyvane_testhelper mutex <name>     exit 0 when it got the single-instance mutex, 1 if not
//   keyvane_testhelper findatom <name>  exit 0 when the global atom exists, 1 if not
//   keyvane_testhelper sleep <ms> [<marker file>]
//                                       sleeps, then creates the marker file (when given); exit 0
//   keyvane_testhelper exit <code>      exits at once with that code
//   keyvane_testhelper holdclipboard <ms> <event name>
//                                       opens the clipboard, sets the named event, keeps the
//                                       clipboard open for <ms>; exit 0 (1 when it never opened)
//   keyvane_testhelper shutdownwithoutprivilege
//                                       takes SeShutdownPrivilege out of its own token, then asks
//                                       Win32Power to enable it: exit 0 when that reported failure,
//                                       1 when it reported success, 3 when the privilege could not
//                                       be taken out
// Any other command line exits with 2.
#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_power.h"
#include "platform/win32/services/win32_system.h"

namespace {

// A decimal number made only of digits; -1 for anything else.
long long Number(const wchar_t* text) {
  if (*text == L'\0') return -1;
  long long value = 0;
  for (const wchar_t* p = text; *p != L'\0'; ++p) {
    if (!std::iswdigit(*p) || value > 100000000) return -1;
    value = value * 10 + (*p - L'0');
  }
  return value;
}

bool CreateMarker(const wchar_t* path) {
  kv::win32::UniqueHandle file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), "done", 4, &written, nullptr) && written == 4;
}

int HoldClipboard(DWORD milliseconds, const wchar_t* eventName) {
  kv::win32::UniqueHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName));
  if (!ready) return 1;
  bool opened = false;
  for (int attempt = 0; attempt < 500 && !opened; ++attempt) {
    opened = ::OpenClipboard(nullptr) != 0;
    if (!opened) ::Sleep(10);
  }
  if (!opened) return 1;
  ::SetEvent(ready.get());
  ::Sleep(milliseconds);
  ::CloseClipboard();
  return 0;
}

int ShutdownWithoutPrivilege() {
  kv::win32::UniqueHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()))
    return 3;
  TOKEN_PRIVILEGES removal{};
  removal.PrivilegeCount = 1;
  removal.Privileges[0].Attributes = SE_PRIVILEGE_REMOVED;
  if (!::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &removal.Privileges[0].Luid)) return 3;
  ::SetLastError(ERROR_SUCCESS);
  if (!::AdjustTokenPrivileges(token.get(), FALSE, &removal, 0, nullptr, nullptr) ||
      ::GetLastError() != ERROR_SUCCESS)
    return 3;
  // Gone for good only when enabling it now leaves it disabled.
  PRIVILEGE_SET check{};
  check.PrivilegeCount = 1;
  check.Privilege[0].Luid = removal.Privileges[0].Luid;
  TOKEN_PRIVILEGES enable = removal;
  enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  ::AdjustTokenPrivileges(token.get(), FALSE, &enable, 0, nullptr, nullptr);
  BOOL held = FALSE;
  if (!::PrivilegeCheck(token.get(), &check, &held) || held) return 3;

  kv::win32::Win32Power power;
  return power.EnableShutdownPrivilege() ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  if (command == L"mutex" && argc == 3) {
    kv::win32::Win32System system;
    return system.AcquireSingleInstance(kv::win32::Narrow(argv[2])) ? 0 : 1;
  }
  if (command == L"findatom" && argc == 3) return ::GlobalFindAtomW(argv[2]) != 0 ? 0 : 1;
  if (command == L"sleep" && (argc == 3 || argc == 4)) {
    const long long milliseconds = Number(argv[2]);
    if (milliseconds < 0) return 2;
    ::Sleep(static_cast<DWORD>(milliseconds));
    if (argc == 4 && !CreateMarker(argv[3])) return 1;
    return 0;
  }
  if (command == L"exit" && argc == 3) {
    const long long code = Number(argv[2]);
    return code < 0 ? 2 : static_cast<int>(code);
  }
  if (command == L"holdclipboard" && argc == 4) {
    const long long milliseconds = Number(argv[2]);
    return milliseconds < 0 ? 2 : HoldClipboard(static_cast<DWORD>(milliseconds), argv[3]);
  }
  if (command == L"shutdownwithoutprivilege" && argc == 2) return ShutdownWithoutPrivilege();
  return 2;
}

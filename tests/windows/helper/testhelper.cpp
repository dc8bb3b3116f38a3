// A second process for the Windows tests:
//   keyvane_testhelper mutex <name>     exit 0 when it got the single-instance mutex, 1 if not
//   keyvane_testhelper findatom <name>  exit 0 when the global atom exists, 1 if not
// Any other command line exits with 2.
#include <windows.h>

#include <cwchar>

#include "platform/win32/wide.h"
#include "platform/win32/win32_system.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  if (std::wcscmp(argv[1], L"mutex") == 0) {
    kv::win32::Win32System system;
    return system.AcquireSingleInstance(kv::win32::Narrow(argv[2])) ? 0 : 1;
  }
  if (std::wcscmp(argv[1], L"findatom") == 0) return ::GlobalFindAtomW(argv[2]) != 0 ? 0 : 1;
  return 2;
}

// A program that stands in for one the system would start (a card game, control.exe): it
// notes its own path and command line in the file that KEYVANE_STANDIN_LOG names and ends.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain() {
  wchar_t log[MAX_PATH] = L"";
  if (!::GetEnvironmentVariableW(L"KEYVANE_STANDIN_LOG", log, MAX_PATH)) return 1;
  wchar_t path[MAX_PATH] = L"";
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  FILE* file = _wfopen(log, L"a");
  if (!file) return 1;
  std::fwprintf(file, L"program %ls|%ls\n", path, ::GetCommandLineW());
  std::fclose(file);
  return 0;
}

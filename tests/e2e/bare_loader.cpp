// Loads each library named on the command line by its bare name, as a program that does not
// restrict the library search would, and prints "<name> loaded" or "<name> not loaded". Beside
// planted libraries it shows that the planted copies can be found and loaded at all.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i)
    std::wprintf(L"%ls %ls\n", argv[i], ::LoadLibraryW(argv[i]) ? L"loaded" : L"not loaded");
  return 0;
}

// Looks at what Keyvane leaves in the shell, for the end-to-end scenarios:
//   shellprobe startup-folder    prints the user's Startup folder from Shell Folders
//   shellprobe read-link <path>  prints a shell link's target, arguments, description,
//                                working folder and show command, one per line
//   shellprobe tooltips          prints the text of each visible tool-tip window (balloons)
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <string_view>

namespace {

void PrintLine(const wchar_t* text) {
  char utf8[2048] = "";
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  std::printf("%s\n", utf8);
}

int StartupFolder() {
  wchar_t value[MAX_PATH] = L"";
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER,
                     L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     L"Startup", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return 1;
  PrintLine(value);
  return 0;
}

int ReadLink(const wchar_t* path) {
  if (FAILED(::CoInitialize(nullptr))) return 1;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  int result = 1;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(path, STGM_READ))) {
    wchar_t text[1024] = L"";
    link->GetPath(text, 1024, nullptr, SLGP_RAWPATH);
    PrintLine(text);
    link->GetArguments(text, 1024);
    PrintLine(text);
    link->GetDescription(text, 1024);
    PrintLine(text);
    link->GetWorkingDirectory(text, 1024);
    PrintLine(text);
    int show = 0;
    link->GetShowCmd(&show);
    std::printf("%d\n", show);
    result = 0;
  }
  if (file) file->Release();
  if (link) link->Release();
  ::CoUninitialize();
  return result;
}

BOOL CALLBACK PrintTooltip(HWND window, LPARAM) {
  wchar_t name[64] = L"";
  ::GetClassNameW(window, name, 64);
  if (::IsWindowVisible(window) && std::wstring_view(name) == L"tooltips_class32") {
    wchar_t text[1024] = L"";
    // WM_GETTEXT is carried across processes; GetWindowText would give only the caption.
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 2000, &copied);
    PrintLine(text);
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring_view command = argv[1];
  if (command == L"startup-folder") return StartupFolder();
  if (command == L"read-link" && argc > 2) return ReadLink(argv[2]);
  if (command == L"tooltips") return ::EnumWindows(&PrintTooltip, 0) ? 0 : 1;
  return 2;
}

// Works a running keyvane.exe hard, as weeks of use would, and counts what it holds.
//   soak census                 prints "gdi <n> windows <n> workingset_kb <n>" of keyvane.exe
//   soak hotkeys <n>            n rounds of hot keys: switch off, switch on, paste a text, Ctrl+C
//   soak pages <n>              n page turns by the tabs, a new one every 200 ms (so most of
//                               them start while a slide plays, and some slides play whole)
//   soak apply <n>              n edits of F4's title, each applied
//   soak themes <n>             n theme loads from the theme list
//   soak tray <n>               n openings and closings of the tray menu
// The prepared settings give F1 "Disable/Enable Keys", F2 a text to paste and F3 Ctrl+C.
// Exit code 0 when every round was served, 1 when Keyvane stopped answering or showed a box.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tray_events.h"

namespace {

constexpr const wchar_t* kClass = L"TKeyvaneMainWindow";

HWND g_main = nullptr;

// Waits until Keyvane has served every message posted before, slides and menus included.
bool Served() {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(g_main, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &result) != 0;
}

void ClickClient(int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  ::PostMessageW(g_main, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(g_main, WM_LBUTTONUP, 0, at);
}

HWND Child(const wchar_t* cls, const wchar_t* text, bool visibleOnly) {
  for (HWND c = ::FindWindowExW(g_main, nullptr, cls, nullptr); c; c = ::FindWindowExW(g_main, c, cls, nullptr)) {
    if (visibleOnly && !::IsWindowVisible(c)) continue;
    wchar_t buffer[256] = L"";
    ::GetWindowTextW(c, buffer, 256);
    if (text == nullptr || std::wstring_view(buffer) == text) return c;
  }
  return nullptr;
}

HWND ListHolding(const wchar_t* item, LRESULT* index) {
  for (HWND c = ::FindWindowExW(g_main, nullptr, L"COMBOBOX", nullptr); c;
       c = ::FindWindowExW(g_main, c, L"COMBOBOX", nullptr)) {
    *index = ::SendMessageW(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item));
    if (*index != CB_ERR) return c;
  }
  return nullptr;
}

void PostCommand(HWND control, WORD code) {
  ::PostMessageW(g_main, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

// A box Keyvane shows stops the run, except the question to save the keys before a theme load,
// which is answered No.
bool NoBoxOpen() {
  if (HWND ask = ::FindWindowW(L"#32770", L"Save Current Key Setup?")) {
    ::PostMessageW(ask, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(ask, IDNO)));
    for (int i = 0; i < 200 && ::IsWindow(ask); ++i) ::Sleep(10);
    return Served();
  }
  DWORD pid = 0, own = 0;
  ::GetWindowThreadProcessId(g_main, &own);
  for (HWND box = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); box;
       box = ::FindWindowExW(nullptr, box, L"#32770", nullptr)) {
    ::GetWindowThreadProcessId(box, &pid);
    if (pid == own && ::IsWindowVisible(box)) {
      wchar_t caption[256] = L"";
      ::GetWindowTextW(box, caption, 256);
      std::fwprintf(stderr, L"Keyvane shows a box: %ls\n", caption);
      return false;
    }
  }
  return true;
}

bool MenuShown() {
  for (HWND m = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); m; m = ::FindWindowExW(nullptr, m, L"#32768", nullptr))
    if (::IsWindowVisible(m)) return true;
  return false;
}

bool PostHotKey(const wchar_t* atomName) {
  const ATOM atom = ::GlobalFindAtomW(atomName);
  return atom != 0 && ::PostMessageW(g_main, WM_HOTKEY, atom, 0);
}

bool Round(std::wstring_view kind, int i) {
  if (kind == L"hotkeys") {
    for (const wchar_t* key : {L"KVNF1", L"KVNF1", L"KVNF2", L"KVNF3"})
      if (!PostHotKey(key)) return false;
  } else if (kind == L"pages") {
    static const POINT tabs[] = {{24 + 80, 116 + 8}, {200 + 80, 116 + 8}, {368 + 50, 116 + 8}};
    ClickClient(tabs[i % 3].x, tabs[i % 3].y);
    ::Sleep(200);
  } else if (kind == L"apply") {
    HWND title = Child(L"EDIT", nullptr, true);
    if (!title) {  // F4's shape (its top strip, above the title) turns to the editor page
      ClickClient(216 + 28, 24 + 4);
      ::Sleep(1300);
      if (!Served()) return false;
      title = Child(L"EDIT", nullptr, true);
    }
    HWND apply = Child(L"BUTTON", L"Apply", false);
    if (!title || !apply) return false;
    ::SendMessageW(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(i % 2 ? L"Soak one" : L"Soak two"));
    PostCommand(apply, BN_CLICKED);
  } else if (kind == L"themes") {
    static const wchar_t* themes[] = {L"Games", L"Control Panel", L"Shopping", L"Quick Start"};
    LRESULT index = CB_ERR;
    HWND list = ListHolding(themes[i % 4], &index);
    if (!list) return false;
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostCommand(list, CBN_SELENDOK);
    PostCommand(list, CBN_SELCHANGE);
  } else if (kind == L"tray") {
    PostTrayEvent(g_main, WM_RBUTTONUP);
    int waited = 0;
    while (!MenuShown() && waited < 10000) {  // slower just after a burst of balloons
      ::Sleep(5);
      waited += 5;
    }
    if (!MenuShown()) return false;
    ::PostMessageW(g_main, WM_CANCELMODE, 0, 0);
    for (waited = 0; MenuShown() && waited < 3000; waited += 5) ::Sleep(5);
  } else {
    return false;
  }
  return Served() && NoBoxOpen();
}

// The census library counts from inside keyvane.exe: loaded there by a thread of ours, it
// writes its count and unloads again.
int GdiObjects(HANDLE process) {
  wchar_t library[MAX_PATH] = L"";
  ::GetModuleFileNameW(nullptr, library, MAX_PATH);
  wchar_t* slash = wcsrchr(library, L'\\');
  if (!slash) return -1;
  wcscpy(slash + 1, L"keyvane_gdi_census.dll");
  std::wstring result = library;
  result.replace(result.size() - 3, 3, L"txt");
  ::DeleteFileW(result.c_str());

  const SIZE_T bytes = (wcslen(library) + 1) * sizeof(wchar_t);
  void* remote = ::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote || !::WriteProcessMemory(process, remote, library, bytes, nullptr)) return -1;
  auto* load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
  HANDLE thread = ::CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr);
  if (!thread) return -1;
  ::WaitForSingleObject(thread, 10000);
  ::CloseHandle(thread);
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);

  FILE* in = _wfopen(result.c_str(), L"r");
  if (!in) return -1;
  int count = -1;
  if (std::fscanf(in, "%d", &count) != 1) count = -1;
  std::fclose(in);
  return count;
}

// An EnumChildWindows callback must be CALLBACK (stdcall on 32-bit Windows), which
// a lambda is not for every compiler.
BOOL CALLBACK CountChildWindow(HWND, LPARAM state) {
  ++reinterpret_cast<std::pair<DWORD, int>*>(state)->second;
  return TRUE;
}

BOOL CALLBACK CountOwnWindows(HWND window, LPARAM state) {
  auto* counter = reinterpret_cast<std::pair<DWORD, int>*>(state);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (pid != counter->first) return TRUE;
  ++counter->second;
  ::EnumChildWindows(window, CountChildWindow, state);
  return TRUE;
}

int Census() {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(g_main, &pid);
  HANDLE process = ::OpenProcess(PROCESS_CREATE_THREAD | PROCESS_VM_OPERATION | PROCESS_VM_WRITE |
                                     PROCESS_VM_READ | PROCESS_QUERY_INFORMATION | SYNCHRONIZE,
                                 FALSE, pid);
  if (!process) return 1;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  ::GetProcessMemoryInfo(process, &memory, sizeof memory);
  std::pair<DWORD, int> windows{pid, 0};
  ::EnumWindows(CountOwnWindows, reinterpret_cast<LPARAM>(&windows));
  std::printf("gdi %d windows %d workingset_kb %zu\n", GdiObjects(process), windows.second,
              static_cast<size_t>(memory.WorkingSetSize / 1024));
  ::CloseHandle(process);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  g_main = ::FindWindowW(kClass, nullptr);
  if (!g_main || argc < 2) return 2;
  const std::wstring_view kind = argv[1];
  if (kind == L"census") return Census();
  const int rounds = argc > 2 ? _wtoi(argv[2]) : 0;
  for (int i = 0; i < rounds; ++i) {
    if (!Round(kind, i)) {
      std::fwprintf(stderr, L"soak %ls: round %d was not served\n", argv[1], i);
      return 1;
    }
  }
  return 0;
}

// Drives a running keyvane.exe from outside, as Windows and the user would: finds its main
// window, posts hot keys and closes, ends the session. Prints results on stdout.
//   driver wait-window <ms>       waits for the shown main window; prints "x y" of its client origin
//   driver post-hotkey <atom>     posts WM_HOTKEY with the global atom of that name
//   driver close                  posts WM_CLOSE (the window's close button)
//   driver exit-request           posts the message with which the setup program asks Keyvane to end
//   driver end-session            sends WM_QUERYENDSESSION and WM_ENDSESSION(TRUE)
//   driver visible                prints 1 when the main window is visible, else 0
//   driver count                  prints how many Keyvane main windows exist
//   driver texts                  prints the text of each child window, one per line
//   driver free-key <vk>          prints 1 when no program holds that key as a hot key
//   driver tray <mouse message>   posts the tray icon's notification (e.g. 517 = right button up)
//   driver title                  prints the main window's caption
//   driver rect                   prints the main window's outer rectangle: left top right bottom
//   driver click <caption>        posts a click of the button with that caption
//   driver listed <item>          prints 1 when a drop-down lists the item, else 0
//   driver choose <item>          picks the item in the drop-down that lists it, as the user would
//   driver answer <caption> <id> [text]  waits up to 10 s for the dialog with that caption, prints
//                                 its texts, puts [text] into its edit field, and presses button <id>
//   driver shown-texts <caption>  waits up to 10 s for the dialog with that caption and prints the
//                                 texts of its visible controls, one per line
//   driver dialog <caption> <ms>  prints 1 as soon as a dialog with that caption shows, or 0 after <ms>
//   driver lock-file <path> <ms>  opens the file for reading, shared with no one, for <ms>; prints
//                                 "locked" once it holds it
//   driver accessible             prints what a screen reader reads of the main window, one child a
//                                 line: role|name|value|description|states
//   driver accessible-focus       prints the line of the child that has the focus
//   driver winevents <ms>         prints the screen-reader events Keyvane raises meanwhile, one a
//                                 line: focus|name|value|selection <child's name> [= <value>]
//   driver animations <0|1>       switches Windows' "Show animations in Windows" for every program
//   driver menu <ms>              prints 1 as soon as a pop-up menu shows, or 0 after <ms> without one
//   driver end-menu               closes an open pop-up menu of Keyvane's (WM_CANCELMODE)
//   driver menu-rect              prints the shown pop-up menu's screen rectangle: l t r b
//   driver list-rect <item>       prints the screen rectangle of the drop-down that lists <item>,
//                                 its list's item height and the item's index: l t r b height index
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <string_view>
#include <utility>

#include "tray_events.h"

namespace {

constexpr const wchar_t* kClass = L"TKeyvaneMainWindow";

HWND MainWindow() { return ::FindWindowW(kClass, nullptr); }

BOOL CALLBACK PrintChildText(HWND child, LPARAM) {
  // GetWindowText does not read an edit box of another program; WM_GETTEXT does.
  wchar_t text[2048] = L"";
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(child, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored);
  std::wprintf(L"%ls\n", text);
  return TRUE;
}

int CountWindows() {
  int count = 0;
  HWND w = nullptr;
  while ((w = ::FindWindowExW(nullptr, w, kClass, nullptr)) != nullptr) ++count;
  return count;
}

HWND FindChild(HWND parent, const wchar_t* cls, const wchar_t* text) {
  for (HWND c = ::FindWindowExW(parent, nullptr, cls, nullptr); c; c = ::FindWindowExW(parent, c, cls, nullptr)) {
    wchar_t buffer[256] = L"";
    ::GetWindowTextW(c, buffer, 256);
    if (text == nullptr || std::wstring_view(buffer) == text) return c;
  }
  return nullptr;
}

// The controls of a page not shown yet get their windows just after the main window shows.
template <typename Find>
auto WaitFor(Find find) {
  auto found = find();
  for (int i = 0; i < 100 && !found; ++i) {
    ::Sleep(50);
    found = find();
  }
  return found;
}

int Click(HWND w, const wchar_t* caption) {
  const HWND button = WaitFor([&] { return FindChild(w, L"BUTTON", caption); });
  if (!button) return 1;
  const WPARAM command = MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED);
  return ::PostMessageW(w, WM_COMMAND, command, reinterpret_cast<LPARAM>(button)) ? 0 : 1;
}

int Choose(HWND w, const wchar_t* item) {
  LRESULT index = CB_ERR;
  const HWND list = WaitFor([&]() -> HWND {
    for (HWND c = ::FindWindowExW(w, nullptr, L"COMBOBOX", nullptr); c; c = ::FindWindowExW(w, c, L"COMBOBOX", nullptr)) {
      index = ::SendMessageW(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item));
      if (index != CB_ERR) return c;
    }
    return nullptr;
  });
  if (!list) return 1;
  ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  const WPARAM command = MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE);
  return ::PostMessageW(w, WM_COMMAND, command, reinterpret_cast<LPARAM>(list)) ? 0 : 1;
}

// A menu window exists (hidden) while no menu is open; only a shown one counts.
bool MenuShown() {
  for (HWND m = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); m;
       m = ::FindWindowExW(nullptr, m, L"#32768", nullptr))
    if (::IsWindowVisible(m)) return true;
  return false;
}

int ListRect(HWND w, const wchar_t* item) {
  for (HWND c = ::FindWindowExW(w, nullptr, L"COMBOBOX", nullptr); c; c = ::FindWindowExW(w, c, L"COMBOBOX", nullptr)) {
    const LRESULT index = ::SendMessageW(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item));
    if (index == CB_ERR || !::IsWindowVisible(c)) continue;
    RECT r{};
    ::GetWindowRect(c, &r);
    const LRESULT height = ::SendMessageW(c, CB_GETITEMHEIGHT, 0, 0);
    std::printf("%ld %ld %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom, static_cast<long>(height),
                static_cast<long>(index));
    return 0;
  }
  return 1;
}

BOOL CALLBACK PrintShownChildText(HWND child, LPARAM) {
  if (::IsWindowVisible(child)) PrintChildText(child, 0);
  return TRUE;
}

HWND WaitForDialog(const wchar_t* caption) {
  HWND box = nullptr;
  for (int i = 0; i < 200 && !(box = ::FindWindowW(L"#32770", caption)); ++i) ::Sleep(50);
  if (box) ::Sleep(100);  // let the box finish setting itself up
  return box;
}

int Answer(const wchar_t* caption, int id, const wchar_t* text) {
  const HWND box = WaitForDialog(caption);
  if (!box) return 1;
  ::EnumChildWindows(box, &PrintChildText, 0);
  if (text) {
    const HWND edit = FindChild(box, L"Edit", nullptr);
    if (!edit) return 1;
    ::SetWindowTextW(edit, text);
  }
  const HWND button = ::GetDlgItem(box, id);
  return ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) ? 0 : 1;
}


std::wstring Bstr(BSTR b) {
  std::wstring text = b ? std::wstring(b, ::SysStringLen(b)) : std::wstring();
  if (b) ::SysFreeString(b);
  return text;
}

std::wstring States(LONG bits) {
  std::wstring out;
  const std::pair<LONG, const wchar_t*> names[] = {{STATE_SYSTEM_FOCUSED, L"focused"},
                                                   {STATE_SYSTEM_SELECTED, L"selected"},
                                                   {STATE_SYSTEM_UNAVAILABLE, L"unavailable"},
                                                   {STATE_SYSTEM_FOCUSABLE, L"focusable"}};
  for (const auto& [bit, name] : names)
    if (bits & bit) out += (out.empty() ? L"" : L",") + std::wstring(name);
  return out;
}

// One child as a line; `object` with `id` as the child id (CHILDID_SELF for an object of its own).
std::wstring Describe(IAccessible* object, LONG id) {
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = id;
  BSTR name = nullptr, value = nullptr, description = nullptr;
  object->get_accName(child, &name);
  object->get_accValue(child, &value);
  object->get_accDescription(child, &description);
  VARIANT role, state;
  role.vt = state.vt = VT_EMPTY;
  object->get_accRole(child, &role);
  object->get_accState(child, &state);
  wchar_t roleText[64] = L"";
  if (role.vt == VT_I4) ::GetRoleTextW(static_cast<DWORD>(role.lVal), roleText, 64);
  return std::wstring(roleText) + L"|" + Bstr(name) + L"|" + Bstr(value) + L"|" + Bstr(description) + L"|" +
         (state.vt == VT_I4 ? States(state.lVal) : L"");
}

IAccessible* ClientObject(HWND w) {
  IAccessible* object = nullptr;
  if (FAILED(::AccessibleObjectFromWindow(w, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))))
    return nullptr;
  return object;
}

// Each child: a simple element of the window's object, or an object of its own.
int PrintAccessible(HWND w) {
  IAccessible* object = ClientObject(w);
  if (!object) return 1;
  LONG count = 0;
  object->get_accChildCount(&count);
  for (LONG i = 1; i <= count; ++i) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = i;
    IDispatch* dispatch = nullptr;
    IAccessible* own = nullptr;
    if (object->get_accChild(child, &dispatch) == S_OK && dispatch) {
      dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&own));
      dispatch->Release();
    }
    std::wprintf(L"%ls\n", own ? Describe(own, CHILDID_SELF).c_str() : Describe(object, i).c_str());
    if (own) own->Release();
  }
  object->Release();
  return 0;
}

int PrintFocus(HWND w) {
  IAccessible* object = ClientObject(w);
  if (!object) return 1;
  VARIANT focus;
  focus.vt = VT_EMPTY;
  object->get_accFocus(&focus);
  if (focus.vt == VT_I4) std::wprintf(L"%ls\n", Describe(object, focus.lVal).c_str());
  object->Release();
  return focus.vt == VT_I4 ? 0 : 1;
}

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG objectId, LONG childId, DWORD, DWORD) {
  const wchar_t* kind = event == EVENT_OBJECT_FOCUS         ? L"focus"
                        : event == EVENT_OBJECT_NAMECHANGE  ? L"name"
                        : event == EVENT_OBJECT_VALUECHANGE ? L"value"
                        : event == EVENT_OBJECT_SELECTION   ? L"selection"
                                                            : nullptr;
  if (!kind) return;
  IAccessible* object = nullptr;
  VARIANT child;
  child.vt = VT_EMPTY;
  if (FAILED(::AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(objectId), static_cast<DWORD>(childId), &object,
                                         &child)) || !object)
    return;
  BSTR name = nullptr, value = nullptr;
  object->get_accName(child, &name);
  object->get_accValue(child, &value);
  const std::wstring v = Bstr(value);
  std::wprintf(L"%ls %ls%ls\n", kind, Bstr(name).c_str(), v.empty() ? L"" : (L" = " + v).c_str());
  std::fflush(stdout);
  object->Release();
}

int WatchEvents(HWND w, DWORD ms) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, &OnWinEvent, pid,
                                         0, WINEVENT_OUTOFCONTEXT);
  if (!hook) return 1;
  std::printf("watching\n");
  std::fflush(stdout);
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < ms) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  ::UnhookWinEvent(hook);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring_view command = argv[1];
  if (command == L"wait-window") {
    const DWORD timeout = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 10000;
    const DWORD start = ::GetTickCount();
    HWND w = nullptr;
    while (!(w = MainWindow()) || !::IsWindowVisible(w)) {
      if (::GetTickCount() - start > timeout) return 1;
      ::Sleep(50);
    }
    POINT origin{0, 0};
    ::ClientToScreen(w, &origin);
    std::printf("%ld %ld\n", origin.x, origin.y);
    return 0;
  }
  if (command == L"hold-key" && argc > 3) {  // takes a bare key as a hot key for a while
    const bool held = ::RegisterHotKey(nullptr, 0xBEEF, 0, static_cast<UINT>(_wtoi(argv[2]))) != 0;
    std::printf("%s\n", held ? "held" : "refused");
    std::fflush(stdout);
    ::Sleep(static_cast<DWORD>(_wtoi(argv[3])));
    if (held) ::UnregisterHotKey(nullptr, 0xBEEF);
    return held ? 0 : 1;
  }
  if (command == L"free-key" && argc > 2) {
    const bool free = ::RegisterHotKey(nullptr, 0xBEEF, 0, static_cast<UINT>(_wtoi(argv[2]))) != 0;
    if (free) ::UnregisterHotKey(nullptr, 0xBEEF);
    std::printf("%d\n", free ? 1 : 0);
    return 0;
  }
  if (command == L"shown-texts" && argc > 2) {
    const HWND box = WaitForDialog(argv[2]);
    if (!box) return 1;
    ::EnumChildWindows(box, &PrintShownChildText, 0);
    return 0;
  }
  if (command == L"dialog" && argc > 3) {
    const DWORD start = ::GetTickCount();
    HWND box = nullptr;
    while (!(box = ::FindWindowW(L"#32770", argv[2])) && ::GetTickCount() - start < static_cast<DWORD>(_wtoi(argv[3])))
      ::Sleep(20);
    std::printf("%d\n", box ? 1 : 0);
    return 0;
  }
  if (command == L"lock-file" && argc > 3) {
    const HANDLE file = ::CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::printf("locked\n");
    std::fflush(stdout);
    ::Sleep(static_cast<DWORD>(_wtoi(argv[3])));
    ::CloseHandle(file);
    return 0;
  }
  if (command == L"menu") {
    const DWORD timeout = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 1500;
    const DWORD start = ::GetTickCount();
    bool shown = MenuShown();
    while (!shown && ::GetTickCount() - start < timeout) {
      ::Sleep(20);
      shown = MenuShown();
    }
    std::printf("%d\n", shown ? 1 : 0);
    return 0;
  }
  if (command == L"animations" && argc > 2) {
    const BOOL on = _wtoi(argv[2]) != 0;
    return ::SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(on)),
                                   SPIF_SENDCHANGE | SPIF_UPDATEINIFILE)
               ? 0
               : 1;
  }
  if (command == L"count") {
    std::printf("%d\n", CountWindows());
    return 0;
  }
  if (command == L"menu-rect") {  // the shown pop-up menu's rectangle on the screen: l t r b
    for (HWND m = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); m;
         m = ::FindWindowExW(nullptr, m, L"#32768", nullptr)) {
      if (!::IsWindowVisible(m)) continue;
      RECT r{};
      ::GetWindowRect(m, &r);
      std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
      return 0;
    }
    return 1;
  }
  HWND w = MainWindow();
  if (!w) return 1;
  if (command == L"post-hotkey" && argc > 2) {
    const ATOM atom = ::GlobalFindAtomW(argv[2]);
    if (!atom) return 1;
    return ::PostMessageW(w, WM_HOTKEY, atom, 0) ? 0 : 1;
  }
  if (command == L"close") return ::PostMessageW(w, WM_CLOSE, 0, 0) ? 0 : 1;
  if (command == L"exit-request")
    return ::PostMessageW(w, ::RegisterWindowMessageW(L"Keyvane.ExitRequest"), 0, 0) ? 0 : 1;
  if (command == L"end-session") {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(w, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &result);
    ::SendMessageTimeoutW(w, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &result);
    return 0;
  }
  if (command == L"texts") {
    ::EnumChildWindows(w, &PrintChildText, 0);
    return 0;
  }
  if (command == L"tray" && argc > 2)
    return PostTrayEvent(w, static_cast<UINT>(_wtoi(argv[2]))) ? 0 : 1;
  if (command == L"answer" && argc > 3) return Answer(argv[2], _wtoi(argv[3]), argc > 4 ? argv[4] : nullptr);
  if (command == L"rect") {  // the main window's outer rectangle on the screen
    RECT r{};
    ::GetWindowRect(w, &r);
    std::wprintf(L"%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (command == L"title") {
    wchar_t text[256] = L"";
    ::GetWindowTextW(w, text, 256);
    std::wprintf(L"%ls\n", text);
    return 0;
  }
  if (command == L"click" && argc > 2) return Click(w, argv[2]);
  if (command == L"end-menu") return ::PostMessageW(w, WM_CANCELMODE, 0, 0) ? 0 : 1;
  if (command == L"list-rect" && argc > 2) return ListRect(w, argv[2]);
  if (command == L"choose" && argc > 2) return Choose(w, argv[2]);
  if (command == L"accessible" || command == L"accessible-focus" || command == L"winevents") {
    ::CoInitialize(nullptr);
    int result = 2;
    if (command == L"accessible") result = PrintAccessible(w);
    if (command == L"accessible-focus") result = PrintFocus(w);
    if (command == L"winevents" && argc > 2) result = WatchEvents(w, static_cast<DWORD>(_wtoi(argv[2])));
    ::CoUninitialize();
    return result;
  }
  if (command == L"listed" && argc > 2) {
    bool listed = false;
    for (HWND c = ::FindWindowExW(w, nullptr, L"COMBOBOX", nullptr); c && !listed; c = ::FindWindowExW(w, c, L"COMBOBOX", nullptr))
      listed = ::SendMessageW(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(argv[2])) != CB_ERR;
    std::printf("%d\n", listed ? 1 : 0);
    return 0;
  }
  if (command == L"selected") {  // each visible drop-down's chosen item, in Tab order
    for (HWND c = ::FindWindowExW(w, nullptr, L"COMBOBOX", nullptr); c; c = ::FindWindowExW(w, c, L"COMBOBOX", nullptr)) {
      if (!::IsWindowVisible(c)) continue;
      wchar_t text[256] = L"";
      const LRESULT index = ::SendMessageW(c, CB_GETCURSEL, 0, 0);
      if (index != CB_ERR) ::SendMessageW(c, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
      std::wprintf(L"%ls\n", index == CB_ERR ? L"(none)" : text);
    }
    return 0;
  }
  if (command == L"visible") {
    std::printf("%d\n", ::IsWindowVisible(w) ? 1 : 0);
    return 0;
  }
  return 2;
}

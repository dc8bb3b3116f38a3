// Stands in for hhctrl.ocx: its HtmlHelpW records each call ("<command> <file>|<caller>"), and
// StandInCalls hands the record to the test that loaded it. No C++ library, so that the DLL
// needs nothing beside it.
#include <windows.h>

namespace {

wchar_t calls[4096] = L"";

void Append(const wchar_t* text) {
  if (::lstrlenW(calls) + ::lstrlenW(text) < 4000) ::lstrcatW(calls, text);
}

}  // namespace

extern "C" __declspec(dllexport) HWND WINAPI
    HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
  wchar_t line[64];
  ::wsprintfW(line, L"%u ", command);
  Append(line);
  Append(file ? file : L"(none)");
  ::wsprintfW(line, L"|%s\n", caller ? L"owned" : L"unowned");
  Append(line);
  (void)data;
  // A window for a topic, as the viewer gives; none for the other commands.
  return command == 0 && file ? ::GetDesktopWindow() : nullptr;
}

extern "C" __declspec(dllexport) const wchar_t* StandInCalls() { return calls; }

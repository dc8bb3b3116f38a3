#include "platform/win32/services/win32_dialogs.h"

#include <algorithm>
#include <cwchar>

#include "core/error.h"
#include "platform/win32/services/common_dialogs.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_system.h"

namespace kv::win32 {

namespace {

// Dialog units. Wide enough for a two-hundred-character prompt in three or four lines.
constexpr short kWidth = 300;
constexpr short kMargin = 7;
constexpr short kPromptHeight = 34;
constexpr short kEditHeight = 14;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kGap = 4;
constexpr short kEditTop = kMargin + kPromptHeight + kGap;
constexpr short kButtonTop = kEditTop + kEditHeight + 7;
constexpr short kHeight = kButtonTop + kButtonHeight + kMargin;

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

class TemplateWriter {
 public:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Text(const wchar_t* text) {
    for (; *text != L'\0'; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  // Every item starts on a DWORD boundary of the template.
  void AlignDword() {
    if (words_.size() % 2 != 0) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
            const wchar_t* title) {
    AlignDword();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);  // extended style
    for (short value : {x, y, cx, cy}) Word(static_cast<WORD>(value));
    Word(id);
    Word(0xFFFF);
    Word(classAtom);
    Text(title);
    Word(0);  // no creation data
  }
  std::vector<WORD> Take() { return std::move(words_); }

 private:
  std::vector<WORD> words_;
};

struct InputBoxState {
  std::wstring caption;
  std::wstring prompt;
  std::wstring initial;
  std::wstring answer;
};

// Over the owner when it is on screen, otherwise in the middle of the work area; never
// partly off the monitor.
void PlaceInputBox(HWND dialog) {
  RECT box{};
  ::GetWindowRect(dialog, &box);
  const LONG width = box.right - box.left;
  const LONG height = box.bottom - box.top;
  const HWND owner = ::GetWindow(dialog, GW_OWNER);
  const bool overOwner = owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner);

  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(overOwner ? owner : dialog, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
  const RECT area = monitor.rcWork;
  RECT around = area;
  if (overOwner) ::GetWindowRect(owner, &around);

  LONG left = around.left + ((around.right - around.left) - width) / 2;
  LONG top = around.top + ((around.bottom - around.top) - height) / 2;
  left = std::max(area.left, std::min(left, area.right - width));
  top = std::max(area.top, std::min(top, area.bottom - height));
  ::SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<InputBoxState*>(lParam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      ::SetWindowTextW(dialog, state->caption.c_str());
      ::SetDlgItemTextW(dialog, kInputBoxPromptId, state->prompt.c_str());
      const HWND edit = ::GetDlgItem(dialog, kInputBoxEditId);
      // Lift the default 30,000-character limit so a long initial text is not cut short.
      ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
      ::SetWindowTextW(edit, state->initial.c_str());
      PlaceInputBox(dialog);
      // Everything selected, so typing replaces the suggestion.
      ::SetFocus(edit);
      ::SendMessageW(edit, EM_SETSEL, 0, -1);
      return FALSE;  // focus was set here
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          auto* state = reinterpret_cast<InputBoxState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
          const HWND edit = ::GetDlgItem(dialog, kInputBoxEditId);
          std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
          const int got = ::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
          text.resize(got > 0 ? static_cast<size_t>(got) : 0);
          state->answer = std::move(text);
          ::EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDCANCEL:  // Cancel, Escape and the close box all arrive as this
          ::EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::vector<WORD> InputBoxTemplate() {
  TemplateWriter t;
  t.Dword(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);  // extended style
  t.Word(4);   // items
  for (short value : {short{0}, short{0}, kWidth, kHeight}) t.Word(static_cast<WORD>(value));
  t.Word(0);  // no menu
  t.Word(0);  // the standard dialog class
  t.Text(L"");
  t.Word(8);
  t.Text(L"MS Shell Dlg");

  constexpr short kInner = kWidth - 2 * kMargin;
  t.Item(SS_LEFT | SS_NOPREFIX, kMargin, kMargin, kInner, kPromptHeight, kInputBoxPromptId,
         kStaticClass, L"");
  t.Item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kMargin, kEditTop, kInner, kEditHeight,
         kInputBoxEditId, kEditClass, L"");
  constexpr short kCancelLeft = kWidth - kMargin - kButtonWidth;
  constexpr short kOkLeft = kCancelLeft - kGap - kButtonWidth;
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, kOkLeft, kButtonTop, kButtonWidth, kButtonHeight, IDOK,
         kButtonClass, L"OK");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight, IDCANCEL,
         kButtonClass, L"Cancel");
  return t.Take();
}

int Win32Dialogs::ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
  return ::MessageBoxW(Owner(), Widen(text).c_str(), Widen(caption).c_str(), style);
}

void Win32Dialogs::ShowError(const std::string& text) {
  const std::string title = applicationTitle_ ? applicationTitle_() : std::string();
  ::MessageBoxW(Owner(), Widen(text).c_str(), Widen(title).c_str(), MB_OK | MB_ICONERROR);
}

std::optional<std::string> Win32Dialogs::InputBox(const std::string& caption,
                                                  const std::string& prompt,
                                                  const std::string& initial) {
  InputBoxState state{Widen(caption), Widen(prompt), Widen(initial), {}};
  const std::vector<WORD> dialogTemplate = InputBoxTemplate();
  ::SetLastError(ERROR_SUCCESS);
  const INT_PTR result = ::DialogBoxIndirectParamW(
      ::GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
      Owner(), InputBoxProc, reinterpret_cast<LPARAM>(&state));
  if (result == IDOK) return Narrow(state.answer);
  if (result == IDCANCEL) return std::nullopt;
  throw KeyvaneError("Cannot show the input box. " + SystemErrorText(::GetLastError()));
}

std::optional<std::string> Win32Dialogs::ChooseFileToOpen() {
  // Long enough for any path the shell can hand back.
  std::wstring file(32768, L'\0');
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = Owner();
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  // Keyvane never depends on the current folder; the dialog must not move it either.
  request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR |
                  OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (ShowOpenFileDialog(request)) {
    file.resize(::wcslen(file.c_str()));
    return Narrow(file);
  }
  const DWORD error = CommonDialogError();
  if (error == 0) return std::nullopt;  // cancelled
  throw KeyvaneError("Cannot show the file dialog (error " + std::to_string(error) + ").");
}

}  // namespace kv::win32

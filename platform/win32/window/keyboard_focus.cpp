// The keyboard in the main window: the focus on the painted stops (the key layout, the page
// tabs), which have no window of their own and so take the focus through the main window
// itself; the Tab order through them and the controls' windows; the keys that act on them;
// and the focus rectangle, shown and hidden by Windows' keyboard-cue rules.
#include <windows.h>

#include <utility>

#include "platform/win32/window/main_window.h"

namespace kv::win32 {

namespace {

std::optional<ui::Key> KeyOf(WPARAM vk) {
  switch (vk) {
    case VK_TAB: return ui::Key::Tab;
    case VK_LEFT: return ui::Key::Left;
    case VK_RIGHT: return ui::Key::Right;
    case VK_UP: return ui::Key::Up;
    case VK_DOWN: return ui::Key::Down;
    case VK_HOME: return ui::Key::Home;
    case VK_END: return ui::Key::End;
    case VK_PRIOR: return ui::Key::PageUp;
    case VK_NEXT: return ui::Key::PageDown;
    case VK_RETURN: return ui::Key::Enter;
    case VK_SPACE: return ui::Key::Space;
    default: return std::nullopt;
  }
}

bool Down(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

bool MainWindow::OwnWindow(HWND w) const { return w == hwnd_ || (w && ::GetParent(w) == hwnd_); }

void MainWindow::FocusStopOf(FocusStop stop) {
  paintedStop_ = stop;
  if (::GetFocus() == hwnd_)
    OnFocusChanged();
  else
    ::SetFocus(hwnd_);  // WM_SETFOCUS tells the program
}

void MainWindow::OnFocusChanged() {
  form_->FocusMoved(::GetFocus() == hwnd_ ? paintedStop_ : FocusStop::None);
  ::InvalidateRect(hwnd_, nullptr, FALSE);
  NotifyFocus();
}

void MainWindow::ShowKeyboardCues() {
  ::SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

// Keys for the window as a whole and for the painted stops, before Windows' dialog keys: true
// when handled.
bool MainWindow::PreTranslateKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !OwnWindow(msg.hwnd)) return false;
  const std::optional<ui::Key> key = KeyOf(msg.wParam);
  if (!key) return false;
  const ui::KeyState state{Down(VK_CONTROL), Down(VK_SHIFT)};
  const bool onPainted = ::GetFocus() == hwnd_;
  // A drop-down list that is open keeps its own keys.
  if (!onPainted && ::SendMessageW(::GetFocus(), CB_GETDROPPEDSTATE, 0, 0)) return false;

  if (*key == ui::Key::Tab && !state.ctrl) {
    if (!MoveTabStop(state.shift)) return false;
    ShowKeyboardCues();
    return true;
  }
  // The page keys from anywhere in the window; the others only on the painted stops, where no
  // window of a control would take them.
  const bool pageKey = state.ctrl && (*key == ui::Key::Tab || *key == ui::Key::PageUp || *key == ui::Key::PageDown);
  if (!pageKey && !onPainted) return false;
  const ui::Control* before = form_->FocusedPaintedControl();
  const bool used = form_->KeyPressed(*key, state);
  if (!used) return false;
  ShowKeyboardCues();
  KeepFocusOnAShownStop();
  if (form_->FocusedPaintedControl() != before) {
    ::InvalidateRect(hwnd_, nullptr, FALSE);
    NotifyFocus();
  }
  return true;
}

// Tab and Shift+Tab through the key layout, the page tabs, then the controls' windows in their
// order, and round again. False when Windows' own dialog keys move the focus between windows.
bool MainWindow::MoveTabStop(bool back) {
  HWND focus = ::GetFocus();
  HWND first = ::GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  HWND last = first ? ::GetNextDlgTabItem(hwnd_, first, TRUE) : nullptr;
  if (first && !(::GetWindowLongPtrW(first, GWL_STYLE) & WS_TABSTOP)) first = last = nullptr;
  if (focus == hwnd_) {
    if (paintedStop_ == FocusStop::Keys && !back) return FocusStopOf(FocusStop::Tabs), true;
    if (paintedStop_ == FocusStop::Tabs && back) return FocusStopOf(FocusStop::Keys), true;
    HWND target = back ? last : first;
    if (target) {
      ::SetFocus(target);
      if (::SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageW(target, EM_SETSEL, 0, -1);
    } else {
      FocusStopOf(back ? FocusStop::Tabs : FocusStop::Keys);
    }
    return true;
  }
  if (!OwnWindow(focus)) return false;
  if (!back && focus == last) return FocusStopOf(FocusStop::Keys), true;
  if (back && focus == first) return FocusStopOf(FocusStop::Tabs), true;
  return false;
}

// A control of the page just turned away is hidden, and a hidden window must not keep the
// focus: it goes to the page tabs, as in Windows' own property sheets.
void MainWindow::KeepFocusOnAShownStop() {
  HWND focus = ::GetFocus();
  if (focus && focus != hwnd_ && OwnWindow(focus) && (!::IsWindowVisible(focus) || !::IsWindowEnabled(focus)))
    FocusStopOf(FocusStop::Tabs);
}

// A button disabled under the focus (Apply, once pressed) hands it to the next control in the
// Tab order; a control whose page turned away, to the page tabs. Only while the window is the
// active one: the focus must not pull it to the front.
void MainWindow::PlaceLostFocus() {
  HWND lost = std::exchange(focusLostFrom_, nullptr);
  HWND focus = ::GetFocus();
  const bool fine = focus == hwnd_ || (OwnWindow(focus) && ::IsWindowVisible(focus) && ::IsWindowEnabled(focus));
  if (!lost || fine || ::GetActiveWindow() != hwnd_) return;
  if (::IsWindowVisible(lost)) {
    HWND next = ::GetNextDlgTabItem(hwnd_, lost, FALSE);
    if (next && next != lost && ::IsWindowEnabled(next)) {
      ::SetFocus(next);
      return;
    }
    FocusStopOf(FocusStop::Keys);
    return;
  }
  FocusStopOf(FocusStop::Tabs);
}

void MainWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = ::GetFocus();
    if (OwnWindow(focus)) focusBeforeDeactivation_ = focus;
    return;
  }
  // Back from the tray or another program: the focus is where it was.
  HWND restore = focusBeforeDeactivation_;
  if (!restore || !::IsWindow(restore) || !::IsWindowVisible(restore)) restore = hwnd_;
  ::SetFocus(restore);
}

void MainWindow::PaintFocus(HDC dc) {
  if (::GetFocus() != hwnd_) return;
  if (::SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) return;
  const ui::Control* focused = form_->FocusedPaintedControl();
  if (!focused || !focused->Showing()) return;
  RECT r = context_.scale.ToRect(focused->WindowBounds());
  const int inset = context_.scale(3);
  ::InflateRect(&r, -inset, -inset);
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::SetBkColor(dc, RGB(255, 255, 255));
  ::DrawFocusRect(dc, &r);
}

}  // namespace kv::win32

namespace kv::win32 {

void MainWindow::NotifyFocus() {
  if (accessibility_) accessibility_->FocusChanged();
}

}  // namespace kv::win32

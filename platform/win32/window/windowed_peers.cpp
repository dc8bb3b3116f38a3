#include "platform/win32/window/windowed_peers.h"

#include <commctrl.h>

#include "platform/win32/window/accessible.h"
#include "platform/win32/window/common_controls.h"
#include "platform/win32/window/painter.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

constexpr int kDropDownHeight = 240;
// Posted by a drop-down list to itself once a gesture's notifications have all come.
constexpr UINT kSettleMessage = WM_APP + 40;

void SetFont(HWND hwnd, HFONT font) {
  ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

}  // namespace

void WindowedPeer::MakeWindow() {
  if (hwnd_) return;
  CreateChildWindow();
  Sync();
  UpdateTooltip();
}

// Made in its place, enabled or not and shown or not as the control stands, so that the
// first Sync has only the kind's own state to write.
void WindowedPeer::CreateChildWindow() {
  const WindowClass cls = Class();
  placed_ = PlaceInParent();
  enabled_ = control().enabled();
  shown_ = control().Showing();
  // Clipped by its siblings, so that it never paints over the page slide's cover.
  const DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | cls.style | (shown_ ? WS_VISIBLE : 0) |
                      (enabled_ ? 0 : WS_DISABLED);
  hwnd_ = ::CreateWindowExW(cls.exStyle, cls.name, L"", style, placed_.left, placed_.top,
                            placed_.right - placed_.left, placed_.bottom - placed_.top,
                            context_.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                            context_.instance, nullptr);
  Created();
  comctl::SetWindowSubclass(hwnd_, &WindowedPeer::Described, kDescribedSubclass, reinterpret_cast<DWORD_PTR>(this));
  if (context_.windowMade) context_.windowMade(*this);
}

// A screen reader asking the control's window for its object gets the system's, with what the
// program tells of the control (its name from the text painted beside it, its role and value).
LRESULT CALLBACK WindowedPeer::Described(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self) {
  if (msg == WM_GETOBJECT) {
    auto* peer = reinterpret_cast<WindowedPeer*>(self);
    if (peer->context_.describe)
      if (const std::optional<ui::AccessibleItem> item = peer->context_.describe(peer->control())) {
        LRESULT answer = 0;
        if (AnswerAs(hwnd, wParam, lParam, *item, answer)) return answer;
      }
  } else if (msg == WM_NCDESTROY) {
    comctl::RemoveWindowSubclass(hwnd, &WindowedPeer::Described, id);
  }
  return comctl::DefSubclassProc(hwnd, msg, wParam, lParam);
}

void WindowedPeer::Sync() {
  if (!hwnd_) {
    // The model keeps the state of a control that has never shown; its window gets it all
    // when it is made.
    if (!control().Showing()) return;
    CreateChildWindow();
  }
  SyncScope scope(context_);
  const bool hadFocus = ::GetFocus() == hwnd_;
  Place();
  if (control().enabled() != enabled_) {
    enabled_ = control().enabled();
    ::EnableWindow(hwnd_, enabled_);
  }
  SyncOwnState();
  if (control().Showing() != shown_) ShowOrHide();
  if (hadFocus && (!enabled_ || !shown_) && context_.focusLost) context_.focusLost(hwnd_);
}

// A page that shows or hides changes nothing for a control inside it that stays hidden.
void WindowedPeer::AncestorChanged(bool moved, bool shownChanged) {
  if (!hwnd_) {
    Sync();
    return;
  }
  SyncScope scope(context_);
  const bool hadFocus = ::GetFocus() == hwnd_;
  if (moved) Place();
  if (shownChanged && control().Showing() != shown_) ShowOrHide();
  if (hadFocus && !shown_ && context_.focusLost) context_.focusLost(hwnd_);
}

RECT WindowedPeer::PlaceInParent() const {
  const Scale& scale = context_.scale;
  RECT r = scale.ToRect(control().WindowBounds());
  r.bottom += scale(ExtraHeight());
  return r;
}

void WindowedPeer::Place() {
  const RECT r = PlaceInParent();
  if (::EqualRect(&r, &placed_)) return;
  placed_ = r;
  ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowedPeer::ShowOrHide() {
  shown_ = control().Showing();
  ::ShowWindow(hwnd_, shown_ ? SW_SHOWNA : SW_HIDE);
}

// The push button draws itself (WM_DRAWITEM), so that its caption has its font's colour.
WindowedPeer::WindowClass ButtonPeer::Class() const { return {L"BUTTON", BS_OWNERDRAW}; }

void ButtonPeer::SyncOwnState() {
  SetWindowTextIfDifferent(hwnd_, button_.caption());
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void ButtonPeer::OnCommand(UINT code) {
  if (code == BN_CLICKED) button_.UserClick();
}

void ButtonPeer::DrawItem(const DRAWITEMSTRUCT& item) {
  PaintButton(item.hDC, item.rcItem, button_, (item.itemState & ODS_SELECTED) != 0,
              (item.itemState & ODS_FOCUS) != 0, context_.scale, context_.fonts, context_.colors);
}

// BS_CHECKBOX, not BS_AUTOCHECKBOX: the model decides the state and the peer shows it.
WindowedPeer::WindowClass CheckBoxPeer::Class() const { return {L"BUTTON", BS_CHECKBOX}; }

void CheckBoxPeer::SyncOwnState() {
  SetFont(hwnd_, Font(check_.font()));
  SetWindowTextIfDifferent(hwnd_, check_.caption());
  ::SendMessageW(hwnd_, BM_SETCHECK, check_.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBoxPeer::OnCommand(UINT code) {
  if (code == BN_CLICKED) check_.UserClick();
}

void CheckBoxPeer::ColorText(HDC dc) { ::SetTextColor(dc, context_.colors.Text(check_.font().color)); }

WindowedPeer::WindowClass ComboBoxPeer::Class() const {
  return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL};
}

void ComboBoxPeer::Created() {
  comctl::SetWindowSubclass(hwnd_, &ComboBoxPeer::Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
}

int ComboBoxPeer::ExtraHeight() const { return kDropDownHeight; }

void ComboBoxPeer::SyncOwnState() {
  SetFont(hwnd_, Font(combo_.font()));
  if (items_ != combo_.items()) {
    ::SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : combo_.items())
      ::SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    items_ = combo_.items();
    ++programWrites_;
  }
  if (::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0) != combo_.itemIndex()) {
    ::SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(combo_.itemIndex()), 0);
    ++programWrites_;
  }
}

// The notifications of one gesture are sent while Windows handles one input message; the
// message posted at the first of them arrives after the last.
void ComboBoxPeer::OnCommand(UINT code) {
  switch (code) {
    case CBN_SELENDOK:
      confirmed_ = true;
      break;
    case CBN_SELCHANGE:
      selChanged_ = true;
      break;
    case CBN_SELENDCANCEL:
      cancelled_ = true;
      break;
    case CBN_CLOSEUP:
    case CBN_KILLFOCUS:
      break;
    default:
      return;
  }
  if (settlePosted_) return;
  settlePosted_ = true;
  programWritesAtGesture_ = programWrites_;
  ::PostMessageW(hwnd_, kSettleMessage, 0, 0);
}

// Enter or a click in the list confirms its item, the item already shown too; an arrow key or
// the mouse wheel on the closed list changes it at once. While the list stays open the user is
// only looking through it. Escape, a click elsewhere or the focus moving on cancel the list,
// whatever item it was on; so does a list that closes showing nothing.
void ComboBoxPeer::Settle() {
  settlePosted_ = false;
  const bool open = ::SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0;
  const bool chosen = !cancelled_ && (confirmed_ || (selChanged_ && !open)) &&
                      programWrites_ == programWritesAtGesture_;
  confirmed_ = selChanged_ = cancelled_ = false;
  if (open) return;
  const int shown = static_cast<int>(::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
  if (chosen && shown >= 0 && combo_.enabled()) {
    combo_.UserSelect(shown);
    return;
  }
  if (shown != combo_.itemIndex()) ShowTheControlsChoice();
}

void ComboBoxPeer::ShowTheControlsChoice() {
  SyncScope scope(context_);
  ::SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(combo_.itemIndex()), 0);
}

LRESULT CALLBACK ComboBoxPeer::Subclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self) {
  if (msg == kSettleMessage) {
    reinterpret_cast<ComboBoxPeer*>(self)->Settle();
    return 0;
  }

  if (msg == WM_NCDESTROY) comctl::RemoveWindowSubclass(hwnd, &ComboBoxPeer::Subclass, id);
  return comctl::DefSubclassProc(hwnd, msg, wParam, lParam);
}

WindowedPeer::WindowClass EditPeer::Class() const {
  return {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
}

// Typed characters reach the key-press event before the box inserts them.
void EditPeer::Created() {
  comctl::SetWindowSubclass(hwnd_, &EditPeer::Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
}

void EditPeer::SyncOwnState() {
  SetFont(hwnd_, Font(edit_.font()));
  SetWindowTextIfDifferent(hwnd_, edit_.text());
}

void EditPeer::OnCommand(UINT code) {
  if (code == EN_CHANGE) edit_.UserReplaceText(WindowText(hwnd_));
}

LRESULT CALLBACK EditPeer::Subclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self) {
  if (msg == WM_CHAR) {
    char key = wParam < 0x80 ? static_cast<char>(wParam) : '?';
    reinterpret_cast<EditPeer*>(self)->edit_.UserKeyPress(key);
    if (key == 0) return 0;
  } else if (msg == WM_NCDESTROY) {
    comctl::RemoveWindowSubclass(hwnd, &EditPeer::Subclass, id);
  }
  return comctl::DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace kv::win32

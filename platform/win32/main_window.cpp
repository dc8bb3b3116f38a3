#include "platform/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/window_events.h"
#include "ui/timer.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/painter.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_tray.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/shape.h"

namespace kv::win32 {

namespace {

constexpr UINT_PTR kFormTimerId = 1;
constexpr UINT_PTR kTrayClickTimerId = 2;
constexpr UINT_PTR kTrayRetryTimerId = 3;
constexpr int kFirstChildId = 100;
constexpr int kDropDownHeight = 240;
#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

bool IsWindowed(const ui::Control& c) {
  return dynamic_cast<const ui::Button*>(&c) || dynamic_cast<const ui::CheckBox*>(&c) ||
         dynamic_cast<const ui::ComboBox*>(&c) || dynamic_cast<const ui::Edit*>(&c);
}

std::string WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void SetWindowTextIfDifferent(HWND hwnd, const std::string& text) {
  if (WindowText(hwnd) != text) ::SetWindowTextW(hwnd, Widen(text).c_str());
}

// Menu captions are shown exactly as set: an ampersand is not an accelerator.
std::wstring MenuCaption(const std::string& caption) {
  std::wstring out;
  for (wchar_t c : Widen(caption)) {
    if (c == L'&') out += L'&';
    out += c;
  }
  return out;
}

int ScreenDpi() {
  WindowDc dc(nullptr);
  const int dpi = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {}

MainWindow::~MainWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

void MainWindow::Create(WindowEvents& program) {
  form_ = &program;
  ui::Window& form = program.Root();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &MainWindow::WindowProc;
  wc.hInstance = instance_;
  wc.hIcon = ::LoadIconW(instance_, MAKEINTRESOURCEW(1));
  wc.hIconSm = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kMainWindowClass;
  ::RegisterClassExW(&wc);

  hand_ = ::LoadCursorW(nullptr, IDC_HAND);
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  windowBrush_.reset(::CreateSolidBrush(ToColorRef(form.color())));

  scale_.dpi = ScreenDpi();
  const int width = scale_(form.bounds().width), height = scale_(form.bounds().height);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + (work.right - work.left - width) / 2;
  const int top = work.top + (work.bottom - work.top - height) / 2;
  hwnd_ = ::CreateWindowExW(0, kMainWindowClass, Widen(form.caption()).c_str(),
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                            left, top, width, height, nullptr, nullptr, instance_, this);

  form.SetPeer(this);
  for (const auto& control : program.Controls()) {
    control->SetPeer(this);
    if (IsPainted(*control)) painted_.push_back(control.get());
  }
  CreateChildren();
  const int dpi = WindowDpi(hwnd_);
  if (dpi != scale_.dpi) ApplyDpi(dpi, nullptr);
}

void MainWindow::CreateChildren() {
  int id = kFirstChildId;
  for (const auto& owned : form_->Controls()) {
    ui::Control* control = owned.get();
    if (!IsWindowed(*control)) continue;
    const wchar_t* cls = L"BUTTON";
    DWORD style = WS_CHILD | WS_TABSTOP, exStyle = 0;
    if (dynamic_cast<ui::Button*>(control)) {
      style |= BS_OWNERDRAW;
    } else if (dynamic_cast<ui::CheckBox*>(control)) {
      style |= BS_CHECKBOX;
    } else if (dynamic_cast<ui::ComboBox*>(control)) {
      cls = L"COMBOBOX";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL;
    } else {
      cls = L"EDIT";
      style |= ES_AUTOHSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
    }
    HWND child = ::CreateWindowExW(exStyle, cls, L"", style, 0, 0, 0, 0, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance_, nullptr);
    if (dynamic_cast<ui::Edit*>(control))
      ::SetWindowSubclass(child, &MainWindow::EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    children_.push_back(Child{control, child, {}});
  }
  SyncAll();
}

void MainWindow::SyncChild(Child& child) {
  const bool wasSyncing = syncing_;
  syncing_ = true;
  ui::Control& c = *child.control;
  RECT r = scale_.ToRect(c.WindowBounds());
  int height = r.bottom - r.top;
  if (dynamic_cast<ui::ComboBox*>(&c)) height += scale_(kDropDownHeight);
  ::SetWindowPos(child.hwnd, nullptr, r.left, r.top, r.right - r.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::EnableWindow(child.hwnd, c.enabled());

  if (auto* button = dynamic_cast<ui::Button*>(&c)) {
    SetWindowTextIfDifferent(child.hwnd, button->caption());
    ::InvalidateRect(child.hwnd, nullptr, FALSE);
  } else if (auto* check = dynamic_cast<ui::CheckBox*>(&c)) {
    ::SendMessageW(child.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(check->font(), scale_.dpi)), FALSE);
    SetWindowTextIfDifferent(child.hwnd, check->caption());
    ::SendMessageW(child.hwnd, BM_SETCHECK, check->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (auto* combo = dynamic_cast<ui::ComboBox*>(&c)) {
    ::SendMessageW(child.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(combo->font(), scale_.dpi)), FALSE);
    if (child.items != combo->items()) {
      ::SendMessageW(child.hwnd, CB_RESETCONTENT, 0, 0);
      for (const std::string& item : combo->items())
        ::SendMessageW(child.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
      child.items = combo->items();
    }
    ::SendMessageW(child.hwnd, CB_SETCURSEL, static_cast<WPARAM>(combo->itemIndex()), 0);
  } else if (auto* edit = dynamic_cast<ui::Edit*>(&c)) {
    ::SendMessageW(child.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(edit->font(), scale_.dpi)), FALSE);
    SetWindowTextIfDifferent(child.hwnd, edit->text());
  }
  ::ShowWindow(child.hwnd, c.Showing() ? SW_SHOWNA : SW_HIDE);
  syncing_ = wasSyncing;
}

void MainWindow::SyncAll() {
  for (Child& child : children_) SyncChild(child);
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

MainWindow::Child* MainWindow::ChildByHwnd(HWND hwnd) {
  for (Child& child : children_)
    if (child.hwnd == hwnd) return &child;
  return nullptr;
}

MainWindow::Child* MainWindow::ChildByControl(const ui::Control* control) {
  for (Child& child : children_)
    if (child.control == control) return &child;
  return nullptr;
}

void MainWindow::StateChanged(ui::Control& control) {
  if (!hwnd_) return;
  if (&control == &form_->Root()) {
    SetWindowTextIfDifferent(hwnd_, form_->Root().caption());
    ::InvalidateRect(hwnd_, nullptr, FALSE);
  } else if (auto* timer = dynamic_cast<ui::Timer*>(&control)) {
    timer_ = timer;
    SyncTimer();
  } else if (Child* child = ChildByControl(&control)) {
    SyncChild(*child);
  } else {
    // A panel that shows or hides takes its windowed children with it.
    if (!control.children().empty()) {
      for (Child& each : children_) SyncChild(each);
    }
    ::InvalidateRect(hwnd_, nullptr, FALSE);
  }
}

void MainWindow::SyncTimer() {
  if (timer_->running())
    ::SetTimer(hwnd_, kFormTimerId, static_cast<UINT>(timer_->interval()), nullptr);
  else
    ::KillTimer(hwnd_, kFormTimerId);
}

void MainWindow::Show() {
  ::ShowWindow(hwnd_, SW_SHOW);
  ::UpdateWindow(hwnd_);
}

int MainWindow::RunMessageLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(hwnd_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void MainWindow::Destroy() {
  for (const auto& control : form_->Controls()) control->SetPeer(nullptr);
  form_->Root().SetPeer(nullptr);
  if (hwnd_) ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void MainWindow::Minimize() {
  if (inTray_) return;
  inTray_ = true;
  ::ShowWindow(hwnd_, SW_MINIMIZE);
  ::ShowWindow(hwnd_, SW_HIDE);
  if (onMinimize_) onMinimize_();
}

void MainWindow::Restore() {
  inTray_ = false;
  ::ShowWindow(hwnd_, SW_RESTORE);
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
}

void MainWindow::Terminate() { ::PostQuitMessage(0); }

void MainWindow::ProcessMessages() { DispatchWaitingMessages(); }

void MainWindow::CloseMainWindow() { ::SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

void MainWindow::ApplyDpi(int dpi, const RECT* suggested) {
  scale_.dpi = dpi;
  fonts_.Clear();
  if (suggested) {
    ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    ::SetWindowPos(hwnd_, nullptr, 0, 0, scale_(form_->Root().bounds().width), scale_(form_->Root().bounds().height),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  SyncAll();
}

void MainWindow::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd_, &ps);
  RECT client;
  ::GetClientRect(hwnd_, &client);
  // Painted into memory first, so that the keys do not flicker on every refresh.
  UniqueMemoryDc memory(::CreateCompatibleDC(dc));
  UniqueBitmap bitmap(::CreateCompatibleBitmap(dc, client.right, client.bottom));
  {
    SelectedObject selected(memory.get(), bitmap.get());
    ::IntersectClipRect(memory.get(), ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    PaintControls(memory.get(), form_->Root(), painted_, scale_, fonts_);
    ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, memory.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  }
  ::EndPaint(hwnd_, &ps);
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  Child* child = ChildByHwnd(item.hwndItem);
  if (!child) return;
  if (auto* button = dynamic_cast<ui::Button*>(child->control))
    PaintButton(item.hDC, item.rcItem, *button, (item.itemState & ODS_SELECTED) != 0,
                (item.itemState & ODS_FOCUS) != 0, scale_, fonts_);
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (syncing_) return;
  Child* child = ChildByHwnd(reinterpret_cast<HWND>(lParam));
  if (!child) return;
  const UINT code = HIWORD(wParam);
  if (auto* button = dynamic_cast<ui::Button*>(child->control)) {
    if (code == BN_CLICKED) button->UserClick();
  } else if (auto* check = dynamic_cast<ui::CheckBox*>(child->control)) {
    if (code == BN_CLICKED) check->UserClick();
  } else if (auto* combo = dynamic_cast<ui::ComboBox*>(child->control)) {
    if (code == CBN_SELCHANGE)
      combo->UserSelect(static_cast<int>(::SendMessageW(child->hwnd, CB_GETCURSEL, 0, 0)));
  } else if (auto* edit = dynamic_cast<ui::Edit*>(child->control)) {
    if (code == EN_CHANGE) edit->UserReplaceText(WindowText(child->hwnd));
  }
}

ui::Control* MainWindow::HitTest(LPARAM lParam) const {
  const int x = scale_.Unscale(GET_X_LPARAM(lParam)), y = scale_.Unscale(GET_Y_LPARAM(lParam));
  for (auto it = painted_.rbegin(); it != painted_.rend(); ++it) {
    ui::Control* control = *it;
    if (control->Showing() && control->WindowBounds().Contains(x, y)) return control;
  }
  return nullptr;
}

void MainWindow::OnMouseUp(ui::MouseButton button, LPARAM lParam) {
  ui::Control* hit = HitTest(lParam);
  const bool clicked = hit && hit == pressed_ && !doubleClicked_;
  pressed_ = nullptr;
  doubleClicked_ = false;
  if (!hit) return;
  if (auto* shape = dynamic_cast<ui::Shape*>(hit)) {
    shape->UserMouseUp(button, 0, 0);
  } else if (button == ui::MouseButton::Left && clicked) {
    if (auto* label = dynamic_cast<ui::Label*>(hit)) label->UserClick();
    else if (auto* panel = dynamic_cast<ui::Panel*>(hit)) panel->UserClick();
  }
}

void MainWindow::OnDoubleClick(LPARAM lParam) {
  ui::Control* hit = HitTest(lParam);
  pressed_ = hit;
  doubleClicked_ = true;
  if (auto* label = dynamic_cast<ui::Label*>(hit)) label->UserDblClick();
}

bool MainWindow::OnSetCursor() {
  POINT pt;
  ::GetCursorPos(&pt);
  ::ScreenToClient(hwnd_, &pt);
  ui::Control* hit = HitTest(MAKELPARAM(pt.x, pt.y));
  ::SetCursor(hit && hit->cursor() == ui::Cursor::Hand ? hand_ : ::LoadCursorW(nullptr, IDC_ARROW));
  return true;
}

void MainWindow::OnTrayMessage(LPARAM lParam) {
  switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONUP:
      // Wait for a possible second click: a double click restores the window instead.
      trayClickPending_ = true;
      ::SetTimer(hwnd_, kTrayClickTimerId, ::GetDoubleClickTime(), nullptr);
      break;
    case WM_RBUTTONUP:
      ShowTrayMenu();
      break;
    case WM_LBUTTONDBLCLK:
      trayClickPending_ = false;
      ::KillTimer(hwnd_, kTrayClickTimerId);
      form_->TrayIconDoubleClicked();
      break;
    default:
      break;
  }
}

void MainWindow::ShowTrayMenu() {
  POINT pt;
  ::GetCursorPos(&pt);
  ShowTrayMenuAt(pt.x, pt.y);
}

std::pair<int, int> MainWindow::ScreenSize() {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void MainWindow::PostClickToMainWindow() {
  ::PostMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ::PostMessageW(hwnd_, WM_LBUTTONUP, MK_LBUTTON, 0);
}

void MainWindow::ShowTrayMenuAt(int x, int y) {
  HMENU menu = ::CreatePopupMenu();
  const auto& items = form_->TrayMenu().items();
  for (size_t i = 0; i < items.size(); ++i) {
    const ui::MenuItem& item = *items[i];
    if (!item.visible()) continue;
    if (item.separator()) {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    ::AppendMenuW(menu, MF_STRING | (item.enabled() ? 0 : MF_GRAYED), i + 1, MenuCaption(item.caption()).c_str());
  }
  // The menu closes when the user clicks elsewhere only if our window is in the foreground.
  ::SetForegroundWindow(hwnd_);
  const UINT chosen = static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                          x, y, 0, hwnd_, nullptr));
  ::PostMessageW(hwnd_, WM_NULL, 0, 0);
  ::DestroyMenu(menu);
  if (chosen >= 1 && chosen <= items.size()) items[chosen - 1]->UserClick();
}

LRESULT CALLBACK MainWindow::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
  if (msg == WM_CHAR) {
    auto* window = reinterpret_cast<MainWindow*>(self);
    if (Child* child = window->ChildByHwnd(hwnd)) {
      char key = wParam < 0x80 ? static_cast<char>(wParam) : '?';
      static_cast<ui::Edit*>(child->control)->UserKeyPress(key);
      if (key == 0) return 0;
    }
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    reinterpret_cast<MainWindow*>(create->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->form_) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    if (tray_) tray_->Readd();
    return 0;
  }
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      // The check box sits on the window's own colour.
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetBkColor(dc, ToColorRef(form_->Root().color()));
      if (Child* child = ChildByHwnd(reinterpret_cast<HWND>(lParam)))
        if (auto* check = dynamic_cast<ui::CheckBox*>(child->control))
          ::SetTextColor(dc, ToColorRef(check->font().color));
      return reinterpret_cast<LRESULT>(windowBrush_.get());
    }
    case WM_COMMAND:
      if (lParam) OnCommand(wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = HitTest(lParam);
      doubleClicked_ = false;
      ::SetCapture(hwnd_);
      return 0;
    case WM_LBUTTONUP:
      ::ReleaseCapture();
      OnMouseUp(ui::MouseButton::Left, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(lParam);
      return 0;
    case WM_RBUTTONUP:
      OnMouseUp(ui::MouseButton::Right, lParam);
      return 0;
    case WM_MBUTTONUP:
      OnMouseUp(ui::MouseButton::Middle, lParam);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == hwnd_) return OnSetCursor();
      break;
    case WM_HOTKEY:
      form_->HotKeyPressed(static_cast<uint32_t>(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == kFormTimerId) {
        if (timer_) timer_->Fire();
      } else if (wParam == kTrayClickTimerId) {
        ::KillTimer(hwnd_, kTrayClickTimerId);
        if (trayClickPending_) {
          trayClickPending_ = false;
          ShowTrayMenu();
        }
      } else if (wParam == kTrayRetryTimerId) {
        if (tray_) tray_->RetryIfPending();
        if (!tray_ || !tray_->AddPending()) ::KillTimer(hwnd_, kTrayRetryTimerId);
      }
      return 0;
    case kTrayCallbackMessage:
      OnTrayMessage(lParam);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        Minimize();
        return 0;
      }
      break;
    case WM_CLOSE: {
      if (form_->CloseRequested()) ::PostQuitMessage(0);
      return 0;
    }
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      form_->SessionEnded(wParam != 0);
      break;
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SHOWWINDOW:
      if (wParam && tray_ && tray_->AddPending()) ::SetTimer(hwnd_, kTrayRetryTimerId, 2000, nullptr);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace kv::win32

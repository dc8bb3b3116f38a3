#include "platform/win32/window/main_window.h"

#include <windowsx.h>

#include <utility>

#include "app/window_events.h"
#include "platform/win32/services/message_pump.h"
#include "platform/win32/window/painted_peers.h"
#include "platform/win32/window/painter.h"
#include "platform/win32/window/timer_peer.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_tray.h"
#include "platform/win32/window/placement.h"
#include "platform/win32/window/windowed_peers.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kv::win32 {

namespace {

constexpr UINT_PTR kTrayRetryTimerId = 3;
static_assert(kTrayRetryTimerId < kFirstControlTimerId);
constexpr UINT kTrayRetryMs = 2000;
constexpr int kFirstChildId = 100;
#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

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

MainWindow::MainWindow(HINSTANCE instance) { context_.instance = instance; }

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
  wc.hInstance = context_.instance;
  wc.hIcon = ::LoadIconW(context_.instance, MAKEINTRESOURCEW(1));
  wc.hIconSm = static_cast<HICON>(::LoadImageW(context_.instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kMainWindowClass;
  ::RegisterClassExW(&wc);

  hand_ = ::LoadCursorW(nullptr, IDC_HAND);
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  exitRequest_ = ::RegisterWindowMessageW(kExitRequestMessage);
  context_.colors.highContrast = Colors::HighContrastOn();
  windowBrush_.reset(::CreateSolidBrush(context_.colors.Fill(form.color())));

  Scale& scale = context_.scale;
  scale.dpi = ScreenDpi();
  const int width = scale(form.bounds().width), height = scale(form.bounds().height);
  RECT primary{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0);
  const POINT origin = PlaceInWorkArea(WorkAreaAround(primary), width, height);
  hwnd_ = ::CreateWindowExW(0, kMainWindowClass, Widen(form.caption()).c_str(),
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                            origin.x, origin.y, width, height, nullptr, nullptr, context_.instance, this);

  context_.window = hwnd_;
  // Focus rectangles stay hidden until the keyboard is used, unless the user asked Windows to
  // show them always.
  BOOL cues = FALSE;
  ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0);
  if (!cues) ::SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  slide_ = std::make_unique<PageSlide>(context_.instance, hwnd_, [this](HDC dc) { RenderClient(dc); });
  context_.focusLost = [this](HWND lost) {
    focusLostFrom_ = lost;
    ::PostMessageW(hwnd_, kFocusLostMessage, 0, 0);
  };
  context_.describe = [this](const ui::Control& control) -> std::optional<ui::AccessibleItem> {
    for (ui::AccessibleItem& item : form_->AccessibleItems())
      if (item.control == &control) return std::move(item);
    return std::nullopt;
  };
  accessibility_ = std::make_unique<WindowAccessibility>(AccessibleHost{
      hwnd_, form_,
      [this](const ui::Rect& r) { return context_.scale.ToRect(r); },
      [this](const ui::Control& control) -> HWND {
        for (WindowedPeer* peer : peers_.windowed)
          if (&peer->control() == &control) return peer->hwnd();
        return nullptr;
      },
      [this](const ui::Control& control) {
        accessibleActionPending_ = &control;
        ::PostMessageW(hwnd_, kAccessibleActionMessage, 0, 0);
      }});

  form.SetPeer(this);
  tooltips_.Create(context_.instance, hwnd_);
  context_.tooltips = &tooltips_;
  peers_ = MakePeers(program.Controls(), context_);
  CreateChildWindows();
  SetMessageFilter([this](MSG& msg) { return PreTranslate(msg); });
  const int dpi = WindowDpi(hwnd_);
  if (dpi != scale.dpi) ApplyDpi(dpi, nullptr);
}

// The windows of the controls showing now, each with its state as the user will first see
// it. A control on a page not shown yet gets its window when the page first shows, or once the
// main window is up (Show), whichever comes first.
void MainWindow::CreateChildWindows() {
  int id = kFirstChildId;
  for (WindowedPeer* peer : peers_.windowed) peer->SetWindowId(id++);
  tabSequence_ = TabSequence(peers_.windowed);
  context_.windowMade = [this](WindowedPeer& peer) { PlaceInTabOrder(peer); };
  SyncAll();
  UpdateTooltips();
}

void MainWindow::MakeWaitingWindows() {
  for (WindowedPeer* peer : peers_.windowed) peer->MakeWindow();
}

// The windows with a place of their own in the Tab order take the slots that such windows
// hold in creation order, sorted by that place; every other window keeps its slot.
std::vector<WindowedPeer*> MainWindow::TabSequence(const std::vector<WindowedPeer*>& windowed) {
  std::vector<WindowedPeer*> order = windowed;
  std::vector<size_t> slots;
  std::vector<WindowedPeer*> placed;
  for (size_t i = 0; i < order.size(); ++i) {
    if (order[i]->control().tabOrder() <= 0) continue;
    slots.push_back(i);
    placed.push_back(order[i]);
  }
  std::stable_sort(placed.begin(), placed.end(), [](WindowedPeer* a, WindowedPeer* b) {
    return a->control().tabOrder() < b->control().tabOrder();
  });
  for (size_t i = 0; i < slots.size(); ++i) order[slots[i]] = placed[i];
  return order;
}

// A new window goes right after the nearest window before it in the sequence, so the windows
// made so far always stand in the sequence's order, whatever order they were made in.
void MainWindow::PlaceInTabOrder(WindowedPeer& made) {
  HWND after = HWND_TOP;
  for (WindowedPeer* peer : tabSequence_) {
    if (peer == &made) break;
    if (peer->hwnd()) after = peer->hwnd();
  }
  ::SetWindowPos(made.hwnd(), after, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void MainWindow::UpdateTooltips() {
  for (const auto& peer : peers_.all) peer->UpdateTooltip();
}

void MainWindow::SyncAll() {
  for (WindowedPeer* peer : peers_.windowed) peer->Sync();
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

WindowedPeer* MainWindow::PeerByHwnd(HWND hwnd) const {
  for (WindowedPeer* peer : peers_.windowed)
    if (peer->hwnd() == hwnd) return peer;
  return nullptr;
}

void MainWindow::StateChanged(ui::Control&) {
  if (!hwnd_) return;
  SetWindowTextIfDifferent(hwnd_, form_->Root().caption());
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void MainWindow::Show() {
  ::ShowWindow(hwnd_, SW_SHOW);
  ::UpdateWindow(hwnd_);
  ::PostMessageW(hwnd_, kMakeWaitingWindowsMessage, 0, 0);
}

int MainWindow::RunMessageLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslate(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

bool MainWindow::PreTranslate(MSG& msg) {
  if (PreTranslateKey(msg)) return true;
  if (PressFocusedButton(msg)) return true;
  // Tab and Shift+Tab move between the controls, skipping hidden and disabled ones.
  return ::IsDialogMessageW(hwnd_, &msg) != FALSE;
}

bool MainWindow::PressFocusedButton(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN) return false;
  HWND focus = ::GetFocus();
  if (!focus || ::GetParent(focus) != hwnd_ || !PeerByHwnd(focus)) return false;
  // Only the push buttons, which Keyvane draws itself; a check box is not pressed by Enter.
  if ((::GetWindowLongPtrW(focus, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW) return false;
  ::SendMessageW(focus, BM_CLICK, 0, 0);
  return true;
}

void MainWindow::Destroy() {
  SetMessageFilter(nullptr);
  for (const auto& control : form_->Controls()) control->SetPeer(nullptr);
  form_->Root().SetPeer(nullptr);
  pressed_ = nullptr;
  slide_.reset();
  if (accessibility_) accessibility_->Disconnect();
  accessibility_.reset();
  context_.tooltips = nullptr;
  tooltips_.Destroy();
  if (hwnd_) ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  context_.window = nullptr;
  context_.peers.clear();
  context_.windowMade = nullptr;
  tabSequence_.clear();
  peers_ = {};
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
  context_.scale.dpi = dpi;
  context_.fonts.Clear();
  if (suggested) {
    ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    const Scale& scale = context_.scale;
    ::SetWindowPos(hwnd_, nullptr, 0, 0, scale(form_->Root().bounds().width), scale(form_->Root().bounds().height),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  SyncAll();
  UpdateTooltips();
}

void MainWindow::FollowSystemColors() {
  context_.colors.highContrast = Colors::HighContrastOn();
  windowBrush_.reset(::CreateSolidBrush(context_.colors.Fill(form_->Root().color())));
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
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
    // In creation order, so that later controls lie over earlier ones.
    PaintBackground(memory.get(), form_->Root(), context_.scale, context_.colors);
    for (PaintedPeer* peer : peers_.painted)
      if (peer->control().Showing()) peer->Paint(memory.get());
    PaintFocus(memory.get());
    ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, memory.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  }
  ::EndPaint(hwnd_, &ps);
  // What changed on screen is told to screen readers too.
  if (accessibility_) accessibility_->ContentsChanged();
}

void MainWindow::RenderClient(HDC dc) {
  PaintBackground(dc, form_->Root(), context_.scale, context_.colors);
  for (PaintedPeer* peer : peers_.painted)
    if (peer->control().Showing()) peer->Paint(dc);
  // Each window prints itself at the origin of a scratch picture, which is then copied to its
  // place: a control that clips its drawing to its own rectangle (an owner-drawn button does,
  // under Wine) would clip it away at any other origin.
  RECT client;
  ::GetClientRect(hwnd_, &client);
  UniqueMemoryDc scratch(::CreateCompatibleDC(dc));
  UniqueBitmap scratchBitmap(::CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!scratch || !scratchBitmap) return;
  SelectedObject selected(scratch.get(), scratchBitmap.get());
  for (WindowedPeer* peer : peers_.windowed) {
    if (!peer->control().Showing() || !::IsWindowVisible(peer->hwnd())) continue;
    RECT place;
    ::GetWindowRect(peer->hwnd(), &place);
    ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&place), 2);
    PrintWholeWindow(scratch.get(), peer->hwnd());
    ::BitBlt(dc, place.left, place.top, place.right - place.left, place.bottom - place.top,
             scratch.get(), 0, 0, SRCCOPY);
  }
}

void MainWindow::PrepareTransition(int x, int y, int width, int height) {
  if (slide_) slide_->Prepare(context_.scale.ToRect({x, y, width, height}));
}

void MainWindow::CaptureTransitionMiddle() {
  if (slide_) slide_->CaptureMiddle();
}

void MainWindow::PlayTransition(int durationMs) {
  if (slide_) slide_->Play(durationMs);
}

void MainWindow::ReleaseTransition() {
  if (slide_) slide_->Release();
}

bool MainWindow::AnimationsShown() {
  BOOL shown = TRUE;
  // Where the setting cannot be read (before Vista), animations are shown as they always were.
  if (!::SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &shown, 0)) return true;
  return shown != FALSE;
}

PaintedPeer* MainWindow::HitTest(LPARAM lParam) const {
  const Scale& scale = context_.scale;
  const int x = scale.Unscale(GET_X_LPARAM(lParam)), y = scale.Unscale(GET_Y_LPARAM(lParam));
  for (auto it = peers_.painted.rbegin(); it != peers_.painted.rend(); ++it) {
    const ui::Control& control = (*it)->control();
    if (control.Showing() && control.WindowBounds().Contains(x, y)) return *it;
  }
  return nullptr;
}

void MainWindow::OnMouseUp(ui::MouseButton button, LPARAM lParam) {
  PaintedPeer* hit = HitTest(lParam);
  const bool clicked = hit && hit == pressed_ && !doubleClicked_;
  pressed_ = nullptr;
  doubleClicked_ = false;
  if (hit) hit->MouseUp(button, clicked);
}

void MainWindow::OnDoubleClick(LPARAM lParam) {
  PaintedPeer* hit = HitTest(lParam);
  pressed_ = hit;
  doubleClicked_ = true;
  if (hit) hit->DoubleClick();
}

bool MainWindow::OnSetCursor() {
  POINT pt;
  ::GetCursorPos(&pt);
  ::ScreenToClient(hwnd_, &pt);
  PaintedPeer* hit = HitTest(MAKELPARAM(pt.x, pt.y));
  // A disabled control (F12 where Windows keeps it) does not react, so it shows no hand.
  const bool hand = hit && hit->control().enabled() && hit->control().cursor() == ui::Cursor::Hand;
  ::SetCursor(hand ? hand_ : ::LoadCursorW(nullptr, IDC_ARROW));
  return true;
}

void MainWindow::OnTimer(UINT_PTR id) {
  if (id == kTrayRetryTimerId) {
    if (tray_) tray_->ReleaseAdds();
    if (!tray_ || !tray_->AddPending())
      ::KillTimer(hwnd_, kTrayRetryTimerId);
    else
      ::SetTimer(hwnd_, kTrayRetryTimerId, kTrayRetryMs, nullptr);
  } else {
    for (TimerPeer* timer : peers_.timers)
      if (timer->id() == id) {
        timer->Elapsed();
        break;
      }
  }
}

// The icon's message as the program reads it: in version 4 the event is in the low word of
// lParam and the place (the mouse, or the icon for the keyboard) in wParam; before it, lParam is
// the mouse message and the place is where the mouse is.
void MainWindow::OnTrayMessage(WPARAM wParam, LPARAM lParam) {
  const bool version4 = tray_ && tray_->Version4();
  TrayMessage message;
  message.version4 = version4;
  if (version4) {
    message.event = LOWORD(lParam);
    message.x = GET_X_LPARAM(wParam);
    message.y = GET_Y_LPARAM(wParam);
  } else {
    message.event = static_cast<uint32_t>(lParam);
    POINT pt{};
    ::GetCursorPos(&pt);
    message.x = pt.x;
    message.y = pt.y;
  }
  form_->TrayIconMessage(message);
}

std::pair<int, int> MainWindow::ScreenSize() {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void MainWindow::PostClickToMainWindow() {
  ::PostMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ::PostMessageW(hwnd_, WM_LBUTTONUP, MK_LBUTTON, 0);
}

void MainWindow::ShowTrayMenuAt(int x, int y) {
  const auto& items = form_->TrayMenu().items();
  UINT chosen = 0;
  {
    // Gone before the chosen item's handler runs, which may show the menu again.
    UniqueMenu menu(::CreatePopupMenu());
    for (size_t i = 0; i < items.size(); ++i) {
      const ui::MenuItem& item = *items[i];
      if (!item.visible()) continue;
      if (item.separator()) {
        ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        continue;
      }
      ::AppendMenuW(menu.get(), MF_STRING | (item.enabled() ? 0 : MF_GRAYED), i + 1,
                    MenuCaption(item.caption()).c_str());
    }
    // The menu closes when the user clicks elsewhere only if our window is in the foreground.
    ::SetForegroundWindow(hwnd_);
    chosen = static_cast<UINT>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                x, y, 0, hwnd_, nullptr));
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);
  }
  if (chosen >= 1 && chosen <= items.size()) items[chosen - 1]->UserClick();
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
  if (msg == exitRequest_ && exitRequest_ != 0) {
    form_->ExitRequested();
    return 0;
  }
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (WindowedPeer* peer = PeerByHwnd(item.hwndItem)) peer->DrawItem(item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      // The check box sits on the window's own colour.
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetBkColor(dc, context_.colors.Fill(form_->Root().color()));
      if (WindowedPeer* peer = PeerByHwnd(reinterpret_cast<HWND>(lParam))) peer->ColorText(dc);
      return reinterpret_cast<LRESULT>(windowBrush_.get());
    }
    case WM_COMMAND:
      if (lParam)
        if (WindowedPeer* peer = PeerByHwnd(reinterpret_cast<HWND>(lParam))) peer->Command(HIWORD(wParam));
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
      OnTimer(wParam);
      return 0;
    case kTrayCallbackMessage:
      OnTrayMessage(wParam, lParam);
      return 0;
    case kMakeWaitingWindowsMessage:
      MakeWaitingWindows();
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
    case WM_GETOBJECT: {
      LRESULT answer = 0;
      if (accessibility_ && accessibility_->Answer(wParam, lParam, answer)) return answer;
      break;
    }
    case kAccessibleActionMessage:
      if (const ui::Control* control = std::exchange(accessibleActionPending_, nullptr))
        form_->AccessibleDefaultAction(*control);
      return 0;
    case kFocusLostMessage:
      PlaceLostFocus();
      return 0;
    case WM_SETFOCUS:
      OnFocusChanged();
      return 0;
    case WM_KILLFOCUS:
      // To a control's window: the painted stops have lost it. To another program: they keep it.
      if (OwnWindow(reinterpret_cast<HWND>(wParam))) form_->FocusMoved(FocusStop::None);
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      // High contrast switched on or off, or the system's colours changed: followed at once.
      FollowSystemColors();
      break;
    case WM_UPDATEUISTATE:
      ::DefWindowProcW(hwnd_, msg, wParam, lParam);
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SHOWWINDOW:
      // An add held back for the start goes as soon as the window has painted (timers come
      // after paints); one the taskbar refused is tried again every while.
      if (wParam && tray_ && tray_->AddPending())
        ::SetTimer(hwnd_, kTrayRetryTimerId, tray_->AddsHeld() ? USER_TIMER_MINIMUM : kTrayRetryMs,
                   nullptr);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace kv::win32

// Keyvane's main window on screen: gives each of the form's controls its peer, routes the
// Windows messages to the peers and the window's own events to the program, paints the
// painted controls, runs the tray icon's clicks and menu, and follows the DPI.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/platform.h"
#include "platform/win32/window/control_peer.h"
#include "platform/win32/handles.h"
#include "platform/win32/window/accessible.h"
#include "platform/win32/window/page_slide.h"
#include "platform/win32/window/tooltips.h"
#include "ui/control.h"

namespace kv {
class WindowEvents;
}

namespace kv::win32 {

class Win32TrayIcon;

inline constexpr const wchar_t* kMainWindowClass = L"TKeyvaneMainWindow";
// The registered message with which another program (the setup program) asks the running
// Keyvane to end as the tray's Exit ends it; found by the window class above.
inline constexpr const wchar_t* kExitRequestMessage = L"Keyvane.ExitRequest";
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
// Posted by Show: the controls not shown yet get their windows once the window is up.
inline constexpr UINT kMakeWaitingWindowsMessage = WM_APP + 2;
// Posted when a screen reader asks for a key's or a tab's default action: run after its call.
inline constexpr UINT kAccessibleActionMessage = WM_APP + 3;
// Posted when a control with the focus was disabled or hidden: the focus finds a new place once
// the change is complete.
inline constexpr UINT kFocusLostMessage = WM_APP + 4;

// Also the application object around the window: minimizing sends it to the tray.
class MainWindow final : public MainWindowHost, public ui::Peer, public platform::Application {
 public:
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow() override;

  HWND hwnd() const { return hwnd_; }
  void SetTray(Win32TrayIcon* tray) { tray_ = tray; }

  // MainWindowHost
  void Create(WindowEvents& program) override;
  void Show() override;
  int RunMessageLoop() override;
  // What the message loop does with one message before dispatching it: true when handled.
  bool PreTranslate(MSG& msg);
  HWND tooltipWindow() const { return tooltips_.hwnd(); }
  void Destroy() override;

  // ui::Peer of the form itself (its controls have their own peers)
  void StateChanged(ui::Control& control) override;

  // platform::Application
  void SetTitle(const std::string& title) override { title_ = title; }
  std::string Title() const override { return title_; }
  void Minimize() override;
  void Restore() override;
  bool Minimized() const override { return inTray_; }
  void SetOnMinimize(std::function<void()> handler) override { onMinimize_ = std::move(handler); }
  void Terminate() override;
  void ProcessMessages() override;
  void CloseMainWindow() override;

  void ShowTrayMenuAt(int x, int y) override;
  std::pair<int, int> ScreenSize() override;
  void PostClickToMainWindow() override;
  void PrepareTransition(int x, int y, int width, int height) override;
  void CaptureTransitionMiddle() override;
  void PlayTransition(int durationMs) override;
  void ReleaseTransition() override;
  bool AnimationsShown() override;
  int DoubleClickTimeMs() override { return static_cast<int>(::GetDoubleClickTime()); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

  void CreateChildWindows();
  void MakeWaitingWindows();
  static std::vector<WindowedPeer*> TabSequence(const std::vector<WindowedPeer*>& windowed);
  void PlaceInTabOrder(WindowedPeer& made);
  void UpdateTooltips();
  // Enter on a focused push button presses it, as Space does.
  bool PressFocusedButton(const MSG& msg);
  void SyncAll();
  WindowedPeer* PeerByHwnd(HWND hwnd) const;
  void OnPaint();
  // The painted controls, then the windows of the controls shown, into `dc` as on screen.
  void RenderClient(HDC dc);
  PaintedPeer* HitTest(LPARAM lParam) const;
  void OnMouseUp(ui::MouseButton button, LPARAM lParam);
  void OnDoubleClick(LPARAM lParam);
  bool OnSetCursor();
  void OnTimer(UINT_PTR id);
  void OnTrayMessage(WPARAM wParam, LPARAM lParam);
  void ApplyDpi(int dpi, const RECT* suggested);
  void FollowSystemColors();

  // The keyboard (keyboard_focus.cpp).
  bool OwnWindow(HWND w) const;
  void FocusStopOf(FocusStop stop);
  void OnFocusChanged();
  void ShowKeyboardCues();
  bool PreTranslateKey(const MSG& msg);
  bool MoveTabStop(bool back);
  void KeepFocusOnAShownStop();
  void OnActivate(WPARAM wParam);
  void PlaceLostFocus();
  HWND focusLostFrom_ = nullptr;
  void PaintFocus(HDC dc);
  // Tells screen readers where the focus is now (accessible.cpp).
  void NotifyFocus();

  HWND hwnd_ = nullptr;
  WindowEvents* form_ = nullptr;
  PeerContext context_;
  ControlPeers peers_;
  std::vector<WindowedPeer*> tabSequence_;  // the windowed peers in Tab order
  Win32TrayIcon* tray_ = nullptr;
  UINT taskbarCreated_ = 0;
  UINT exitRequest_ = 0;
  bool inTray_ = false;
  FocusStop paintedStop_ = FocusStop::Keys;  // where the focus is while the window itself has it
  HWND focusBeforeDeactivation_ = nullptr;
  PaintedPeer* pressed_ = nullptr;
  bool doubleClicked_ = false;
  HCURSOR hand_ = nullptr;
  std::string title_;
  std::function<void()> onMinimize_;
  UniqueBrush windowBrush_;
  std::unique_ptr<PageSlide> slide_;
  std::unique_ptr<WindowAccessibility> accessibility_;
  const ui::Control* accessibleActionPending_ = nullptr;
  Tooltips tooltips_;
};

}  // namespace kv::win32

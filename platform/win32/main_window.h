// Keyvane's main window on screen: hosts the form, paints its painted controls, gives its
// windowed controls real child windows, and turns Windows messages into the form's events.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/platform.h"
#include "platform/win32/dpi.h"
#include "platform/win32/font_cache.h"
#include "platform/win32/handles.h"
#include "ui/control.h"

namespace kv {
class WindowEvents;
}
namespace kv::ui {
class Timer;
}

namespace kv::win32 {

class Win32TrayIcon;

inline constexpr const wchar_t* kMainWindowClass = L"TKeyvaneMainWindow";
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

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
  void Destroy() override;

  // ui::Peer
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

 private:
  struct Child {
    ui::Control* control = nullptr;
    HWND hwnd = nullptr;
    std::vector<std::string> items;  // what the list box shows, for combo boxes
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR self);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

  void CreateChildren();
  void SyncChild(Child& child);
  void SyncAll();
  Child* ChildByHwnd(HWND hwnd);
  Child* ChildByControl(const ui::Control* control);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  ui::Control* HitTest(LPARAM lParam) const;
  void OnMouseUp(ui::MouseButton button, LPARAM lParam);
  void OnDoubleClick(LPARAM lParam);
  bool OnSetCursor();
  void OnTrayMessage(LPARAM lParam);
  void ShowTrayMenu();
  void ApplyDpi(int dpi, const RECT* suggested);
  void SyncTimer();

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  WindowEvents* form_ = nullptr;
  ui::Timer* timer_ = nullptr;
  std::vector<ui::Control*> painted_;
  std::vector<Child> children_;
  Scale scale_;
  FontCache fonts_;
  Win32TrayIcon* tray_ = nullptr;
  UINT taskbarCreated_ = 0;
  bool syncing_ = false;
  bool inTray_ = false;
  ui::Control* pressed_ = nullptr;
  bool doubleClicked_ = false;
  bool trayClickPending_ = false;
  HCURSOR hand_ = nullptr;
  std::string title_;
  std::function<void()> onMinimize_;
  UniqueBrush windowBrush_;
};

}  // namespace kv::win32

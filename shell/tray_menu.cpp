// The tray menu's own items and going to and from the tray.
#include <utility>

#include "app/form.h"

namespace kv {

namespace {
constexpr const char* kShowCaption = "Show Key Layout";
constexpr const char* kMinimizeCaption = "Minimize Key Layout";
}  // namespace

void TForm1::AppOnMinimize() { ShowMinimize1->SetCaption(kShowCaption); }

void TForm1::CoolTrayDblClick() {
  platform.app.Restore();
  ShowMinimize1->SetCaption(kMinimizeCaption);
}

void TForm1::TrayIconDoubleClicked() {
  ui::RunUserEvent([this] { CoolTrayDblClick(); });
}

// A double click arrives as down, up, double click, up: the first up waits to see whether a
// second click follows, and the last up belongs to the double click. A single click, Enter or
// Space on the icon, a right click, Shift+F10 or the menu key open the tray menu.
void TForm1::TrayIconMessage(const TrayMessage& message) {
  // The menu runs its own loop: what the icon reports meanwhile (the second NIN_KEYSELECT that
  // Enter sends) must not open it again.
  if (trayMenuOpen) return;
  switch (message.event) {
    case kTrayLeftDown:
      trayDoubleClickUp = false;
      break;
    case kTrayLeftUp:
      if (std::exchange(trayDoubleClickUp, false)) break;
      trayClickAt = {message.x, message.y};
      TrayClickTimer->SetInterval(platform.app.DoubleClickTimeMs());
      TrayClickTimer->SetRunning(true);
      break;
    case kTrayDoubleClick:
      TrayClickTimer->SetRunning(false);
      trayDoubleClickUp = true;
      TrayIconDoubleClicked();
      break;
    case kTrayRightUp:
      // Version 4 follows it with WM_CONTEXTMENU, which opens the menu.
      if (!message.version4) ShowTrayMenuAt(message.x, message.y);
      break;
    case kTrayContextMenu:
    case kTrayKeySelect:
      TrayClickTimer->SetRunning(false);
      ShowTrayMenuAt(message.x, message.y);
      break;
    default:
      break;
  }
}

void TForm1::TrayClickTimerFired() {
  TrayClickTimer->SetRunning(false);
  ShowTrayMenuAt(trayClickAt.first, trayClickAt.second);
}

void TForm1::ShowTrayMenuAt(int x, int y) {
  trayMenuOpen = true;
  struct Closed {
    bool& open;
    ~Closed() { open = false; }
  } closed{trayMenuOpen};
  platform.app.ShowTrayMenuAt(x, y);
}

void TForm1::ShowMinimizeItemClick() {
  if (ShowMinimize1->caption() != kShowCaption) {
    platform.app.Minimize();
    ShowMinimize1->SetCaption(kShowCaption);
  } else {
    platform.app.Restore();
    ShowMinimize1->SetCaption(kMinimizeCaption);
  }
}

void TForm1::Exit1Click() {
  closeToTray = false;
  platform.app.CloseMainWindow();
}

void TForm1::ExitRequested() {
  ui::RunUserEvent([this] { Exit1Click(); });
}

}  // namespace kv

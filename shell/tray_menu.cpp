// The tray menu's own items and going to and from the tray.
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

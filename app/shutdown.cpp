// The end of the program: closing into the tray, the orderly end and the end of the
// Windows session.
#include <exception>

#include "app/form.h"

namespace kv {

bool TForm1::FormClose() {
  if (!closeToTray) return true;
  platform.app.Minimize();
  ShowMinimize1->SetCaption("Show Key Layout");
  return false;
}

void TForm1::FormDestroy() {
  // After the session end the settings are already saved and nothing has changed since;
  // writing again could only race the system's shutdown.
  if (!sessionClosed) {
    try {
      WriteIni();
    } catch (const std::exception& e) {
      // The keys and atoms must be released even when the settings cannot be saved.
      ShowUnhandledError(e);
    }
  }
  for (uint32_t id : hotKeyIds) platform.hotKeys.Unregister(id);
  for (uint32_t id : hotKeyIds) platform.system.DeleteAtom(static_cast<uint16_t>(id & 0xFFFF));
  platform.tray.SetVisible(false);
}

void TForm1::OnEndSession(bool ending) {
  // The session goes on when another program refused to let it end: so does Keyvane.
  if (!ending) return;
  // Windows may end the process as soon as this handler returns, so the settings are saved
  // and the keys released now, not in FormDestroy.
  if (!sessionClosed) {
    try {
      WriteIni();
    } catch (const std::exception&) {
      // No one is left to tell: a message box would only hold up the end of the session.
    }
    for (uint32_t id : hotKeyIds) platform.hotKeys.Unregister(id);
    sessionClosed = true;
  }
  platform.app.Terminate();
}

bool TForm1::CloseRequested() {
  bool close = false;
  ui::RunUserEvent([&] { close = FormClose(); });
  return close;
}

void TForm1::SessionEnded(bool ending) { OnEndSession(ending); }

}  // namespace kv

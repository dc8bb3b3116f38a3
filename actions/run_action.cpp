// The dispatcher: what a key's action code does.
#include "actions/catalogue.h"
#include "app/form.h"

namespace kv {

void TForm1::RunAction(int code, const std::string& data) {
  (void)data;
  switch (code) {
    case action::kDisableEnableKeys:
      StartMonitor(!KeysOn(), true);
      break;
    default:
      // The launching, power, keystroke, theme and menu actions are filled in by the action
      // engine's subsystems.
      break;
  }
}

}  // namespace kv

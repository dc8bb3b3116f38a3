// The "Run at Startup" check box.
#include "app/form.h"
#include "app/settings_file.h"

namespace kv {

void TForm1::CheckBox1Click() {
  IniFile settings = OpenSettings(platform);
  settings.doc().WriteBool("Setting", "RunAtStartup", CheckBox1->checked());
  // Filled by the run-at-startup shortcut: creating, repairing and deleting Keyvane.lnk.
  settings.Flush();
}

}  // namespace kv

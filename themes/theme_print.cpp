// "Print Theme": the titles of a theme's keys on a printer of the user's choice.
#include "app/form.h"
#include "app/settings_file.h"
#include "themes/theme_printout.h"

namespace kv {

void TForm1::Button6Click() {
  if (ComboBox3->itemIndex() < 0) {
    platform.dialogs.ShowMessage("No Theme is selected.  Please select a Theme and try again.", platform.app.Title(),
                                 platform::mb::kOk);
    return;
  }
  const std::string name = ComboBox3->text();
  const IniFile theme = OpenIniFile(platform, ThemeFile(name));
  PrintStrings(ThemePrintout(theme.doc(), name), std::string(kProductName) + " - " + name + " Theme");
}

void TForm1::PrintStrings(const std::vector<std::string>& lines, const std::string& jobName) {
  if (platform.printing.PrintLines(jobName, lines) == platform::PrintOutcome::Failed)
    platform.dialogs.ShowMessage("Error Printing text.", kProductName, platform::mb::kOk);
}

}  // namespace kv

// "Print Theme": the titles of a theme's keys on a printer of the user's choice.
#include "app/form.h"
#include "app/settings_file.h"
#include "core/key_record.h"
#include "themes/theme_printout.h"

namespace kv {

std::vector<std::string> ThemePrintout(const IniDocument& theme, const std::string& name) {
  const std::string rule(31, '=');
  std::vector<std::string> lines{rule,
                                 "K e y v a n e",
                                 rule,
                                 "Keyvane - a free utility by its developers",
                                 "Web site: see Help in Keyvane's main window",
                                 "Copyright (c) the Keyvane developers",
                                 rule,
                                 "",
                                 "Theme - " + name,
                                 "--------"};
  for (int keyIndex : kSectionOrder) {
    const std::string section(KeyAt(keyIndex).section);
    lines.push_back(section + " = " + KeyRecord::Read(theme, section).LabelOr(""));
  }
  return lines;
}

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

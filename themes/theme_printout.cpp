#include "themes/theme_printout.h"

#include "core/key_record.h"
#include "core/key_table.h"

namespace kv {

std::vector<std::string> ThemePrintout(const IniDocument& theme, const std::string& name) {
  const std::string rule(31, '=');
  std::vector<std::string> lines{rule,
                                 "K e y v a n e",
                                 rule,
                                 "Keyvane - a free utility by its developers",
                                 "Web site: www.keyvane.org",
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

}  // namespace kv

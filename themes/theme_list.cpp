// The theme drop-down: one entry per theme file beside the executable.
#include "app/form.h"
#include "app/settings_file.h"
#include "core/text_util.h"

namespace kv {

void TForm1::LoadThemesList() {
  const int selected = ComboBox3->itemIndex();
  const std::string exe = platform.system.ModuleFileName();
  const std::string folder = exe.substr(0, exe.size() - FileNamePart(exe).size());
  std::vector<std::string> names;
  for (const std::string& file : platform.files.List(folder, "*.kth"))
    names.push_back(ExtractFileNameWOExt(file));
  ComboBox3->SetItems(std::move(names));
  ComboBox3->SetItemIndex(selected);
}

void TForm1::Check4CurrentTheme() {
  // Filled by theme matching: naming the theme file that the key records match.
}

}  // namespace kv

// Which theme the current keys are, and deleting a theme.
#include "app/form.h"
#include "app/settings_file.h"
#include "themes/theme_names.h"
#include "themes/theme_records.h"

namespace kv {

void TForm1::Check4CurrentTheme() {
  IniFile settings = OpenSettings(platform);
  std::string matched;
  if (ComboBox3->itemIndex() >= 0) matched = MatchupTheme(settings.doc(), ComboBox3->text());
  // MatchupTheme may change the selection, never the entries.
  const std::vector<std::string> names = ComboBox3->items();
  for (size_t i = 0; i < names.size() && matched.empty(); ++i) matched = MatchupTheme(settings.doc(), names[i]);
  // Keys that match no theme are no theme, whatever entry the list shows (at a start, the one
  // remembered from the last run): the next load offers to save them first.
  currentThemeIndex = matched.empty() ? -1 : ComboBox3->itemIndex();
}

std::string TForm1::MatchupTheme(const IniDocument& settings, const std::string& name) {
  const IniFile theme = OpenIniFile(platform, ThemeFile(name));
  const bool f12KeptByWindows = keys[kF12Index].title->font().color == kKeySystemText;
  if (!KeysMatchTheme(settings, theme.doc(), f12KeptByWindows)) return {};
  ShowThemeLoaded(name);
  if (const int listed = FindTheme(name); listed >= 0) ComboBox3->SetItemIndex(listed);
  return name;
}

void TForm1::suiButton1Click() {
  if (ComboBox3->itemIndex() < 0) return;
  const int selected = ComboBox3->itemIndex();
  const std::string name = ComboBox3->text();
  const std::string file = ThemeFile(name);
  if (!platform.files.Exists(file)) {
    RemoveListedTheme(selected);
    ComboBox3->SetItemIndex(0);
    SetupButtons();
    return;
  }
  if (IsFixedThemeName(name, platform.files)) {
    platform.dialogs.ShowMessage(name + " is a fixed theme name that may not be deleted.", platform.app.Title(),
                                 platform::mb::kOk);
    return;
  }
  const int answer = platform.dialogs.ShowMessage(
      "The " + name + " theme will be deleted.  Are you sure you want to delete the " + name + " theme?",
      "Delete " + name + " Theme?", platform::mb::kYesNo | platform::mb::kIconWarning);
  if (answer != platform::mb::kIdYes) return;
  if (platform.files.Delete(file)) RemoveListedTheme(selected);
  ComboBox3->SetItemIndex(0);
  SetupButtons();
}

// An entry leaves the list. When it was the theme the keys are known to match, the keys are no
// theme any more: shown so, and offered for saving before the next theme replaces them. A
// current theme further down keeps its place in the count.
void TForm1::RemoveListedTheme(int index) {
  ComboBox3->RemoveItem(index);
  if (index == currentThemeIndex) {
    currentThemeIndex = -1;
    ThemeLine->SetCaption("");
    SetCaptionWithTitle(std::string(kProductName) + " - No Theme Loaded");
  } else if (index < currentThemeIndex) {
    --currentThemeIndex;
  }
}

}  // namespace kv

// Theme files: the theme list, saving the current keys as a theme, loading a theme into the
// settings, and the controls that do so (the theme drop-down, "Create Theme from Current
// Settings", "Quick Start >>" and a key's "Load Next Theme").
#include <exception>

#include "app/form.h"
#include "app/settings_file.h"
#include "themes/theme_names.h"
#include "themes/theme_records.h"

namespace kv {

namespace {

constexpr const char* kSaveQuestion =
    "You are about to load a Theme.  Do you want to save the current keys and their setup?";
constexpr const char* kSaveQuestionCaption = "Save Current Key Setup?";

}  // namespace

int TForm1::FindTheme(const std::string& name) const {
  for (int i = 0; i < ComboBox3->count(); ++i)
    if (platform.files.SameFileName(ComboBox3->items()[static_cast<size_t>(i)], name)) return i;
  return -1;
}

std::string TForm1::ThemeFile(const std::string& name) {
  return BesideExecutable(platform, name + std::string(kThemeExtension));
}

void TForm1::LoadThemesList() {
  const int selected = ComboBox3->itemIndex();
  std::vector<std::string> names;
  for (const std::string& file : platform.files.List(BesideExecutable(platform, ""), "*.kth"))
    if (std::optional<std::string> name = ThemeNameOfFile(file)) names.push_back(std::move(*name));
  ComboBox3->SetItems(std::move(names));
  ComboBox3->SetItemIndex(selected);
}

bool TForm1::CreateTheme() {
  int n = 1;
  while (platform.files.Exists(ThemeFile("NewTheme" + std::to_string(n)))) ++n;
  const std::optional<std::string> typed =
      platform.dialogs.InputBox("Save Keys", "Enter name for New Theme", "NewTheme" + std::to_string(n));
  if (!typed || typed->empty()) return false;
  std::string name = *typed;
  // A name that is no plain file name beside the executable would write elsewhere, or not
  // at all: it is refused before anything changes.
  if (const std::optional<std::string> problem =
          ThemeNameProblem(name, BesideExecutable(platform, "").size())) {
    platform.dialogs.ShowMessage(*problem, platform.app.Title(), platform::mb::kOk);
    return false;
  }

  const int listed = FindTheme(name);
  if (listed < 0) {
    ComboBox3->AddItem(name);
    ComboBox3->SetItemIndex(ComboBox3->count() - 1);
  } else if (IsFixedThemeName(name, platform.files)) {
    platform.dialogs.ShowMessage(
        name + " is a fixed theme name that may not be changed.  Please use a different name.",
        platform.app.Title(), platform::mb::kOk);
    return false;
  } else {
    const int answer = platform.dialogs.ShowMessage(
        name + " already exists as a title of a theme.  Do you want to replace that theme with the "
               "current key arrangement?",
        "Theme Already Exists", platform::mb::kYesNo | platform::mb::kIconWarning);
    if (answer != platform::mb::kIdYes) return false;
    ComboBox3->SetItemIndex(listed);
    // The listed theme's own file, in the letter case it is listed with.
    name = ComboBox3->text();
  }

  // The list and the match are brought up to date with what is on disk also when the theme
  // could not be written (a new entry whose file never came then disappears again).
  std::exception_ptr failure;
  try {
    IniFile settings = OpenSettings(platform);
    IniFile theme = OpenIniFile(platform, ThemeFile(name));
    CopyKeyRecords(settings.doc(), theme.doc());
    theme.Flush();
  } catch (...) {
    failure = std::current_exception();
  }
  LoadThemesList();
  Check4CurrentTheme();
  if (failure) std::rethrow_exception(failure);
  return true;
}

void TForm1::ShowThemeLoaded(const std::string& name) {
  platform.tray.SetImageIndex(1);
  platform.tray.ShowBalloon(name, "Theme Loaded", 10);
  ThemeLine->SetCaption(name + " Theme");
  SetCaptionWithTitle(std::string(kProductName) + " - " + name + " Theme");
}

void TForm1::LoadTheme(const std::string& name) {
  // The theme is read before the settings change: a theme file that cannot be read leaves
  // the keys as they were.
  IniFile theme = OpenIniFile(platform, ThemeFile(name));
  IniFile settings = OpenSettings(platform);
  CopyKeyRecords(theme.doc(), settings.doc());
  // Written before the theme is announced, so that a settings file that cannot be written
  // is reported as the error it is and not as a loaded theme.
  settings.Flush();
  ShowThemeLoaded(name);
  SetupButtons();
  StartMonitor(KeysOn(), false);
  // The editor shows what its key holds now, not the record the theme replaced, which an Apply
  // would otherwise put back.
  if (!currentKey.empty()) {
    ShowStoredRecord(settings.doc());
    BitBtn1->SetEnabled(false);
  }
}

// A listed theme whose file has gone meanwhile (deleted, renamed or moved in Explorer) is not
// loaded as an empty theme: the keys stay, the user is told, and the entry leaves the list.
bool TForm1::ThemeFileFound(int index) {
  const std::string name = ComboBox3->items()[static_cast<size_t>(index)];
  if (platform.files.Exists(ThemeFile(name))) return true;
  platform.dialogs.ShowMessage("The file of the " + name + " theme (" + name + std::string(kThemeExtension) +
                                   ") cannot be found beside Keyvane.  The keys stay as they are, and " +
                                   name + " has been taken off the list of themes.",
                               platform.app.Title(), platform::mb::kOk | platform::mb::kIconWarning);
  RemoveListedTheme(index);
  // The list goes back to the theme the keys are, so that its change keeps that theme current.
  ComboBox3->SetItemIndex(currentThemeIndex);
  return false;
}

// Keys that are no theme may be saved as one before a theme replaces them. The user who said
// Yes and then saved nothing (cancelled the name, or was refused it), or whose question ended
// without an answer (Exit chosen in the tray menu meanwhile), keeps the keys: no theme replaces
// them then.
TForm1::SaveOffer TForm1::OfferToSaveCurrentKeys() {
  if (currentThemeIndex != -1) return SaveOffer::NotNeeded;
  const int answer = platform.dialogs.ShowMessage(kSaveQuestion, kSaveQuestionCaption,
                                                  platform::mb::kYesNo | platform::mb::kIconQuestion);
  if (answer == platform::mb::kIdNo) return SaveOffer::Declined;
  if (answer == platform::mb::kIdYes && CreateTheme()) return SaveOffer::Saved;
  return SaveOffer::Abandoned;
}

void TForm1::ComboBox3Click() {
  // The entry the user picked is loaded, also after the current keys have been saved first:
  // saving selects the new theme, but the user asked for the picked one.
  if (ComboBox3->itemIndex() < 0 || !ThemeFileFound(ComboBox3->itemIndex())) return;
  const std::string picked = ComboBox3->text();
  switch (OfferToSaveCurrentKeys()) {
    case SaveOffer::Saved: ComboBox3->SetItemIndex(FindTheme(picked)); break;
    case SaveOffer::Abandoned:
      // The keys stay, still no theme: so shows the list, and so the change that follows notes.
      ComboBox3->SetItemIndex(-1);
      return;
    case SaveOffer::NotNeeded: case SaveOffer::Declined: break;
  }
  if (ComboBox3->itemIndex() >= 0) LoadTheme(ComboBox3->text());
}

void TForm1::ComboBox3Change() { currentThemeIndex = ComboBox3->itemIndex(); }

void TForm1::Button8Click() {
  // The keys are drawn afresh however the creation ended.
  try {
    CreateTheme();
  } catch (...) {
    SetupButtons();
    throw;
  }
  SetupButtons();
}

void TForm1::QuickStartButtonClick() {
  const std::string name(kQuickStartTheme);
  if (!platform.files.Exists(ThemeFile(name))) {
    platform.dialogs.ShowMessage("Keyvane is missing some files.  Please reinstall.", platform.app.Title(),
                                 platform::mb::kOk);
    return;
  }
  if (OfferToSaveCurrentKeys() == SaveOffer::Abandoned) return;
  ComboBox3->SetItemIndex(FindTheme(name));
  LoadTheme(name);
  // The keys are the Quick Start theme now: the next load need not offer to save them.
  currentThemeIndex = ComboBox3->itemIndex();
  TurnPage(PageId::Editor);
  platform.dialogs.ShowMessage(
      "The Quick Start Theme has been loaded into the keyboard.  You can modify this setup on the "
      "Create or Edit Key tab or you can change themes on the Themes tab.",
      platform.app.Title(), platform::mb::kOk);
}

void TForm1::LoadNextTheme() {
  if (OfferToSaveCurrentKeys() == SaveOffer::Abandoned) return;
  if (ComboBox3->count() == 0) return;
  const int selected = ComboBox3->itemIndex();
  const int next = selected >= 0 && selected < ComboBox3->count() - 1 ? selected + 1 : 0;
  if (!ThemeFileFound(next)) return;
  const std::string name = ComboBox3->items()[static_cast<size_t>(next)];
  LoadTheme(name);
  ComboBox3->SetItemIndex(next);
  currentThemeIndex = ComboBox3->itemIndex();
}

}  // namespace kv

// Storing the edited key: its record in the settings file, its hot key at once, and the
// redrawn layout.
#include "actions/catalogue.h"
#include "app/form.h"
#include "app/settings_file.h"
#include "core/key_record.h"
#include "editor/key_editor.h"

namespace kv {

void TForm1::EditApplyClick() {
  if (currentKey.empty()) return;
  IniFile settings = OpenSettings(platform);
  IniDocument& doc = settings.doc();
  const int code = SelectedActionCode();
  const std::string title = code == StoredCode(ActionCode::RemoveAction) ? std::string(kNotSetMarker) : Edit1->text();
  const bool set = title != kNotSetMarker;

  if (set) {
    KeyRecord record{Edit1->text(), code, std::nullopt};
    if (IsFieldAction(code)) record.file = Edit2->text();
    if (IsComboAction(code)) record.file = ComboText(code);
    record.Write(doc, currentKey);
  } else {
    KeyRecord::Erase(doc, currentKey);
  }

  // The file first: when it cannot be written the error names it, and the key keeps its old
  // title and hot key, so that what the user sees is what is stored; Apply stays enabled for
  // another try.
  settings.Flush();
  BitBtn1->SetEnabled(false);

  if (const std::optional<int> key = KeyIndexBySection(currentKey)) {
    KeyView& view = keys[static_cast<size_t>(*key)];
    view.title->SetCaption(title);
    if (set)
      RegisterKey(*key);
    else
      ReleaseKey(*key);
    view.title->SetVisible(set);
  }

  ComboBox3->SetItemIndex(-1);
  currentThemeIndex = -1;
  ThemeLine->SetCaption("");
  SetCaptionWithTitle(std::string(kProductName) + " - Changes made to the Theme");
  SetupButtons();
}

}  // namespace kv

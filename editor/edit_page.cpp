// The "Create or Edit Key" page: which fields show for which action, when Apply may be
// pressed, and the title that follows the action until the user types one.
#include "actions/catalogue.h"
#include "actions/key_combo.h"
#include "app/form.h"
#include "core/text_util.h"
#include "editor/key_editor.h"

namespace kv {

namespace {

bool TakesThreeKeys(int code) { return ArgumentOf(code) == ArgumentKind::ThreeKeyCombo; }

}  // namespace

int TForm1::SelectedActionCode() const { return ActionCodeAt(ComboBox1->itemIndex()); }

void TForm1::SetupEditItems() {
  const int code = SelectedActionCode();
  const ActionEntry* row = FindAction(code);
  const bool field = IsFieldAction(code);
  if (field) {
    Label26->SetCaption(std::string(row->fieldCaption));
    Label26->SetHint(std::string(row->fieldHint));
    Edit2->SetHint(std::string(row->fieldHint));
  }
  Label26->SetVisible(field);
  Edit2->SetVisible(field);
  Button2->SetVisible(row && row->browse);
  const bool combo = IsComboAction(code);
  Label35->SetVisible(combo);
  ComboBox5->SetVisible(combo);
  ComboBox6->SetVisible(combo);
  ComboBox4->SetVisible(TakesThreeKeys(code));
  for (ui::ComboBox* list : {ComboBox4, ComboBox5, ComboBox6}) list->SetTop(146);
  Label35->SetTop(148);
}

std::string TForm1::AutomaticTitle(int code) const {
  std::string title(GetDefaultTitle(code));
  if (IsFieldAction(code)) return FieldTitle(code, Edit2->text());
  const bool pair = ComboBox5->itemIndex() >= 0 && ComboBox6->itemIndex() >= 0;
  const ArgumentKind kind = ArgumentOf(code);
  if (kind == ArgumentKind::TwoKeyCombo && pair)
    return title + "  " + ComboBox5->text() + " " + ComboBox6->text();
  if (kind == ArgumentKind::ThreeKeyCombo && pair && ComboBox4->itemIndex() >= 0)
    return title + "  " + ComboBox4->text() + " " + ComboBox5->text() + " " + ComboBox6->text();
  return title;
}

bool TForm1::ArgumentComplete(int code) const {
  if (IsFieldAction(code)) return !Edit2->text().empty();
  const ArgumentKind kind = ArgumentOf(code);
  if (kind == ArgumentKind::TwoKeyCombo) return ComboBox5->itemIndex() >= 0 && ComboBox6->itemIndex() >= 0;
  if (kind == ArgumentKind::ThreeKeyCombo)
    return ComboBox4->itemIndex() >= 0 && ComboBox5->itemIndex() >= 0 && ComboBox6->itemIndex() >= 0;
  return true;
}

void TForm1::UpdateApplyButton() {
  const int code = SelectedActionCode();
  // Apply writes to the current key: without one there is nothing it could store.
  BitBtn1->SetEnabled(!currentKey.empty() && !IsNonAction(code) && ArgumentComplete(code));
}

void TForm1::ComboBox1Change() {
  titleTyped = false;
  SetupEditItems();
  Edit2->SetText("");
  for (ui::ComboBox* list : {ComboBox4, ComboBox5, ComboBox6}) list->SetItemIndex(-1);
  Edit1->SetText(std::string(GetDefaultTitle(SelectedActionCode())));
  UpdateApplyButton();
}

void TForm1::Edit1Change() { UpdateApplyButton(); }

void TForm1::Edit1KeyPress() { titleTyped = true; }

void TForm1::Edit2Change() {
  if (!titleTyped) {
    const int code = SelectedActionCode();
    Edit1->SetText(std::string(GetDefaultTitle(code)) + "  " +
                   ExtractFileNameWOExt(Edit2->text()));
  }
  UpdateApplyButton();
}

void TForm1::KeyComboChange() {
  const int code = SelectedActionCode();
  const bool pair = ComboBox5->itemIndex() >= 0 && ComboBox6->itemIndex() >= 0;
  const bool complete = TakesThreeKeys(code) ? pair && ComboBox4->itemIndex() >= 0 : pair;
  if (!titleTyped && complete && IsComboAction(code)) Edit1->SetText(AutomaticTitle(code));
  UpdateApplyButton();
}

std::string TForm1::ComboText(int code) const {
  if (TakesThreeKeys(code))
    return FormatKeyCombo({ComboBox4->itemIndex(), ComboBox5->itemIndex()}, 2, ComboBox6->text());
  return FormatKeyCombo({ComboBox5->itemIndex(), 0}, 1, ComboBox6->text());
}

void TForm1::Button1Click() {
  const int code = SelectedActionCode();
  if (IsComboAction(code)) {
    // A combination that is not fully chosen is not sent at all.
    if (!ArgumentComplete(code)) return;
    RunAction(code, ComboText(code));
    return;
  }
  RunAction(code, Edit2->text());
}

void TForm1::Button2Click() {
  if (const std::optional<std::string> file = platform.dialogs.ChooseFileToOpen()) Edit2->SetText(*file);
}

void TForm1::ComboBox2Change() {
  const int index = ComboBox2->itemIndex();
  if (index < 0) return;
  ClickKey(std::string(KeyAt(index).section));
}

}  // namespace kv

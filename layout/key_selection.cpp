// Selecting a key (which loads it into the editor) and running a key from the layout or the
// tray menu.
#include <exception>

#include "actions/catalogue.h"
#include "actions/key_combo.h"
#include "app/form.h"
#include "app/settings_file.h"
#include "core/key_record.h"
#include "core/error.h"
#include "core/text_util.h"
#include "editor/key_editor.h"

namespace kv {

namespace {

// The key whose control is `sender`, by the member that holds it.
template <typename Member>
std::optional<int> KeyOf(const std::array<KeyView, kKeyCount>& keys, const void* sender,
                         Member member) {
  for (int i = 0; i < kKeyCount; ++i)
    if (keys[static_cast<size_t>(i)].*member == sender) return i;
  return std::nullopt;
}

int FindComboKey(const ui::ComboBox& list, std::string name) {
  name = name.substr(0, 6);
  for (int i = 0; i < list.count(); ++i)
    if (EqualsIgnoringCase(list.items()[static_cast<size_t>(i)], name)) return i;
  return -1;
}

// A stored combination that cannot be read. The key is selected and shown all the same, its
// combination lists without a choice, so that the user can choose again or remove the action.
class UnreadableCombination : public KeyvaneError {
 public:
  using KeyvaneError::KeyvaneError;
};

// Sets the combination lists from a combination key's stored text; false, with the lists left
// without a choice, when its modifiers are no digits.
bool ShowStoredCombination(int code, const std::string& combo, ui::ComboBox& firstModifier,
                           ui::ComboBox& modifier, ui::ComboBox& comboKey) {
  const ArgumentKind kind = ArgumentOf(code);
  if (kind != ArgumentKind::TwoKeyCombo && kind != ArgumentKind::ThreeKeyCombo) return true;
  const int count = kind == ArgumentKind::ThreeKeyCombo ? 2 : 1;
  const std::optional<std::array<int, 2>> digits = ModifierDigits(combo, count);
  if (!digits) {
    for (ui::ComboBox* list : {&firstModifier, &modifier, &comboKey}) list->SetItemIndex(-1);
    return false;
  }
  if (count == 2) firstModifier.SetItemIndex((*digits)[0]);
  modifier.SetItemIndex((*digits)[static_cast<size_t>(count - 1)]);
  const size_t keyAt = static_cast<size_t>(count);
  comboKey.SetItemIndex(FindComboKey(comboKey, combo.size() > keyAt ? combo.substr(keyAt) : ""));
  return true;
}

// A click selects the key, then turns to the editor; a combination that cannot be read is
// reported once the editor shows the key.
template <typename Select>
void SelectThenTurn(TForm1& form, Select select) {
  std::exception_ptr unreadable;
  try {
    select();
  } catch (const UnreadableCombination&) {
    unreadable = std::current_exception();
  }
  form.TurnPage(PageId::Editor);
  if (unreadable) std::rethrow_exception(unreadable);
}

}  // namespace

void TForm1::ClickKey(const std::string& name) {
  // The key becomes the one the page works on only once its record can be read: a settings
  // file that cannot be read leaves the page, and what Apply writes to, as they were (before
  // the first selection: no key, and the title and action controls disabled).
  IniFile settings = OpenSettings(platform);
  if (!name.empty())
    for (ui::Control* c : std::initializer_list<ui::Control*>{Edit1, Label24, ComboBox1, Label25, Button1})
      c->SetEnabled(true);
  currentKey = name;
  struct Closing {
    TForm1& form;
    ~Closing() {
      form.Repaint();
      form.BitBtn1->SetEnabled(false);
    }
  } closing{*this};

  SetupButtons();
  if (const std::optional<int> key = KeyIndexBySection(name)) {
    KeyView& view = keys[static_cast<size_t>(*key)];
    Label23->SetCaption(std::string(kKeyGeometry[static_cast<size_t>(*key)].heading));
    view.title->SetFontColor(ui::kWhite);
    view.shape->SetBrush(view.title->caption() != kNotSetMarker ? kKeySelectedSetFill
                                                                 : kKeySelectedNotSetFill);
    ComboBox2->SetItemIndex(*key);
    // While the keyboard is on the layout, it stays on the key chosen, by the mouse too.
    if (focusStop == FocusStop::Keys) focusedKey = *key;
  }
  if (!ShowStoredRecord(settings.doc()))
    throw UnreadableCombination(InvalidComboMessage(KeyRecord::Read(settings.doc(), name).FileOr("000")));
}

bool TForm1::ShowStoredRecord(const IniDocument& settings) {
  // Filling the boxes must not rewrite the title: whether it counts as typed is decided last.
  titleTyped = true;
  const KeyRecord record = KeyRecord::Read(settings, currentKey);
  Edit1->SetText(record.LabelOr(""));
  ComboBox1->SetItemIndex(GetIndexofUI(record.action));
  const int code = ActionCodeAt(ComboBox1->itemIndex());
  if (IsFieldAction(code)) Edit2->SetText(record.FileOr(""));
  const bool readable = ShowStoredCombination(code, record.FileOr("000"), *ComboBox4, *ComboBox5, *ComboBox6);
  titleTyped = Edit1->text() != AutomaticTitle(code);
  SetupEditItems();
  return readable;
}

void TForm1::DblClickKey(const std::string& name) {
  const KeyRecord record = KeyRecord::Read(OpenSettings(platform).doc(), name);
  RunAction(record.action, record.FileOr(""));
  ClickKey(name);
}

void TForm1::KeyShapeMouseUp(ui::Shape& sender) {
  SelectThenTurn(*this, [&] {
    if (auto key = KeyOf(keys, &sender, &KeyView::shape)) ClickKey(std::string(KeyAt(*key).section));
  });
}

void TForm1::KeyLabelClick(ui::Label& sender) {
  SelectThenTurn(*this, [&] {
    if (auto key = KeyOf(keys, &sender, &KeyView::title)) ClickKey(std::string(KeyAt(*key).section));
  });
}

void TForm1::KeyLabelDblClick(ui::Label& sender) {
  SelectThenTurn(*this, [&] {
    if (auto key = KeyOf(keys, &sender, &KeyView::title)) DblClickKey(std::string(KeyAt(*key).section));
  });
}

void TForm1::KeyMenuClick(ui::MenuItem& sender) {
  const std::optional<int> key = KeyOf(keys, &sender, &KeyView::trayItem);
  if (!key || sender.caption().find("(not set)") != std::string::npos) return;
  OnHotKey(hotKeyIds[static_cast<size_t>(*key)]);
}

}  // namespace kv

// Selecting a key (which loads it into the editor) and running a key from the layout or the
// tray menu.
#include "actions/catalogue.h"
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

int DigitAt(const std::string& text, size_t pos) {
  if (pos >= text.size() || text[pos] < '0' || text[pos] > '9')
    throw KeyvaneError("'" + text + "' is not a valid key combination.");
  return text[pos] - '0';
}

int FindComboKey(const ui::ComboBox& list, std::string name) {
  name = name.substr(0, 6);
  for (int i = 0; i < list.count(); ++i)
    if (EqualsIgnoringCase(list.items()[static_cast<size_t>(i)], name)) return i;
  return -1;
}

}  // namespace

void TForm1::ClickKey(const std::string& name) {
  titleTyped = true;
  if (!name.empty())
    for (ui::Control* c : std::initializer_list<ui::Control*>{Edit1, Label24, ComboBox1, Label25, Button1})
      c->SetEnabled(true);
  // The key becomes the one the page works on only once its record can be read: a settings
  // file that cannot be read leaves the page, and what Apply writes to, on the earlier key.
  IniFile settings = OpenSettings(platform);
  currentKey = name;
  const IniDocument& doc = settings.doc();
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
  }

  const KeyRecord record = KeyRecord::Read(doc, name);
  Edit1->SetText(record.LabelOr(""));
  ComboBox1->SetItemIndex(GetIndexofUI(record.action));
  const int code = ActionCodeAt(ComboBox1->itemIndex());
  if (IsFieldAction(code)) Edit2->SetText(record.FileOr(""));

  const std::string combo = record.FileOr("000");
  if (ArgumentOf(code) == ArgumentKind::TwoKeyCombo) {
    ComboBox5->SetItemIndex(DigitAt(combo, 0));
    ComboBox6->SetItemIndex(FindComboKey(*ComboBox6, combo.size() > 1 ? combo.substr(1) : ""));
  } else if (ArgumentOf(code) == ArgumentKind::ThreeKeyCombo) {
    ComboBox4->SetItemIndex(DigitAt(combo, 0));
    ComboBox5->SetItemIndex(DigitAt(combo, 1));
    ComboBox6->SetItemIndex(FindComboKey(*ComboBox6, combo.size() > 2 ? combo.substr(2) : ""));
  }

  titleTyped = Edit1->text() != AutomaticTitle(code);
  SetupEditItems();
}

void TForm1::DblClickKey(const std::string& name) {
  const KeyRecord record = KeyRecord::Read(OpenSettings(platform).doc(), name);
  RunAction(record.action, record.FileOr(""));
  ClickKey(name);
}

void TForm1::KeyShapeMouseUp(ui::Shape& sender) {
  if (auto key = KeyOf(keys, &sender, &KeyView::shape)) ClickKey(std::string(KeyAt(*key).section));
  TurnPage(PageId::Editor);
}

void TForm1::KeyLabelClick(ui::Label& sender) {
  if (auto key = KeyOf(keys, &sender, &KeyView::title)) ClickKey(std::string(KeyAt(*key).section));
  TurnPage(PageId::Editor);
}

void TForm1::KeyLabelDblClick(ui::Label& sender) {
  if (auto key = KeyOf(keys, &sender, &KeyView::title))
    DblClickKey(std::string(KeyAt(*key).section));
  TurnPage(PageId::Editor);
}

void TForm1::KeyMenuClick(ui::MenuItem& sender) {
  const std::optional<int> key = KeyOf(keys, &sender, &KeyView::trayItem);
  if (!key || sender.caption().find("(not set)") != std::string::npos) return;
  OnHotKey(hotKeyIds[static_cast<size_t>(*key)]);
}

}  // namespace kv

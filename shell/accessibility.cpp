// What a screen reader reads of the window: the keys (which have no window of their own, so
// exist for it only through this list), the page tabs, the painted texts and the controls.
#include <algorithm>

#include "actions/catalogue.h"
#include "app/form.h"

namespace kv {

namespace {

// "Key - Print Screen key" -> "Print Screen".
std::string KeyName(std::string_view heading) {
  constexpr std::string_view prefix = "Key - ", suffix = " key";
  if (heading.starts_with(prefix)) heading.remove_prefix(prefix.size());
  if (heading.ends_with(suffix)) heading.remove_suffix(suffix.size());
  return std::string(heading);
}

// The action as the editor's list names it, without the " \/" that marks an action taking a
// file or address ("Run File \/"), which a reader would spell out.
std::string ActionCaption(int code) {
  const ActionEntry* action = FindAction(code);
  if (!action || action->nonAction) return {};
  std::string_view caption = action->caption;
  if (caption.ends_with(" \\/")) caption.remove_suffix(3);
  return std::string(caption);
}

bool IsWindowedControl(const ui::Control& c) {
  return dynamic_cast<const ui::Button*>(&c) || dynamic_cast<const ui::CheckBox*>(&c) ||
         dynamic_cast<const ui::Edit*>(&c) || dynamic_cast<const ui::ComboBox*>(&c);
}

}  // namespace

std::vector<ui::AccessibleItem> TForm1::AccessibleItems() const {
  std::vector<ui::AccessibleItem> items;
  for (int i = 0; i < kKeyCount; ++i) {
    const KeyView& view = keys[static_cast<size_t>(i)];
    ui::AccessibleItem key;
    key.role = ui::AccessibleRole::PushButton;
    key.control = view.shape;
    key.name = KeyName(kKeyGeometry[static_cast<size_t>(i)].heading);
    const bool shown = view.title->visible() && view.title->caption() != kNotSetMarker;
    // A free key reads as the tray menu shows it.
    key.value = shown ? view.title->caption() : "(not set)";
    key.description = ActionCaption(view.action);
    if (view.shape->marked())
      key.description += (key.description.empty() ? "" : ". ") + std::string(kKeyHeldElsewhereHint);
    key.focusable = key.selectable = true;
    key.focused = focusStop == FocusStop::Keys && focusedKey == i;
    key.selected = currentKey == KeyAt(i).section;
    key.unavailable = !view.shape->enabled();
    key.bounds = view.shape->WindowBounds();
    items.push_back(std::move(key));
  }
  for (PageId page : {PageId::Intro, PageId::Editor, PageId::Themes}) {
    const ui::Panel* tab = PageTab(page);
    ui::AccessibleItem item;
    item.role = ui::AccessibleRole::PageTab;
    item.control = tab;
    item.name = tab->caption();
    item.focusable = item.selectable = true;
    item.focused = focusStop == FocusStop::Tabs && focusedTab == page;
    item.selected = currentPage == page;
    item.bounds = tab->WindowBounds();
    items.push_back(std::move(item));
  }
  for (const auto& owned : controls()) {
    const ui::Control& c = *owned;
    if (!c.Showing()) continue;
    ui::AccessibleItem item;
    item.control = &c;
    item.ownWindow = IsWindowedControl(c);
    item.focusable = item.ownWindow;
    item.bounds = c.WindowBounds();
    item.unavailable = !c.enabled();
    if (const auto* button = dynamic_cast<const ui::Button*>(&c)) {
      item.role = ui::AccessibleRole::PushButton;
      item.name = button->caption();
    } else if (const auto* check = dynamic_cast<const ui::CheckBox*>(&c)) {
      item.role = ui::AccessibleRole::CheckBox;
      item.name = check->caption();
      item.checked = check->checked();
    } else if (const auto* edit = dynamic_cast<const ui::Edit*>(&c)) {
      item.role = ui::AccessibleRole::Text;
      item.name = c.AccessibleName();
      item.value = edit->text();
    } else if (const auto* list = dynamic_cast<const ui::ComboBox*>(&c)) {
      item.role = ui::AccessibleRole::ComboBox;
      item.name = c.AccessibleName();
      item.value = list->text();
    } else if (const auto* label = dynamic_cast<const ui::Label*>(&c)) {
      const bool partOfAKey = std::any_of(keys.begin(), keys.end(), [&](const KeyView& k) {
        return k.title == label || k.name == label;
      });
      if (partOfAKey || label->caption().empty()) continue;
      item.role = ui::AccessibleRole::StaticText;
      item.name = label->caption();
    } else {
      continue;
    }
    items.push_back(std::move(item));
  }
  return items;
}

void TForm1::AccessibleDefaultAction(const ui::Control& control) {
  // As the mouse: a key selected and its page shown, a tab turned to.
  for (KeyView& view : keys)
    if (view.shape == &control) view.shape->UserMouseUp(ui::MouseButton::Left, 0, 0);
  for (PageId page : {PageId::Intro, PageId::Editor, PageId::Themes})
    if (PageTab(page) == &control) PageTab(page)->UserClick();
}

}  // namespace kv

// The keyboard alone: turning the pages, moving among the keys and the page tabs, and acting on
// the one the focus is on, as the mouse would.
#include <algorithm>

#include "app/form.h"
#include "layout/key_navigation.h"

namespace kv {

namespace {

constexpr PageId kPageRing[] = {PageId::Intro, PageId::Editor, PageId::Themes};

int PlaceInRing(PageId page) {
  for (int i = 0; i < 3; ++i)
    if (kPageRing[i] == page) return i;
  return 0;
}

}  // namespace

ui::Panel* TForm1::PageTab(PageId page) const {
  switch (page) {
    case PageId::Editor: return TabEditor;
    case PageId::Themes: return TabThemes;
    case PageId::Intro: break;
  }
  return TabIntro;
}

PageId TForm1::PageAfter(PageId page, int step) const {
  return kPageRing[((PlaceInRing(page) + step) % 3 + 3) % 3];
}

void TForm1::FocusMoved(FocusStop stop) {
  // Back on the stop it was on (the window back from the tray): on the same key or tab.
  if (stop == focusStop) return;
  focusStop = stop;
  if (stop == FocusStop::Keys) {
    // On the key the editor shows, or on F1 before any key is chosen.
    const std::optional<int> current = KeyIndexBySection(currentKey);
    focusedKey = current.value_or(0);
  } else if (stop == FocusStop::Tabs) {
    focusedTab = currentPage;
  }
}

const ui::Control* TForm1::FocusedPaintedControl() const {
  switch (focusStop) {
    case FocusStop::Keys: return keys[static_cast<size_t>(focusedKey)].shape;
    case FocusStop::Tabs: return PageTab(focusedTab);
    case FocusStop::None: break;
  }
  return nullptr;
}

bool TForm1::KeyPressed(ui::Key key, ui::KeyState state) {
  // The next and the previous page from wherever the focus is, as a click on its tab.
  const bool pageKey = key == ui::Key::Tab || key == ui::Key::PageDown || key == ui::Key::PageUp;
  if (state.ctrl && pageKey) {
    const bool back = key == ui::Key::PageUp || (key == ui::Key::Tab && state.shift);
    const PageId target = PageAfter(currentPage, back ? -1 : 1);
    PageTab(target)->UserClick();
    if (focusStop == FocusStop::Tabs) focusedTab = currentPage;
    return true;
  }
  if (focusStop == FocusStop::Keys) return KeyLayoutKey(key, state);
  if (focusStop == FocusStop::Tabs) return TabStripKey(key);
  return false;
}

bool TForm1::KeyLayoutKey(ui::Key key, ui::KeyState state) {
  std::optional<int> next;
  switch (key) {
    case ui::Key::Left: next = KeyInDirection(focusedKey, KeyDirection::Left); break;
    case ui::Key::Right: next = KeyInDirection(focusedKey, KeyDirection::Right); break;
    case ui::Key::Up: next = KeyInDirection(focusedKey, KeyDirection::Up); break;
    case ui::Key::Down: next = KeyInDirection(focusedKey, KeyDirection::Down); break;
    case ui::Key::Home: next = 0; break;
    case ui::Key::End: next = kKeyCount - 1; break;
    case ui::Key::Enter:
    case ui::Key::Space: {
      KeyView& view = keys[static_cast<size_t>(focusedKey)];
      // Ctrl+Enter runs the key as a double click on its title does; Enter and Space select it
      // as a click does. A key Windows keeps (F12) reacts to neither, as to the mouse.
      if (state.ctrl && key == ui::Key::Enter) {
        if (view.title->visible()) view.title->UserDblClick();
      } else {
        view.shape->UserMouseUp(ui::MouseButton::Left, 0, 0);
      }
      return true;
    }
    default: return false;
  }
  if (next) focusedKey = *next;
  return true;  // an arrow at the layout's edge stays on its key
}

bool TForm1::TabStripKey(ui::Key key) {
  PageId target = focusedTab;
  switch (key) {
    case ui::Key::Left:
    case ui::Key::Up: target = kPageRing[std::max(0, PlaceInRing(focusedTab) - 1)]; break;
    case ui::Key::Right:
    case ui::Key::Down: target = kPageRing[std::min(2, PlaceInRing(focusedTab) + 1)]; break;
    case ui::Key::Home: target = kPageRing[0]; break;
    case ui::Key::End: target = kPageRing[2]; break;
    case ui::Key::Enter:
    case ui::Key::Space: break;
    default: return false;
  }
  // As in Windows' own tab controls, the tab the arrows reach is the page shown.
  focusedTab = target;
  if (target != currentPage || key == ui::Key::Enter || key == ui::Key::Space) PageTab(target)->UserClick();
  return true;
}

}  // namespace kv

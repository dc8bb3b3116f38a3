// Keyvane from the keyboard alone and for a screen reader, through the simulated Windows: the
// page ring, the moves among the keys and tabs, what Enter and Space do, the accessible items
// a reader gets, the page turn without animations, the tray icon's keyboard, and the colours
// that stand for the palette under high contrast.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form.h"
#include "layout/key_navigation.h"
#include "tests/native/form_fixture.h"
#include "ui/high_contrast.h"

namespace kv {
namespace {

using test::FormTest;
using test::KeySection;

class Keyboard : public FormTest {
 protected:
  bool Press(ui::Key key, bool ctrl = false, bool shift = false) { return form->KeyPressed(key, {ctrl, shift}); }
  std::string FocusedName() {
    for (const ui::AccessibleItem& item : form->AccessibleItems())
      if (item.focused) return item.name;
    return "(none)";
  }
  const ui::AccessibleItem& Item(const std::string& name) {
    items_ = form->AccessibleItems();
    for (const ui::AccessibleItem& item : items_)
      if (item.name == name) return item;
    ADD_FAILURE() << "no item " << name;
    return items_.front();
  }
  std::vector<ui::AccessibleItem> items_;
};

// A whole assignment with the keyboard alone: the layout takes the focus on F1, the arrows go
// to F5, Enter opens it in the editor as a click does, the page's controls are filled, Apply
// stores it; Ctrl+Tab turns the pages in a ring, as a click on the tabs does.
TEST_F(Keyboard, AKeyIsChosenOpenedAndRunWithoutTheMouse) {
  WriteSettings(KeySection("F6Key", "Mail", 13));
  Create();
  RouteErrorsToErrorBox();
  form->FocusMoved(FocusStop::Keys);
  EXPECT_EQ(FocusedName(), "F1");
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(Press(ui::Key::Right));
  EXPECT_EQ(FocusedName(), "F5");
  const auto mark = EffectsMark();
  Press(ui::Key::Enter);
  EXPECT_EQ(form->currentKey, "F5Key");
  EXPECT_EQ(form->currentPage, PageId::Editor);
  EXPECT_EQ(EffectsSince(mark).front(), "transition prepare 24,136 569x209") << "the slide plays";
  form->ComboBox1->UserSelect(15);  // Sleep
  form->BitBtn1->UserClick();
  EXPECT_EQ(SavedSettings().ReadString("F5Key", "Action", ""), "15");
  EXPECT_EQ(FocusedName(), "F5") << "the focus stays on the key through Apply";

  // Ctrl+Enter runs a set key as a double click on its title does, then shows it.
  Press(ui::Key::Right);
  Press(ui::Key::Enter, true);
  EXPECT_EQ(fp.shellExecutes.size() + fp.started.size() + fp.winExecs.size(), 1u) << "Check Email ran";
  EXPECT_EQ(form->currentKey, "F6Key");

  // The ring of pages, forward and back, from wherever the focus is; Help follows the page.
  form->FocusMoved(FocusStop::None);
  for (const auto& [ctrlKey, shift, page] :
       {std::tuple{ui::Key::Tab, false, PageId::Themes}, {ui::Key::Tab, false, PageId::Intro},
        {ui::Key::PageUp, false, PageId::Themes}, {ui::Key::Tab, true, PageId::Editor},
        {ui::Key::PageDown, false, PageId::Themes}}) {
    EXPECT_TRUE(Press(ctrlKey, true, shift));
    EXPECT_EQ(form->currentPage, page);
  }
  form->HelpButton->UserClick();
  EXPECT_EQ(fp.helpTopics.back().substr(fp.helpTopics.back().find("::/") + 3), "Topic7.htm");
  // Without Ctrl, and off the painted stops, the keys belong to the focused control.
  EXPECT_FALSE(Press(ui::Key::Right));
  EXPECT_FALSE(Press(ui::Key::Tab));
}

TEST_F(Keyboard, TheArrowsFollowTheKeysAsTheyLie) {
  auto at = [](std::string_view from, KeyDirection d) -> std::string {
    const std::optional<int> to = KeyInDirection(*KeyIndexBySection(from), d);
    return to ? std::string(KeyAt(*to).section) : "(stays)";
  };
  EXPECT_EQ(at("F1Key", KeyDirection::Right), "F2Key");
  EXPECT_EQ(at("F2Key", KeyDirection::Left), "F1Key");
  EXPECT_EQ(at("F1Key", KeyDirection::Left), "(stays)");
  EXPECT_EQ(at("F12Key", KeyDirection::Right), "(stays)");
  EXPECT_EQ(at("F10Key", KeyDirection::Down), "PSKey");
  EXPECT_EQ(at("F12Key", KeyDirection::Down), "PBKey");
  EXPECT_EQ(at("PSKey", KeyDirection::Up), "F10Key");
  EXPECT_EQ(at("PSKey", KeyDirection::Left), "(stays)") << "Left and Right keep to the row";
  EXPECT_EQ(at("HomeKey", KeyDirection::Down), "EndKey");
  EXPECT_EQ(at("PDKey", KeyDirection::Down), "(stays)");
  EXPECT_EQ(at("InsKey", KeyDirection::Right), "HomeKey");
  EXPECT_EQ(at("F1Key", KeyDirection::Down), "PSKey") << "the nearest key below, in the block";

  Create();
  form->FocusMoved(FocusStop::Keys);
  Press(ui::Key::End);
  EXPECT_EQ(FocusedName(), "Page Down");
  Press(ui::Key::Home);
  EXPECT_EQ(FocusedName(), "F1");
}

// The tab strip: Left and Right move between the tabs and turn the page, as Windows' own tab
// controls do, and stop at the ends. The focus arriving on the layout is on the current key.
TEST_F(Keyboard, TheTabsTurnThePagesAndTheLayoutTakesTheFocusOnTheCurrentKey) {
  Create();
  form->FocusMoved(FocusStop::Tabs);
  EXPECT_EQ(FocusedName(), "Keyvane");
  Press(ui::Key::Left);
  EXPECT_EQ(form->currentPage, PageId::Intro);
  Press(ui::Key::Right);
  EXPECT_EQ(form->currentPage, PageId::Editor);
  EXPECT_EQ(form->currentKey, "F1Key") << "the editor's first turn selects F1";
  Press(ui::Key::End);
  EXPECT_EQ(form->currentPage, PageId::Themes);
  EXPECT_EQ(FocusedName(), "Themes");
  Press(ui::Key::Right);
  EXPECT_EQ(FocusedName(), "Themes");
  EXPECT_FALSE(Press(ui::Key::PageUp)) << "a key the tabs do not use is left to Windows";
  Key("PUKey").shape->UserMouseUp(ui::MouseButton::Left, 1, 1);
  form->FocusMoved(FocusStop::Keys);
  EXPECT_EQ(FocusedName(), "Page Up");
  Press(ui::Key::Left);
  form->FocusMoved(FocusStop::Keys);  // back from the tray: where it was
  EXPECT_EQ(FocusedName(), "Home");
  Key("DelKey").shape->UserMouseUp(ui::MouseButton::Left, 1, 1);  // the mouse takes the focus along
  EXPECT_EQ(FocusedName(), "Delete");
}

// F12 where Windows keeps it answers neither Enter nor Space, as it answers no click.
TEST_F(Keyboard, AKeyWindowsKeepsIsUnavailableAndIgnoresEnter) {
  fp.version = test::NtVersion(5, 1);
  WriteSettings(KeySection("F11Key", "Mail", 13) + KeySection("F12Key", "Hearts", 23));
  Create();
  form->FocusMoved(FocusStop::Keys);
  Press(ui::Key::End);
  while (FocusedName() != "F12") Press(ui::Key::Up), Press(ui::Key::Right);
  const auto mark = EffectsMark();
  Press(ui::Key::Enter);
  Press(ui::Key::Space);
  EXPECT_TRUE(NoEffectsSince(mark));
  EXPECT_TRUE(Item("F12").unavailable);
  EXPECT_EQ(Item("F12").value, "Disabled  by  Windows");
  Press(ui::Key::Left);
  Press(ui::Key::Space);  // positive control: F11 answers
  EXPECT_EQ(form->currentKey, "F11Key");
}

// What a screen reader reads: each key by its name with its title and its action, a free key
// as the tray menu says it, the selected key and the shown page's tab selected, a key another
// program holds saying so; the painted texts once each; the boxes named by their labels.
TEST_F(Keyboard, AScreenReaderReadsTheKeysTabsTextsAndNamedBoxes) {
  WriteSettings(KeySection("F7Key", "Notes", 10, "C:\\notes.txt") + KeySection("PSKey", "Mail", 13));
  fp.refusedHotKeys.insert(0xC000 + 12);  // Print Screen's atom: another program holds it
  Create();
  Key("F7Key").shape->UserMouseUp(ui::MouseButton::Left, 1, 1);
  const ui::AccessibleItem& f7 = Item("F7");
  EXPECT_EQ(f7.role, ui::AccessibleRole::PushButton);
  EXPECT_EQ(f7.value, "Notes");
  EXPECT_EQ(f7.description, "Run File");
  EXPECT_TRUE(f7.selected);
  EXPECT_EQ(Item("F2").value, "(not set)");
  EXPECT_FALSE(Item("F2").selected);
  EXPECT_EQ(Item("Print Screen").description,
            "Open Email Program. Another program is using this key; pressing it reaches that program");
  EXPECT_TRUE(Item("Create or Edit Key").selected);
  EXPECT_FALSE(Item("Keyvane").selected);
  EXPECT_EQ(Item("Title").role, ui::AccessibleRole::Text);
  EXPECT_EQ(Item("Title").value, "Notes");
  EXPECT_TRUE(Item("Title").ownWindow);
  EXPECT_EQ(Item("Action").value, form->ComboBox1->text());
  EXPECT_EQ(Item("File").value, "C:\\notes.txt");
  form->ComboBox1->UserSelect(12);  // a web address: the box's label, and so its name, follows
  EXPECT_EQ(Item("Website").role, ui::AccessibleRole::Text);
  EXPECT_EQ(Item("Key").value, "F7");

  int keys = 0, titles = 0;
  for (const ui::AccessibleItem& item : form->AccessibleItems()) {
    keys += item.role == ui::AccessibleRole::PushButton && !item.ownWindow;
    titles += item.name == "Notes" || item.name == "F7";  // the painted title and key name are the key's
    EXPECT_TRUE(item.control->Showing()) << item.name;
  }
  EXPECT_EQ(keys, kKeyCount);
  EXPECT_EQ(titles, 1);
  EXPECT_EQ(Item("Create or Edit Key").role, ui::AccessibleRole::PageTab);
  EXPECT_EQ(Item("Key - F7 key").role, ui::AccessibleRole::StaticText) << "the page's painted texts are read";

  // A title changed by Apply is what the reader reads next.
  form->Edit2->UserType("www.example.com");
  form->Edit1->UserReplaceText("Search");
  form->BitBtn1->UserClick();
  EXPECT_EQ(Item("F7").value, "Search");
  EXPECT_EQ(Item("F7").description, "Open Internet Browser at") << "the list's caption, without its \\/";
}

TEST_F(Keyboard, WithoutAnimationsAPageTurnsAtOnce) {
  Create();
  fp.animations = false;
  const auto mark = EffectsMark();
  form->TabThemes->UserClick();
  EXPECT_TRUE(NoEffectsSince(mark)) << "no slide";
  EXPECT_EQ(form->currentPage, PageId::Themes);
  EXPECT_TRUE(form->themesPage.host->visible());
  fp.animations = true;  // read at each turn
  form->TabIntro->UserClick();
  EXPECT_EQ(EffectsSince(mark).size(), 4u);
}

// The tray icon: a single click waits out a double click; Enter or Space on the focused icon
// (NIN_KEYSELECT), Shift+F10 or the menu key (WM_CONTEXTMENU) open the menu at once where the
// icon is, once even when Enter reports itself twice; version 4 follows a right click with
// WM_CONTEXTMENU, so the button's release alone opens nothing then.
TEST_F(Keyboard, TheTrayIconAnswersTheKeyboardAndTheMouse) {
  Create();
  auto send = [&](uint32_t event, bool version4 = true) { form->TrayIconMessage({event, 900, 740, version4}); };
  form->ShowMinimize1->UserClick();  // the tray menu's item sends the window to the tray ...
  EXPECT_TRUE(fp.minimized);
  EXPECT_EQ(form->ShowMinimize1->caption(), "Show Key Layout");
  for (uint32_t e : {kTrayLeftDown, kTrayLeftUp, kTrayDoubleClick, kTrayLeftUp}) send(e);
  EXPECT_FALSE(fp.minimized) << "... and a double click on the icon brings it back";
  form->TrayClickTimer->Fire();
  EXPECT_TRUE(fp.trayMenusShown.empty()) << "the double click opens no menu";
  send(kTrayLeftDown);
  send(kTrayLeftUp);
  EXPECT_EQ(form->TrayClickTimer->interval(), 500) << "a click waits for the double-click time";
  EXPECT_TRUE(fp.trayMenusShown.empty());
  form->TrayClickTimer->Fire();
  EXPECT_EQ(fp.trayMenusShown.size(), 1u);

  fp.onTrayMenu = [&] { send(kTrayKeySelect); };  // Enter's second report arrives in the menu
  send(kTrayKeySelect);
  fp.onTrayMenu = nullptr;
  EXPECT_EQ(fp.trayMenusShown.size(), 2u);
  EXPECT_EQ(fp.trayMenusShown.back(), (std::pair{900, 740}));
  send(kTrayRightUp);
  EXPECT_EQ(fp.trayMenusShown.size(), 2u);
  send(kTrayContextMenu);
  EXPECT_EQ(fp.trayMenusShown.size(), 3u);
  send(kTrayRightUp, false);  // a shell before version 4
  EXPECT_EQ(fp.trayMenusShown.size(), 4u);
  EXPECT_EQ(form->ShowMinimize1->caption(), "Minimize Key Layout") << "the double click restored the window";
}

// Under high contrast every painted part takes the system colour of what it is: the window
// and pages the window colour, the selected key and the heading bands the highlight with its
// text, the shown page's tab the highlight, grey texts grey.
TEST_F(Keyboard, UnderHighContrastThePaletteGivesWayToTheSystemColours) {
  fp.version = test::NtVersion(5, 1);
  WriteSettings(KeySection("F3Key", "Mail", 13));
  Create();
  Key("F3Key").shape->UserMouseUp(ui::MouseButton::Left, 1, 1);
  using ui::SystemColor;
  EXPECT_EQ(ui::HighContrastFill(form->color()), SystemColor::Window);
  EXPECT_EQ(ui::HighContrastFill(form->editorPage.content->color()), SystemColor::Window);
  EXPECT_EQ(ui::HighContrastFill(form->editorPage.band->color()), SystemColor::Highlight);
  EXPECT_EQ(ui::HighContrastText(form->editorPage.heading->font().color), SystemColor::HighlightText);
  EXPECT_EQ(ui::HighContrastFill(Key("F3Key").shape->brush()), SystemColor::Highlight);
  EXPECT_EQ(ui::HighContrastText(Key("F3Key").title->font().color), SystemColor::HighlightText);
  EXPECT_EQ(ui::HighContrastFill(Key("F4Key").shape->brush()), SystemColor::Window);
  EXPECT_EQ(ui::HighContrastText(Key("F4Key").shape->pen()), SystemColor::WindowText);
  EXPECT_EQ(ui::HighContrastText(Key("F12Key").title->font().color), SystemColor::GrayText);
  EXPECT_EQ(ui::HighContrastText(form->TabEditor->font().color), SystemColor::Highlight);
  EXPECT_EQ(ui::HighContrastText(form->TabThemes->font().color), SystemColor::WindowText);
  EXPECT_EQ(ui::HighContrastText(Key("F3Key").name->font().color), SystemColor::WindowText);
  form->BitBtn1->SetEnabled(true);
  form->EditApplyClick();  // the highlight goes: a set key is a button's face
  EXPECT_EQ(ui::HighContrastFill(Key("F3Key").shape->brush()), SystemColor::ButtonFace);
}

}  // namespace
}  // namespace kv

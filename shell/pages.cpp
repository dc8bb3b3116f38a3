// The page area: which of the three pages is shown, and its tabs.
#include "app/form.h"

namespace kv {

void TForm1::TurnPage(PageId page) {
  for (ui::Panel* tab : {TabIntro, TabEditor, TabThemes}) tab->SetFontColor(kTabColor);
  if (page == PageId::Intro) TabIntro->SetFontColor(kActiveTabColor);
  if (page == PageId::Editor) {
    if (ComboBox2->itemIndex() < 0) ClickKey("F1Key");
    TabEditor->SetFontColor(kActiveTabColor);
  }
  if (page == PageId::Themes) TabThemes->SetFontColor(kActiveTabColor);
  introPage.host->SetVisible(page == PageId::Intro);
  editorPage.host->SetVisible(page == PageId::Editor);
  themesPage.host->SetVisible(page == PageId::Themes);
  currentPage = page;
}

void TForm1::TabClick(ui::Panel& sender) {
  if (&sender == TabIntro) TurnPage(PageId::Intro);
  else if (&sender == TabEditor) TurnPage(PageId::Editor);
  else if (&sender == TabThemes) TurnPage(PageId::Themes);
}

}  // namespace kv

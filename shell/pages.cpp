// The page area: which of the three pages is shown, and its tabs.
#include <exception>

#include "app/form.h"

namespace kv {

void TForm1::TurnPage(PageId page) {
  const bool turning = page != currentPage;
  // The slide serves messages while it plays, so another turn (a key or a tab clicked
  // meanwhile) can run inside this one; the latest turn decides what is shown.
  const unsigned turn = ++pageTurns;
  platform::Application& app = platform.app;
  // However the turn ends, the page asked for is the one shown and recorded, unless a later
  // turn has taken its place, and the pictures are gone.
  struct Closing {
    TForm1& form;
    PageId page;
    unsigned turn;
    bool prepared;
    ~Closing() {
      if (form.pageTurns == turn) form.ShowOnlyPage(page);
      if (prepared) form.platform.app.ReleaseTransition();
    }
  } closing{*this, page, turn, false};

  // Without animations in Windows the page turns at once; the setting is read at each turn.
  const bool slide = turning && app.AnimationsShown();
  if (slide) {
    const ui::Rect area = PageArea->bounds();
    app.PrepareTransition(area.left, area.top, area.width, area.height);
    closing.prepared = true;
  }
  for (ui::Panel* tab : {TabIntro, TabEditor, TabThemes}) tab->SetFontColor(kTabColor);
  if (page == PageId::Intro) TabIntro->SetFontColor(kActiveTabColor);
  // A key record that cannot be loaded is reported once the editor page is in place: the key
  // is selected all the same, and the page shows it.
  std::exception_ptr selectionFailed;
  if (page == PageId::Editor) {
    if (ComboBox2->itemIndex() < 0) {
      try {
        ClickKey("F1Key");
      } catch (...) {
        selectionFailed = std::current_exception();
      }
    }
    TabEditor->SetFontColor(kActiveTabColor);
  }
  if (page == PageId::Themes) TabThemes->SetFontColor(kActiveTabColor);
  for (ui::Panel* tab : {TabIntro, TabEditor, TabThemes}) tab->Repaint();

  if (slide) {
    for (PageId other : {PageId::Intro, PageId::Editor, PageId::Themes})
      if (other != page) PageHost(other)->SetVisible(false);
    app.CaptureTransitionMiddle();
    ShowOnlyPage(page);
    app.PlayTransition(kPageSlideMs);
  }
  if (selectionFailed) std::rethrow_exception(selectionFailed);
}

void TForm1::ShowOnlyPage(PageId page) {
  for (PageId each : {PageId::Intro, PageId::Editor, PageId::Themes})
    PageHost(each)->SetVisible(each == page);
  currentPage = page;
}

ui::Panel* TForm1::PageHost(PageId page) const {
  switch (page) {
    case PageId::Editor: return editorPage.host;
    case PageId::Themes: return themesPage.host;
    case PageId::Intro: break;
  }
  return introPage.host;
}

void TForm1::TabClick(ui::Panel& sender) {
  if (&sender == TabIntro) TurnPage(PageId::Intro);
  else if (&sender == TabEditor) TurnPage(PageId::Editor);
  else if (&sender == TabThemes) TurnPage(PageId::Themes);
}

}  // namespace kv

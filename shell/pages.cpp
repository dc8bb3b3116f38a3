// The page area: which of the three pages is shown, and its tabs.
#include "app/form.h"

namespace kv {

void TForm1::TurnPage(PageId page) {
  const bool turning = page != currentPage;
  platform::Application& app = platform.app;
  // However the turn ends, the page asked for is the current one and the pictures are gone.
  struct Closing {
    TForm1& form;
    PageId page;
    bool prepared;
    ~Closing() {
      form.currentPage = page;
      if (prepared) form.platform.app.ReleaseTransition();
    }
  } closing{*this, page, false};

  if (turning) {
    const ui::Rect area = PageArea->bounds();
    app.PrepareTransition(area.left, area.top, area.width, area.height);
    closing.prepared = true;
  }
  for (ui::Panel* tab : {TabIntro, TabEditor, TabThemes}) tab->SetFontColor(kTabColor);
  if (page == PageId::Intro) TabIntro->SetFontColor(kActiveTabColor);
  if (page == PageId::Editor) {
    if (ComboBox2->itemIndex() < 0) ClickKey("F1Key");
    TabEditor->SetFontColor(kActiveTabColor);
  }
  if (page == PageId::Themes) TabThemes->SetFontColor(kActiveTabColor);
  for (ui::Panel* tab : {TabIntro, TabEditor, TabThemes}) tab->Repaint();

  if (turning) {
    PageHost(currentPage)->SetVisible(false);
    app.CaptureTransitionMiddle();
    PageHost(page)->SetVisible(true);
    app.PlayTransition(kPageSlideMs);
  }
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

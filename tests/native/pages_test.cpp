// The page area: tabs and their colours, the slide between pages, and what a turn to the
// editor page selects.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/form.h"
#include "tests/native/form_fixture.h"

namespace kv {
namespace {

using test::FormTest;
using test::KeySection;

constexpr ui::Color kRed = 0xFF0000;
constexpr ui::Color kBlue = 0x0000DD;

class Pages : public FormTest {
 protected:
  std::vector<ui::Color> TabColours() const {
    return {form->TabIntro->font().color, form->TabEditor->font().color, form->TabThemes->font().color};
  }
  std::vector<bool> PagesShown() const {
    return {form->introPage.host->visible(), form->editorPage.host->visible(),
            form->themesPage.host->visible()};
  }
  std::vector<std::string> Slide() const {
    return {"transition prepare 24,136 569x209", "transition middle", "transition play 1000",
            "transition release"};
  }
};

TEST_F(Pages, EachTabSlidesItsPageInAndTurnsRed) {
  Create();
  EXPECT_EQ(TabColours(), (std::vector<ui::Color>{kRed, kBlue, kBlue}));
  EXPECT_EQ(PagesShown(), (std::vector<bool>{true, false, false}));

  struct Turn {
    ui::Panel* tab;
    PageId page;
    std::vector<ui::Color> colours;
    std::vector<bool> shown;
  };
  const Turn turns[] = {
      {form->TabThemes, PageId::Themes, {kBlue, kBlue, kRed}, {false, false, true}},
      {form->TabIntro, PageId::Intro, {kRed, kBlue, kBlue}, {true, false, false}},
      {form->TabEditor, PageId::Editor, {kBlue, kRed, kBlue}, {false, true, false}},
  };
  for (const Turn& t : turns) {
    const auto mark = EffectsMark();
    t.tab->UserClick();
    EXPECT_EQ(EffectsSince(mark), Slide());
    EXPECT_EQ(form->currentPage, t.page);
    EXPECT_EQ(TabColours(), t.colours);
    EXPECT_EQ(PagesShown(), t.shown);
  }

  // The page already shown: no slide, the tabs as they are.
  const auto mark = EffectsMark();
  form->TabEditor->UserClick();
  EXPECT_TRUE(NoEffectsSince(mark));
  EXPECT_EQ(TabColours(), (std::vector<ui::Color>{kBlue, kRed, kBlue}));
}

TEST_F(Pages, TheFirstTurnToTheEditorSelectsF1BeforeThePageArrives) {
  WriteSettings(KeySection("F1Key", "Sleep", 15));
  Create();
  bool selectedWhenPlayed = false;
  fp.onPlayTransition = [&] { selectedWhenPlayed = form->currentKey == "F1Key"; };
  form->TabEditor->UserClick();
  EXPECT_TRUE(selectedWhenPlayed);
  EXPECT_EQ(form->Label23->caption(), "Key - F1 key");
  EXPECT_EQ(form->Edit1->text(), "Sleep");

  // Later turns keep the key chosen.
  form->ComboBox2->UserSelect(4);
  form->TabIntro->UserClick();
  form->TabEditor->UserClick();
  EXPECT_EQ(form->currentKey, "F5Key");
}

TEST_F(Pages, AHotKeyPressedDuringTheSlideStillRuns) {
  WriteSettings("[Keys]\r\nEnabled=1\r\n\r\n" + KeySection("F7Key", "Notes", 10, "C:\\notes.exe"));
  Create();
  fp.onPlayTransition = [&] { PressHotKey("F7Key"); };
  form->TabThemes->UserClick();
  ASSERT_EQ(fp.started.size(), 1u);
  EXPECT_EQ(form->currentPage, PageId::Themes);
}

TEST_F(Pages, AFailedSlideStillRecordsThePageAndDropsThePictures) {
  Create();
  RouteErrorsToErrorBox();
  fp.onPlayTransition = [] { throw std::runtime_error("no picture"); };
  form->TabThemes->UserClick();
  EXPECT_EQ(form->currentPage, PageId::Themes);
  EXPECT_FALSE(fp.transitionPrepared);
  EXPECT_EQ(fp.errors.size(), 1u);
}

TEST_F(Pages, ClickingAKeyOnTheThemesPageSlidesToTheEditor) {
  Create();
  form->TabThemes->UserClick();
  const auto mark = EffectsMark();
  Key("F9Key").shape->UserMouseUp(ui::MouseButton::Left, 3, 3);
  EXPECT_EQ(EffectsSince(mark), Slide());
  EXPECT_EQ(form->currentPage, PageId::Editor);
  EXPECT_EQ(form->currentKey, "F9Key");
}

}  // namespace
}  // namespace kv

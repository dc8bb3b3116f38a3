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
  // The in-between picture is the page area with neither page shown.
  std::vector<bool> shownAtMiddle;
  fp.onCaptureTransitionMiddle = [&] { shownAtMiddle = PagesShown(); };
  for (const Turn& t : turns) {
    const auto mark = EffectsMark();
    shownAtMiddle.clear();
    t.tab->UserClick();
    EXPECT_EQ(EffectsSince(mark), Slide());
    EXPECT_EQ(shownAtMiddle, (std::vector<bool>{false, false, false}));
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
  EXPECT_EQ(PagesShown(), (std::vector<bool>{false, false, true}));
  EXPECT_FALSE(fp.transitionPrepared);
  EXPECT_EQ(fp.errors.size(), 1u);
}

TEST_F(Pages, APictureThatCannotBeTakenStillLeavesTheNewPageShown) {
  Create();
  RouteErrorsToErrorBox();
  fp.onCaptureTransitionMiddle = [] { throw std::runtime_error("no picture"); };
  form->TabEditor->UserClick();
  EXPECT_EQ(PagesShown(), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(form->currentPage, PageId::Editor);
  EXPECT_EQ(TabColours(), (std::vector<ui::Color>{kBlue, kRed, kBlue}));
  EXPECT_FALSE(fp.transitionPrepared);
  EXPECT_EQ(fp.errors.size(), 1u);
}

// Clicks that arrive while a slide plays, each one started from inside the slide before it, as
// the messages served during a slide would start them.
struct ClicksDuringSlides {
  const char* name;
  std::vector<const char*> clicks;  // "intro", "editor", "themes" (tabs) or a key's section
  PageId shown;
  const char* topic;
  friend void PrintTo(const ClicksDuringSlides& c, std::ostream* os) { *os << c.name; }
};

class TurnsDuringASlide : public Pages, public ::testing::WithParamInterface<ClicksDuringSlides> {
 protected:
  void Click(const std::string& what) {
    if (what == "intro") form->TabIntro->UserClick();
    else if (what == "editor") form->TabEditor->UserClick();
    else if (what == "themes") form->TabThemes->UserClick();
    else Key(what).shape->UserMouseUp(ui::MouseButton::Left, 3, 3);
  }
};

TEST_P(TurnsDuringASlide, LeaveExactlyTheLastPageShownWithItsTabAndHelp) {
  const ClicksDuringSlides& c = GetParam();
  WriteSettings(KeySection("F4Key", "Sleep", 15));
  Create();
  size_t next = 1;
  fp.onPlayTransition = [&] {
    if (next < c.clicks.size()) Click(c.clicks[next++]);
  };
  Click(c.clicks[0]);
  ASSERT_EQ(next, c.clicks.size()) << "every click ran inside the slide before it";

  std::vector<bool> expectedShown(3, false);
  std::vector<ui::Color> expectedTabs(3, kBlue);
  expectedShown[static_cast<size_t>(c.shown)] = true;
  expectedTabs[static_cast<size_t>(c.shown)] = kRed;
  EXPECT_EQ(PagesShown(), expectedShown);
  EXPECT_EQ(TabColours(), expectedTabs);
  EXPECT_EQ(form->currentPage, c.shown);
  form->HelpButton->UserClick();
  ASSERT_FALSE(fp.helpTopics.empty());
  EXPECT_EQ(fp.helpTopics.back(), "C:\\Program Files\\Keyvane\\Keyvane.chm::/" + std::string(c.topic));
  EXPECT_FALSE(fp.transitionPrepared);

  // And the next turn, without anything in between, slides as usual.
  fp.onPlayTransition = nullptr;
  const PageId away = c.shown == PageId::Intro ? PageId::Themes : PageId::Intro;
  Click(away == PageId::Intro ? "intro" : "themes");
  expectedShown.assign(3, false);
  expectedShown[static_cast<size_t>(away)] = true;
  EXPECT_EQ(PagesShown(), expectedShown);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, TurnsDuringASlide,
    ::testing::Values(
        ClicksDuringSlides{"ThemesThenAKey", {"themes", "F4Key"}, PageId::Editor, "Topic5.htm"},
        ClicksDuringSlides{"KeyThenThemes", {"F4Key", "themes"}, PageId::Themes, "Topic7.htm"},
        ClicksDuringSlides{"ThemesThenIntroBack", {"themes", "intro"}, PageId::Intro, "Topic1.htm"},
        ClicksDuringSlides{"ThemesTwice", {"themes", "themes"}, PageId::Themes, "Topic7.htm"},
        ClicksDuringSlides{"ThreeDeep", {"editor", "themes", "F9Key"}, PageId::Editor, "Topic5.htm"},
        ClicksDuringSlides{"EditorThenIntroThenThemes", {"editor", "intro", "themes"}, PageId::Themes,
                           "Topic7.htm"}),
    [](const ::testing::TestParamInfo<ClicksDuringSlides>& p) { return std::string(p.param.name); });

// F1 stored as a two-key combination whose modifier is no digit cannot be loaded. The first
// turn to the editor selects F1 all the same: the error is shown, and the page and its tab are
// those on screen, then and at every later turn.
TEST_F(Pages, AnEditorTurnWhoseF1CannotBeLoadedStillShowsTheEditor) {
  WriteSettings(KeySection("F1Key", "Copy", 28, "XC"));
  Create();
  RouteErrorsToErrorBox();
  form->TabEditor->UserClick();
  ASSERT_EQ(fp.errors.size(), 1u);
  EXPECT_NE(fp.errors[0].find("'XC'"), std::string::npos) << fp.errors[0];
  EXPECT_EQ(PagesShown(), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(TabColours(), (std::vector<ui::Color>{kBlue, kRed, kBlue}));
  EXPECT_EQ(form->currentPage, PageId::Editor);
  EXPECT_EQ(form->currentKey, "F1Key");
  EXPECT_FALSE(fp.transitionPrepared);

  form->TabIntro->UserClick();
  EXPECT_EQ(PagesShown(), (std::vector<bool>{true, false, false}));
  form->TabEditor->UserClick();
  EXPECT_EQ(PagesShown(), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(TabColours(), (std::vector<ui::Color>{kBlue, kRed, kBlue}));
  EXPECT_EQ(fp.errors.size(), 1u);  // F1 stays selected: it is not loaded again

  // Clicking the malformed key itself reports it again and opens it in the editor, as a click
  // on any key does.
  form->TabThemes->UserClick();
  Key("F1Key").shape->UserMouseUp(ui::MouseButton::Left, 3, 3);
  EXPECT_EQ(fp.errors.size(), 2u);
  EXPECT_EQ(PagesShown(), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(form->currentPage, PageId::Editor);
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

// The main window's controls, their positions (at 96 DPI), fonts and colours.
#include "actions/catalogue.h"
#include "app/form.h"

namespace kv {

namespace {

ui::Font Sans(int height, bool bold = false, ui::Color color = ui::kBlack) {
  return ui::Font{"MS Sans Serif", height, bold, false, color};
}

ui::Font Heading() { return ui::Font{"Arial", 19, true, false, ui::kWhite}; }

constexpr ui::Color kBandColor = 0x0000DD;
constexpr int kPageWidth = 553;
constexpr int kPageHeight = 193;

}  // namespace

template <typename T>
T* TForm1::Make(std::string name, ui::Control* parent) {
  auto control = std::make_unique<T>(std::move(name), parent);
  T* raw = control.get();
  owned_.push_back(std::move(control));
  return raw;
}

ui::Button* TForm1::MakeButton(const char* name, const char* caption, ui::Rect bounds,
                               ui::Control* parent) {
  auto* button = Make<ui::Button>(name, parent);
  button->SetBounds(bounds);
  button->SetCaption(caption);
  button->SetFont(Sans(11, true));
  return button;
}

TForm1::TForm1(platform::Platform& p, std::vector<std::string> arguments)
    : ui::Window("Form1"), platform(p), args(std::move(arguments)) {
  SetBounds({0, 0, kWindowOuterWidth, kWindowOuterHeight});
  SetColor(kWindowColor);
  SetFont(Sans(11));
  SetCaption(kProductName);
  BuildTrayMenu();
  BuildKeys();
  BuildPages();

  BitBtn2 = Make<ui::Button>("BitBtn2", this);
  BitBtn2->SetBounds({600, 108, 185, 30});
  BitBtn2->SetFont(Sans(19, true, 0x00BB00));
  BitBtn2->SetCaption("ON");
  BitBtn2->SetGlyph("builtin:on");
  BitBtn2->SetGlyphSpacing(45);
  BitBtn2->onClick = [this](ui::Button&) { BitBtn2Click(); };

  CheckBox1 = Make<ui::CheckBox>("CheckBox1", this);
  CheckBox1->SetBounds({376, 351, 97, 17});
  CheckBox1->SetCaption("Run at Startup");
  CheckBox1->SetFont(Sans(11, false, 0x0000DD));
  CheckBox1->onClick = [this](ui::CheckBox&) { CheckBox1Click(); };

  HelpButton = MakeButton("HelpButton", "Help", {296, 348, 65, 23}, this);
  HelpButton->onClick = [this](ui::Button&) { HelpButtonClick(); };

  Label29 = Make<ui::Label>("Label29", this);
  Label29->SetBounds({64, 351, 218, 11});
  Label29->SetCaption("The Keyvane developers - www.keyvane.org");
  Label29->SetFont(ui::Font{"Small Fonts", 9, false, true, 0x0000DD});
  Label29->SetCursor(ui::Cursor::Hand);
  Label29->onClick = [this](ui::Label&) { Label29Click(); };

  VersionLabel = Make<ui::Label>("VersionLabel", this);
  VersionLabel->SetBounds({488, 353, 105, 13});
  VersionLabel->SetCaption(kVersionText);
  VersionLabel->SetFont(Sans(11, false, 0x0000DD));

  Timer1 = Make<ui::Timer>("Timer1", this);
  Timer1->SetInterval(1000);
  Timer1->SetRunning(false);
  Timer1->onTimer = [this](ui::Timer&) { OnTimer(); };
  TrayClickTimer = Make<ui::Timer>("TrayClickTimer", this);
  TrayClickTimer->onTimer = [this](ui::Timer&) { TrayClickTimerFired(); };
}

TForm1::~TForm1() {
  for (auto& control : owned_) control->SetPeer(nullptr);
}

void TForm1::BuildKeys() {
  for (int i = 0; i < kKeyCount; ++i) {
    const KeyInfo& key = KeyAt(i);
    const KeyGeometry& g = kKeyGeometry[static_cast<size_t>(i)];
    KeyView& view = keys[static_cast<size_t>(i)];
    view.index = i;

    view.shape = Make<ui::Shape>(std::string(g.shapeName), this);
    view.shape->SetBounds({g.left, g.top, kKeyWidth, kKeyHeight});
    view.shape->SetCornerSize(kKeyCorner);
    view.shape->SetCursor(ui::Cursor::Hand);
    view.shape->onMouseUp = [this](ui::Shape& sender, ui::MouseButton, int, int) {
      KeyShapeMouseUp(sender);
    };

    view.title = Make<ui::Label>(std::string(g.titleLabelName), this);
    view.title->SetBounds({g.left, g.top + kTitleOffset, kKeyWidth, kTitleHeight});
    view.title->SetWordWrap(true);
    view.title->SetAlignment(ui::Align::Center);
    view.title->SetFont(Sans(11));
    view.title->SetCursor(ui::Cursor::Hand);
    view.title->SetCaption(std::string(kNotSetMarker));
    view.title->SetVisible(false);
    view.title->onClick = [this](ui::Label& sender) { KeyLabelClick(sender); };
    view.title->onDblClick = [this](ui::Label& sender) { KeyLabelDblClick(sender); };

    const bool functionRow = g.top == 24;
    view.name = Make<ui::Label>(std::string(g.nameLabelName), this);
    view.name->SetBounds({g.left, g.top + kNameOffset, kKeyWidth, functionRow ? 16 : 17});
    view.name->SetWordWrap(!functionRow);
    view.name->SetAlignment(ui::Align::Center);
    view.name->SetFont(Sans(13, true, kKeyNameColor));
    view.name->SetCursor(ui::Cursor::Hand);
    view.name->SetCaption(std::string(key.layoutCaption));
    view.name->onClick = [this](ui::Label& sender) { KeyLabelClick(sender); };

    view.trayItem->SetCaption(std::string(key.trayNotSet));
  }
}

Page TForm1::BuildPage(const std::string& prefix, const std::string& heading) {
  Page page;
  page.host = Make<ui::Panel>(prefix + "Page", PageArea);
  page.host->SetBounds({2, 8, 567, 201});
  page.host->SetTransparent(true);
  page.content = Make<ui::Panel>(prefix + "Content", page.host);
  page.content->SetBounds({7, 4, kPageWidth, kPageHeight});
  page.content->SetColor(ui::kWhite);
  page.content->SetBorder(true);
  page.band = Make<ui::Panel>(prefix + "Band", page.content);
  page.band->SetBounds({1, 1, kPageWidth - 2, 25});
  page.band->SetColor(kBandColor);
  page.heading = Make<ui::Label>(prefix + "Heading", page.content);
  page.heading->SetBounds({16, 3, 400, 22});
  page.heading->SetFont(Heading());
  page.heading->SetCaption(heading);
  return page;
}

void TForm1::BuildPages() {
  auto tab = [this](const char* name, const char* caption, ui::Rect r) {
    ui::Panel* t = Make<ui::Panel>(name, this);
    t->SetBounds(r);
    t->SetTransparent(true);
    t->SetCaption(caption);
    t->SetFont(Sans(13, true, kTabColor));
    t->SetCursor(ui::Cursor::Hand);
    t->onClick = [this](ui::Panel& sender) { TabClick(sender); };
    return t;
  };
  TabIntro = tab("TabIntro", "Keyvane", {24, 116, 177, 17});
  TabEditor = tab("TabEditor", "Create or Edit Key", {200, 116, 169, 17});
  TabThemes = tab("TabThemes", "Themes", {368, 116, 105, 17});

  PageArea = Make<ui::Panel>("PageArea", this);
  PageArea->SetBounds({24, 136, 569, 209});
  PageArea->SetColor(kWindowColor);

  introPage = BuildPage("Intro", "Keyvane");
  editorPage = BuildPage("Editor", "Create or Edit Key");
  themesPage = BuildPage("Themes", "Themes");
  BuildIntroPage();
  BuildEditorPage();
  BuildThemesPage();
  // Only the introduction stands open in the design, as the start-up will show it: the
  // other pages' controls need no windows before they are first turned to.
  editorPage.host->SetVisible(false);
  themesPage.host->SetVisible(false);
}

void TForm1::BuildIntroPage() {
  ui::Panel* page = introPage.content;
  auto* text = Make<ui::Label>("IntroText", page);
  text->SetBounds({176, 40, 201, 65});
  text->SetFont(Sans(13, true, 0x0000DD));
  text->SetAlignment(ui::Align::Center);
  text->SetWordWrap(true);
  text->SetCaption(
      "Now you can decide what the F keys and certain other keys will do when they are pressed.");
  auto redNote = [&](const char* name, const char* caption, ui::Rect r) {
    auto* label = Make<ui::Label>(name, page);
    label->SetBounds(r);
    label->SetFont(Sans(11, true, 0xFF0000));
    label->SetAlignment(ui::Align::Center);
    label->SetWordWrap(true);
    label->SetCaption(caption);
  };
  redNote("EasierLabel", "Easier than a Shortcut", {24, 56, 105, 33});
  redNote("FasterLabel", "Faster than a Link", {432, 56, 89, 33});
  auto* picture = Make<ui::Image>("IntroPicture", page);
  picture->SetBounds({1, 136, kPageWidth - 2, 56});
  picture->SetPicture("intro");
  QuickStartButton = MakeButton("QuickStartButton", "Quick Start >>", {424, 104, 121, 25}, page);
  QuickStartButton->onClick = [this](ui::Button&) { QuickStartButtonClick(); };
}

void TForm1::BuildEditorPage() {
  ui::Panel* page = editorPage.content;
  auto label = [&](const char* name, const char* caption, ui::Rect r) {
    auto* l = Make<ui::Label>(name, page);
    l->SetBounds(r);
    l->SetFont(Sans(13, true));
    l->SetCaption(caption);
    return l;
  };
  auto combo = [&](const char* name, ui::Rect r, std::vector<std::string> items) {
    auto* c = Make<ui::ComboBox>(name, page);
    c->SetBounds(r);
    c->SetFont(Sans(13));
    c->SetItems(std::move(items));
    return c;
  };
  auto button = [&](const char* name, const char* caption, ui::Rect r) {
    return MakeButton(name, caption, r, page);
  };
  const std::vector<std::string> modifiers{"Shift", "Ctrl", "Alt", "Windows"};
  const char* comboHint = "Use the drop down boxes to select key combo.";

  auto* picture = Make<ui::Image>("EditorPicture", page);
  picture->SetBounds({16, 38, 95, 95});
  picture->SetPicture("editor");

  Label23 = label("Label23", "No Key Selected", {288, 42, 233, 17});
  Label23->SetAlignment(ui::Align::Center);

  std::vector<std::string> keyItems;
  for (const KeyInfo& key : kKeys) keyItems.emplace_back(key.editorItem);
  ComboBox2 = combo("ComboBox2", {136, 34, 129, 35}, keyItems);
  ComboBox2->SetFont(Sans(24, true));
  ComboBox2->SetItemHeight(29);
  ComboBox2->SetHint("Use this dropdown list to select the key to change.");

  const char* titleHint = "Type the title for the key that will appear on the key above.";
  Label24 = label("Label24", "Title - ", {136, 84, 49, 16});
  Label24->SetHint(titleHint);
  Label24->SetEnabled(false);
  Edit1 = Make<ui::Edit>("Edit1", page);
  Edit1->SetBounds({184, 82, 249, 24});
  Edit1->SetFont(Sans(13));
  Edit1->SetHint(titleHint);
  Edit1->SetEnabled(false);

  const char* actionHint =
      "Choose from this dropdown list what the key will do when it is pressed.  Use the Run "
      "button to perform the selected action.";
  Label25 = label("Label25", "Action - ", {136, 116, 65, 16});
  Label25->SetHint(actionHint);
  Label25->SetEnabled(false);
  std::vector<std::string> actionItems;
  for (const ActionEntry& a : kActions) actionItems.emplace_back(a.caption);
  ComboBox1 = combo("ComboBox1", {200, 114, 201, 21}, actionItems);
  ComboBox1->SetHint(actionHint);
  ComboBox1->SetItemIndex(0);
  ComboBox1->SetEnabled(false);

  Button1 = button("Button1", "< Run", {400, 112, 57, 25});

  Label26 = label("Label26", "File -", {136, 148, 65, 16});
  Label26->SetVisible(false);
  Edit2 = Make<ui::Edit>("Edit2", page);
  Edit2->SetBounds({208, 146, 169, 24});
  Edit2->SetFont(Sans(13));
  Edit2->SetVisible(false);
  Button2 = button("Button2", "...", {376, 144, 33, 25});
  Button2->SetVisible(false);

  Label35 = label("Label35", "Key Combo - ", {136, 148, 89, 16});
  Label35->SetHint(comboHint);
  Label35->SetVisible(false);
  std::vector<std::string> comboKeys;
  for (char c = 'A'; c <= 'Z'; ++c) comboKeys.emplace_back(1, c);
  for (char c = '1'; c <= '9'; ++c) comboKeys.emplace_back(1, c);
  comboKeys.emplace_back("0");
  comboKeys.emplace_back("Tab");
  comboKeys.emplace_back("Delete");
  ComboBox6 = combo("ComboBox6", {232, 146, 57, 21}, comboKeys);
  ComboBox5 = combo("ComboBox5", {288, 146, 57, 21}, modifiers);
  ComboBox4 = combo("ComboBox4", {344, 146, 57, 21}, modifiers);
  for (ui::ComboBox* c : {ComboBox6, ComboBox5, ComboBox4}) {
    c->SetHint(comboHint);
    c->SetVisible(false);
  }

  BitBtn1 = button("BitBtn1", "Apply", {448, 152, 89, 25});
  BitBtn1->SetEnabled(false);

  // A screen reader names each box and list by the text painted beside it.
  Edit1->SetAccessibleLabel(Label24);
  ComboBox1->SetAccessibleLabel(Label25);
  Edit2->SetAccessibleLabel(Label26);
  ComboBox2->SetAccessibleName("Key");
  ComboBox6->SetAccessibleName("Combination key");
  ComboBox5->SetAccessibleName("Modifier");
  ComboBox4->SetAccessibleName("First modifier");

  ComboBox1->onChange = [this](ui::ComboBox&) { ComboBox1Change(); };
  ComboBox2->onChange = [this](ui::ComboBox&) { ComboBox2Change(); };
  Edit1->onChange = [this](ui::Edit&) { Edit1Change(); };
  Edit1->onKeyPress = [this](ui::Edit&, char&) { Edit1KeyPress(); };
  Edit2->onChange = [this](ui::Edit&) { Edit2Change(); };
  for (ui::ComboBox* c : {ComboBox4, ComboBox5, ComboBox6})
    c->onChange = [this](ui::ComboBox&) { KeyComboChange(); };
  Button1->onClick = [this](ui::Button&) { Button1Click(); };
  Button2->onClick = [this](ui::Button&) { Button2Click(); };
  BitBtn1->onClick = [this](ui::Button&) { EditApplyClick(); };

  // The page's own Tab order, which is not the order in which its controls stand.
  int order = 0;
  for (ui::Control* c : std::initializer_list<ui::Control*>{BitBtn1, ComboBox2, Edit1, ComboBox1, Button1,
                                                            Edit2, ComboBox6, ComboBox5, ComboBox4, Button2})
    c->SetTabOrder(++order);
}

void TForm1::BuildThemesPage() {
  ui::Panel* page = themesPage.content;
  auto* picture = Make<ui::Image>("ThemesPicture", page);
  picture->SetBounds({24, 48, 105, 97});
  picture->SetPicture("themes");
  auto* label = Make<ui::Label>("SelectThemeLabel", page);
  label->SetBounds({152, 40, 114, 16});
  label->SetFont(Sans(13, true));
  label->SetCaption("Select a Theme:");
  ComboBox3 = Make<ui::ComboBox>("ComboBox3", page);
  ComboBox3->SetBounds({176, 68, 153, 21});
  ComboBox3->SetFont(Sans(13));
  ComboBox3->SetItems({"Set all to Nothing", "Quick Start", "Games", "Control Panel", "Shopping"});
  ComboBox3->SetAccessibleLabel(label);
  auto button = [&](const char* name, const char* caption, ui::Rect r) {
    return MakeButton(name, caption, r, page);
  };
  Button6 = button("Button6", "Print Theme", {176, 105, 129, 25});
  suiButton1 = button("suiButton1", "Delete Theme", {320, 105, 129, 25});
  Button8 = button("Button8", "Create Theme from Current Settings", {152, 144, 321, 25});
  ComboBox3->SetRepickIsChoice(true);  // the shown theme, picked again, is loaded again
  ComboBox3->onClick = [this](ui::ComboBox&) { ComboBox3Click(); };
  ComboBox3->onChange = [this](ui::ComboBox&) { ComboBox3Change(); };
  Button6->onClick = [this](ui::Button&) { Button6Click(); };
  suiButton1->onClick = [this](ui::Button&) { suiButton1Click(); };
  Button8->onClick = [this](ui::Button&) { Button8Click(); };
}

void TForm1::BuildTrayMenu() {
  ThemeLine = &trayMenu.Add(std::make_unique<ui::MenuItem>("ThemeLine", "No Theme Loaded"));
  trayMenu.AddSeparator("N1");
  for (int i = 0; i < kKeyCount; ++i) {
    const KeyGeometry& g = kKeyGeometry[static_cast<size_t>(i)];
    ui::MenuItem& item = trayMenu.Add(std::make_unique<ui::MenuItem>(std::string(g.trayItemName)));
    item.onClick = [this](ui::MenuItem& sender) { KeyMenuClick(sender); };
    keys[static_cast<size_t>(i)].trayItem = &item;
  }
  trayMenu.AddSeparator("N2");
  DisableKeys1 = &trayMenu.Add(std::make_unique<ui::MenuItem>("DisableKeys1", "Disable"));
  DisableKeys1->onClick = [this](ui::MenuItem&) { DisableKeys1Click(); };
  trayMenu.AddSeparator("N3");
  ShowMinimize1 = &trayMenu.Add(std::make_unique<ui::MenuItem>("ShowMinimize1", "Minimize Key Layout"));
  ShowMinimize1->onClick = [this](ui::MenuItem&) { ShowMinimizeItemClick(); };
  trayMenu.AddSeparator("N4");
  Exit1 = &trayMenu.Add(std::make_unique<ui::MenuItem>("Exit1", "Exit"));
  Exit1->onClick = [this](ui::MenuItem&) { Exit1Click(); };
}

ui::Control* TForm1::FindControl(std::string_view name) const {
  for (const auto& control : owned_)
    if (control->name() == name) return control.get();
  return nullptr;
}

}  // namespace kv

// The control peers on a real (hidden) main window: each control's change reaches its own
// window and no other, a panel's move, show or hide reaches only the windows inside it, and
// the user's input in a window or over a painted control reaches the right control's events.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it relies on.
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/window_events.h"
#include "platform/win32/window/main_window.h"
#include "platform/win32/services/message_pump.h"
#include "platform/win32/wide.h"
#include "tests/windows/desktop_turn.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/shape.h"
#include "ui/timer.h"

namespace kv::win32 {
namespace {

// A small form: a page holding a check box and an edit box, and beside it a button, a
// drop-down, a label, a key shape and a timer.
class SmallForm final : public WindowEvents {
 public:
  SmallForm() : root_("Form") {
    root_.SetBounds({0, 0, 400, 300});
    root_.SetCaption("Peers");
    page = Make<ui::Panel>("Page", &root_, {10, 10, 200, 100});
    check = Make<ui::CheckBox>("Check", page, {5, 5, 80, 17});
    check->SetCaption("Check");
    edit = Make<ui::Edit>("Edit", page, {5, 30, 80, 21});
    button = Make<ui::Button>("Button", &root_, {250, 10, 80, 25});
    button->SetCaption("Button");
    combo = Make<ui::ComboBox>("Combo", &root_, {250, 50, 100, 21});
    combo->SetItems({"one", "two", "three"});
    label = Make<ui::Label>("Label", &root_, {10, 150, 100, 20});
    hiddenLabel = Make<ui::Label>("Hidden", page, {5, 60, 100, 20});
    shape = Make<ui::Shape>("Shape", &root_, {150, 150, 40, 40});
    timer = Make<ui::Timer>("Timer", &root_, {});
    // The button first and the check box after it; the others keep their places.
    button->SetTabOrder(1);
    check->SetTabOrder(2);
  }

  ui::Window& Root() override { return root_; }
  const std::vector<std::unique_ptr<ui::Control>>& Controls() const override { return owned_; }
  ui::PopupMenu& TrayMenu() override { return menu_; }
  void HotKeyPressed(uint32_t) override {}
  void TrayIconDoubleClicked() override { ++trayDoubleClicks; }
  void TrayIconMessage(const TrayMessage& message) override { trayMessages.push_back(message); }
  std::vector<TrayMessage> trayMessages;
  bool CloseRequested() override { return false; }
  void SessionEnded(bool) override {}
  void ExitRequested() override {}
  void FocusMoved(FocusStop) override {}
  bool KeyPressed(ui::Key, ui::KeyState) override { return false; }
  const ui::Control* FocusedPaintedControl() const override { return nullptr; }
  std::vector<ui::AccessibleItem> AccessibleItems() const override { return {}; }
  void AccessibleDefaultAction(const ui::Control&) override {}

  ui::Panel* page;
  ui::CheckBox* check;
  ui::Edit* edit;
  ui::Button* button;
  ui::ComboBox* combo;
  ui::Label* label;
  ui::Label* hiddenLabel;
  ui::Shape* shape;
  ui::Timer* timer;
  int trayDoubleClicks = 0;

 private:
  template <typename T>
  T* Make(const char* name, ui::Control* parent, ui::Rect bounds) {
    auto control = std::make_unique<T>(name, parent);
    control->SetBounds(bounds);
    T* raw = control.get();
    owned_.push_back(std::move(control));
    return raw;
  }

  ui::Window root_;
  std::vector<std::unique_ptr<ui::Control>> owned_;
  ui::PopupMenu menu_;
};

// Dispatches this thread's messages for a while, as the message loop would.
void Pump(DWORD ms) {
  const DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < ms) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

// Dispatches messages until the condition holds or the time is up; says whether it holds.
template <class Condition>
bool PumpUntil(Condition holds, DWORD ms = 3000) {
  const DWORD start = ::GetTickCount();
  while (!holds() && ::GetTickCount() - start < ms) Pump(20);
  return holds();
}

// Shown by its own style: the main window itself stays hidden in these tests.
bool Shown(HWND child) { return (::GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0; }

// Counts every message that reaches a child window from the moment it is watched.
LRESULT CALLBACK CountMessages(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

class PeersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Create(form);
    // The windowed controls' windows, in the order of the controls.
    checkWindow = Child(0);
    editWindow = Child(1);
    buttonWindow = Child(2);
    comboWindow = Child(3);
    ASSERT_TRUE(checkWindow && editWindow && buttonWindow && comboWindow);
    for (HWND child : {checkWindow, editWindow, buttonWindow, comboWindow})
      ::SetWindowSubclass(child, &CountMessages, 7, reinterpret_cast<DWORD_PTR>(&messages[child]));
  }
  void TearDown() override {
    for (auto& [child, count] : messages) ::RemoveWindowSubclass(child, &CountMessages, 7);
    window.Destroy();
  }

  HWND Child(int index) const { return ::GetDlgItem(window.hwnd(), 100 + index); }
  void ResetCounts() {
    for (auto& [child, count] : messages) count = 0;
  }
  RECT PlaceInParent(HWND child) const {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  void Command(HWND child, UINT code) {
    ::SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(child), code),
                   reinterpret_cast<LPARAM>(child));
  }
  // A mouse message at a point of the layout (at 96 DPI) of the window.
  void Mouse(UINT msg, int x, int y) {
    const int dpi = ScreenDpi();
    ::SendMessageW(window.hwnd(), msg, 0, MAKELPARAM(::MulDiv(x, dpi, 96), ::MulDiv(y, dpi, 96)));
  }
  static int ScreenDpi() {
    HDC dc = ::GetDC(nullptr);
    const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
    ::ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
  }

  SmallForm form;
  MainWindow window{::GetModuleHandleW(nullptr)};
  HWND checkWindow = nullptr, editWindow = nullptr, buttonWindow = nullptr, comboWindow = nullptr;
  std::map<HWND, int> messages;
};

TEST_F(PeersTest, APanelsShowHideAndMoveReachOnlyTheWindowsInsideIt) {
  EXPECT_TRUE(Shown(checkWindow));
  EXPECT_TRUE(Shown(buttonWindow));

  ResetCounts();
  form.page->SetVisible(false);
  EXPECT_FALSE(Shown(checkWindow));
  EXPECT_FALSE(Shown(editWindow));
  EXPECT_TRUE(Shown(buttonWindow));
  EXPECT_EQ(messages[buttonWindow], 0);
  EXPECT_EQ(messages[comboWindow], 0);

  form.page->SetVisible(true);
  EXPECT_TRUE(Shown(checkWindow));
  EXPECT_TRUE(Shown(editWindow));

  // A control hidden by itself stays hidden when its page shows again.
  form.edit->SetVisible(false);
  form.page->SetVisible(false);
  form.page->SetVisible(true);
  EXPECT_TRUE(Shown(checkWindow));
  EXPECT_FALSE(Shown(editWindow));

  ResetCounts();
  const RECT before = PlaceInParent(checkWindow);
  form.page->SetBounds({30, 10, 200, 100});
  const RECT after = PlaceInParent(checkWindow);
  EXPECT_GT(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(messages[buttonWindow], 0);
  EXPECT_EQ(messages[comboWindow], 0);

  // A panel's colour is nothing to the windows inside it.
  ResetCounts();
  form.page->SetColor(0x123456);
  EXPECT_EQ(messages[checkWindow], 0);
  EXPECT_EQ(messages[editWindow], 0);
}

TEST_F(PeersTest, AControlsChangeReachesOnlyItsOwnWindow) {
  ResetCounts();
  form.edit->SetText("typed by the program");
  wchar_t text[64] = {};
  ::GetWindowTextW(editWindow, text, 64);
  EXPECT_EQ(Narrow(text), "typed by the program");
  EXPECT_GT(messages[editWindow], 0);
  EXPECT_EQ(messages[checkWindow], 0);
  EXPECT_EQ(messages[buttonWindow], 0);
  EXPECT_EQ(messages[comboWindow], 0);

  ResetCounts();
  form.combo->SetItemIndex(2);
  EXPECT_EQ(::SendMessageW(comboWindow, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(::SendMessageW(comboWindow, CB_GETCOUNT, 0, 0), 3);
  form.check->SetChecked(true);
  EXPECT_EQ(::SendMessageW(checkWindow, BM_GETCHECK, 0, 0), BST_CHECKED);
  form.button->SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(buttonWindow));
  EXPECT_EQ(messages[editWindow], 0);

  // A painted control repaints the window and touches no child window.
  ResetCounts();
  form.label->SetCaption("changed");
  form.shape->SetBrush(0x00FF00);
  for (auto& [child, count] : messages) EXPECT_EQ(count, 0);
}

TEST_F(PeersTest, InputInTheChildWindowsReachesTheirControls) {
  int buttonClicks = 0, checkClicks = 0, comboChanges = 0, editChanges = 0;
  std::string keys;
  form.button->onClick = [&](ui::Button&) { ++buttonClicks; };
  form.check->onClick = [&](ui::CheckBox&) { ++checkClicks; };
  form.combo->onChange = [&](ui::ComboBox&) { ++comboChanges; };
  form.edit->onChange = [&](ui::Edit&) { ++editChanges; };
  form.edit->onKeyPress = [&](ui::Edit&, char& key) {
    keys += key;
    if (key == 'x') key = 0;
  };

  Command(buttonWindow, BN_CLICKED);
  EXPECT_EQ(buttonClicks, 1);

  Command(checkWindow, BN_CLICKED);
  EXPECT_EQ(checkClicks, 1);
  EXPECT_TRUE(form.check->checked());
  EXPECT_EQ(::SendMessageW(checkWindow, BM_GETCHECK, 0, 0), BST_CHECKED);

  ::SendMessageW(comboWindow, CB_SETCURSEL, 1, 0);
  Command(comboWindow, CBN_SELCHANGE);
  DispatchWaitingMessages();
  EXPECT_EQ(form.combo->itemIndex(), 1);
  EXPECT_EQ(comboChanges, 1);

  // The user's edit raises the change event once; the program's own text raises it once by
  // the model's rule, and the window's notification of that write is swallowed.
  ::SetWindowTextW(editWindow, L"user");
  EXPECT_EQ(form.edit->text(), "user");
  EXPECT_EQ(editChanges, 1);
  form.edit->SetText("program");
  EXPECT_EQ(editChanges, 2);

  // A key swallowed by the key-press handler never reaches the box.
  ::SetWindowTextW(editWindow, L"");
  ::SendMessageW(editWindow, WM_CHAR, 'a', 0);
  ::SendMessageW(editWindow, WM_CHAR, 'x', 0);
  EXPECT_EQ(keys, "ax");
  EXPECT_EQ(form.edit->text(), "a");

  // A disabled button's notification is not a click.
  form.button->SetEnabled(false);
  Command(buttonWindow, BN_CLICKED);
  EXPECT_EQ(buttonClicks, 1);
}

TEST_F(PeersTest, MouseOverPaintedControlsReachesTheControlUnderIt) {
  int clicks = 0, doubleClicks = 0, hiddenClicks = 0;
  std::vector<ui::MouseButton> shapeButtons;
  form.label->onClick = [&](ui::Label&) { ++clicks; };
  form.label->onDblClick = [&](ui::Label&) { ++doubleClicks; };
  form.hiddenLabel->onClick = [&](ui::Label&) { ++hiddenClicks; };
  form.shape->onMouseUp = [&](ui::Shape&, ui::MouseButton button, int, int) {
    shapeButtons.push_back(button);
  };

  Mouse(WM_LBUTTONDOWN, 20, 155);
  Mouse(WM_LBUTTONUP, 20, 155);
  EXPECT_EQ(clicks, 1);
  // The second click of a double click is the double click, not another click.
  Mouse(WM_LBUTTONDBLCLK, 20, 155);
  Mouse(WM_LBUTTONUP, 20, 155);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubleClicks, 1);
  // Pressed on one control and released on another is no click.
  Mouse(WM_LBUTTONDOWN, 20, 155);
  Mouse(WM_LBUTTONUP, 160, 160);
  EXPECT_EQ(clicks, 1);

  Mouse(WM_RBUTTONUP, 160, 160);
  ASSERT_EQ(shapeButtons.size(), 2u);
  EXPECT_EQ(shapeButtons[0], ui::MouseButton::Left);
  EXPECT_EQ(shapeButtons[1], ui::MouseButton::Right);

  // Only a showing control takes the mouse.
  form.page->SetVisible(false);
  Mouse(WM_LBUTTONDOWN, 20, 75);
  Mouse(WM_LBUTTONUP, 20, 75);
  EXPECT_EQ(hiddenClicks, 0);
  form.page->SetVisible(true);
  Mouse(WM_LBUTTONDOWN, 20, 75);
  Mouse(WM_LBUTTONUP, 20, 75);
  EXPECT_EQ(hiddenClicks, 1);
}

TEST_F(PeersTest, TheTimerFiresWhileRunningOnly) {
  int fired = 0;
  form.timer->onTimer = [&](ui::Timer&) { ++fired; };
  form.timer->SetInterval(10);
  form.timer->SetRunning(true);
  const DWORD start = ::GetTickCount();
  MSG msg;
  while (fired < 2 && ::GetTickCount() - start < 5000) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  EXPECT_GE(fired, 2);

  form.timer->SetRunning(false);
  const int stopped = fired;
  const DWORD after = ::GetTickCount();
  while (::GetTickCount() - after < 100) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  EXPECT_EQ(fired, stopped);
}

// The text of the tooltip tool of a child window, or of a painted control's tool `id`.
std::string TipText(HWND tips, HWND owner, UINT_PTR id, bool window) {
  wchar_t text[256] = L"";
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = owner;
  info.uId = id;
  info.uFlags = window ? TTF_IDISHWND : 0;
  info.lpszText = text;
  ::SendMessageW(tips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
  return Narrow(text);
}

TEST_F(PeersTest, HintsAreTooltipsWhileTheirControlsShow) {
  // No hint shows yet, so there is no tooltip window either.
  EXPECT_EQ(window.tooltipWindow(), nullptr);

  form.edit->SetHint("Type here.");
  form.label->SetHint("A painted label.");
  HWND tips = window.tooltipWindow();
  ASSERT_NE(tips, nullptr);
  auto count = [&] { return ::SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0); };
  EXPECT_EQ(count(), 2);
  EXPECT_EQ(TipText(tips, window.hwnd(), reinterpret_cast<UINT_PTR>(editWindow), true), "Type here.");

  form.edit->SetHint("Type something else.");  // the changed hint is the one shown next
  EXPECT_EQ(TipText(tips, window.hwnd(), reinterpret_cast<UINT_PTR>(editWindow), true),
            "Type something else.");

  form.page->SetVisible(false);  // the edit box lies on the page
  EXPECT_EQ(count(), 1);
  form.page->SetVisible(true);
  EXPECT_EQ(count(), 2);
  form.label->SetHint("");
  EXPECT_EQ(count(), 1);
}

TEST_F(PeersTest, TheTabOrderPutsOrderedControlsInTheirPlaces) {
  std::vector<HWND> order;
  for (HWND w = ::GetWindow(window.hwnd(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
    if (w == checkWindow || w == editWindow || w == buttonWindow || w == comboWindow) order.push_back(w);
  // The ordered ones take the slots of the check box (first) and the button (third).
  EXPECT_EQ(order, (std::vector<HWND>{buttonWindow, editWindow, checkWindow, comboWindow}));
}

TEST_F(PeersTest, EnterPressesTheFocusedButtonButNotACheckBox) {
  int clicks = 0, checks = 0;
  form.button->onClick = [&](ui::Button&) { ++clicks; };
  form.check->onClick = [&](ui::CheckBox&) { ++checks; };
  ::ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
  MSG enter{};
  enter.message = WM_KEYDOWN;
  enter.wParam = VK_RETURN;

  ::SetFocus(buttonWindow);
  ASSERT_EQ(::GetFocus(), buttonWindow);
  enter.hwnd = buttonWindow;
  EXPECT_TRUE(window.PreTranslate(enter));
  EXPECT_EQ(clicks, 1);

  ::SetFocus(checkWindow);
  enter.hwnd = checkWindow;
  window.PreTranslate(enter);
  EXPECT_EQ(checks, 0);
  EXPECT_EQ(clicks, 1);
}

// The notifications a drop-down list sends for one gesture, and the item it shows after it.
struct Gesture {
  const char* what;
  std::vector<UINT> codes;
  int shown;
};

TEST_F(PeersTest, EveryChoiceInAListReachesTheControlOnceInWhateverOrderItIsReported) {
  form.combo->SetRepickIsChoice(true);  // as the theme list, which loads its shown theme again
  int clicks = 0, changes = 0;
  form.combo->onClick = [&](ui::ComboBox&) { ++clicks; };
  form.combo->onChange = [&](ui::ComboBox&) {
    EXPECT_EQ(clicks, changes + 1);  // the click event comes first
    ++changes;
  };
  // The first three as Wine sends them; the others in orders Windows may use, whose
  // documentation leaves the order open and has an arrow key report a change alone.
  const std::vector<Gesture> choices = {
      {"a click or a typed letter in the open list", {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}, 0},
      {"Enter in the open list", {CBN_SELENDOK, CBN_CLOSEUP}, 0},
      {"an arrow key or the wheel on the closed list", {CBN_SELENDOK, CBN_SELCHANGE}, 0},
      {"the change first", {CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}, 0},
      {"the list closed first", {CBN_CLOSEUP, CBN_SELCHANGE}, 0},
      {"the change alone", {CBN_SELCHANGE}, 0},
  };
  for (const Gesture& gesture : choices) {
    // Another item, then the item now shown once more: each is a choice of its own.
    for (int item : {2, 2, 1}) {
      ::SendMessageW(comboWindow, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
      const int before = changes;
      for (UINT code : gesture.codes) Command(comboWindow, code);
      DispatchWaitingMessages();
      EXPECT_EQ(changes, before + 1) << gesture.what << ", item " << item;
      EXPECT_EQ(form.combo->itemIndex(), item) << gesture.what;
    }
  }
}

TEST_F(PeersTest, ACancelledListAndTheProgramsOwnChoiceRaiseNoEventAndShowTheControlsItem) {
  int events = 0;
  form.combo->onClick = [&](ui::ComboBox&) { ++events; };
  form.combo->onChange = [&](ui::ComboBox&) { ++events; };
  auto shown = [&] { return static_cast<int>(::SendMessageW(comboWindow, CB_GETCURSEL, 0, 0)); };

  form.combo->SetItemIndex(1);
  DispatchWaitingMessages();
  EXPECT_EQ(shown(), 1);
  EXPECT_EQ(events, 0);

  // Wine leaves the list on the item the mouse or the arrow keys last passed over; a list can
  // also put its item back itself and report that as a change.
  const std::vector<Gesture> cancels = {
      {"Escape, a click elsewhere or F4", {CBN_SELENDCANCEL, CBN_CLOSEUP}, 2},
      {"Tab out of the open list", {CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}, 2},
      {"a cancel that puts the item back", {CBN_SELENDCANCEL, CBN_SELCHANGE, CBN_CLOSEUP}, 1},
      {"the list closing without a choice", {CBN_CLOSEUP}, 2},
      {"the focus leaving", {CBN_KILLFOCUS}, 2},
      {"a list left showing nothing", {CBN_KILLFOCUS}, -1},
  };
  for (const Gesture& gesture : cancels) {
    ::SendMessageW(comboWindow, CB_SETCURSEL, static_cast<WPARAM>(gesture.shown), 0);
    for (UINT code : gesture.codes) Command(comboWindow, code);
    DispatchWaitingMessages();
    EXPECT_EQ(events, 0) << gesture.what;
    EXPECT_EQ(form.combo->itemIndex(), 1) << gesture.what;
    EXPECT_EQ(shown(), 1) << gesture.what;
  }

  // The program's choice made before the user's gesture has settled stands.
  ::SendMessageW(comboWindow, CB_SETCURSEL, 2, 0);
  Command(comboWindow, CBN_SELENDOK);
  form.combo->SetItemIndex(0);
  DispatchWaitingMessages();
  EXPECT_EQ(events, 0);
  EXPECT_EQ(form.combo->itemIndex(), 0);
  EXPECT_EQ(shown(), 0);
}

TEST_F(PeersTest, ArrowKeysThenEscapeInAnOpenListKeepTheModelOnWhatTheListShows) {
  DesktopTurn turn{L"KeyvaneTestsFocusTurn"};
  form.combo->SetItemIndex(0);
  ::ShowWindow(window.hwnd(), SW_SHOW);
  ::SetForegroundWindow(window.hwnd());
  ::SetFocus(comboWindow);
  ::SendMessageW(comboWindow, CB_SHOWDROPDOWN, TRUE, 0);
  auto key = [](WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
  };
  auto pump = [] {
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < 300) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
  };
  pump();
  key(VK_DOWN);
  pump();
  key(VK_ESCAPE);
  pump();
  const int shown = static_cast<int>(::SendMessageW(comboWindow, CB_GETCURSEL, 0, 0));
  EXPECT_EQ(form.combo->itemIndex(), shown);
  key(VK_DOWN);  // closed: the arrow moves the choice at once
  pump();
  EXPECT_EQ(form.combo->itemIndex(), static_cast<int>(::SendMessageW(comboWindow, CB_GETCURSEL, 0, 0)));
}

void PressKey(WORD vk, bool alt = false) {
  std::vector<INPUT> in;
  auto add = [&](WORD key, DWORD flags) {
    INPUT one{};
    one.type = INPUT_KEYBOARD;
    one.ki.wVk = key;
    one.ki.dwFlags = flags;
    in.push_back(one);
  };
  if (alt) add(VK_MENU, 0);
  add(vk, 0);
  add(vk, KEYEVENTF_KEYUP);
  if (alt) add(VK_MENU, KEYEVENTF_KEYUP);
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

TEST_F(PeersTest, TheKeyboardChoosesTheShownItemAgainAndEscapeKeepsTheChoice) {
  DesktopTurn turn{L"KeyvaneTestsFocusTurn"};
  form.combo->SetRepickIsChoice(true);  // as the theme list
  int changes = 0;
  form.combo->onChange = [&](ui::ComboBox&) { ++changes; };
  form.combo->SetItemIndex(1);
  ::ShowWindow(window.hwnd(), SW_SHOW);
  ::SetForegroundWindow(window.hwnd());
  ::SetFocus(comboWindow);
  Pump(200);
  auto dropped = [&] { return ::SendMessageW(comboWindow, CB_GETDROPPEDSTATE, 0, 0) != 0; };
  auto shown = [&] { return static_cast<int>(::SendMessageW(comboWindow, CB_GETCURSEL, 0, 0)); };

  // Each key waits for the list to be open or closed: on a busy machine it takes a while.
  for (bool alt : {false, true}) {  // F4, then Alt+Down, open the list
    PressKey(alt ? VK_DOWN : VK_F4, alt);
    ASSERT_TRUE(PumpUntil(dropped)) << alt;
    PressKey(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return !dropped(); }));
    Pump(100);
    EXPECT_EQ(changes, alt ? 2 : 1);
    EXPECT_EQ(form.combo->itemIndex(), 1);
  }

  PressKey(VK_F4);
  ASSERT_TRUE(PumpUntil(dropped));
  PressKey(VK_DOWN);
  Pump(200);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !dropped(); }));
  Pump(100);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(form.combo->itemIndex(), 1);
  EXPECT_EQ(shown(), 1);

  PressKey(VK_DOWN);  // on the closed list: a choice at once
  Pump(200);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(form.combo->itemIndex(), 2);
  EXPECT_EQ(shown(), 2);
}

// The icon's messages reach the program as Windows sent them: without a shell of version 4,
// the mouse message in lParam and the place where the mouse is.
TEST_F(PeersTest, TheTrayIconsMessagesReachTheProgramWithWhereTheMouseIs) {
  ::SetCursorPos(40, 50);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP})
    ::SendMessageW(window.hwnd(), kTrayCallbackMessage, 1, message);
  ASSERT_EQ(form.trayMessages.size(), 4u);
  EXPECT_EQ(form.trayMessages[0].event, kTrayLeftDown);
  EXPECT_EQ(form.trayMessages[2].event, kTrayDoubleClick);
  EXPECT_EQ(form.trayMessages[3].event, kTrayRightUp);
  POINT pt{};
  ::GetCursorPos(&pt);
  EXPECT_EQ(form.trayMessages[3].x, pt.x);
  EXPECT_EQ(form.trayMessages[3].y, pt.y);
  EXPECT_FALSE(form.trayMessages[3].version4);
}

// A page hidden when the window is made: its controls have no windows until it first shows,
// or until the main window is up, and then get them with the state the model kept meanwhile.
class HiddenPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.page->SetVisible(false);
    form.check->SetChecked(true);
    window.Create(form);
  }
  void TearDown() override { window.Destroy(); }
  HWND Child(int index) const { return ::GetDlgItem(window.hwnd(), 100 + index); }
  // The four windows that exist, in Tab order.
  std::vector<HWND> TabOrder() const {
    std::vector<HWND> order;
    for (HWND w = ::GetWindow(window.hwnd(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
      if (::GetDlgCtrlID(w) >= 100 && ::GetDlgCtrlID(w) <= 103) order.push_back(w);
    return order;
  }
  // The check box's and the edit box's windows are made, shown or not, with the state the
  // model kept meanwhile.
  void ExpectMadeWithTheStateKept(bool shown) {
    const HWND check = Child(0), edit = Child(1);
    ASSERT_NE(check, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Shown(check), shown);
    EXPECT_EQ(Shown(edit), shown);
    EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(::IsWindowEnabled(check));
    EXPECT_EQ(WindowText(edit), "Typed while hidden");
    // The ordered button first, the check box after the edit box, as with every window
    // made at once.
    EXPECT_EQ(TabOrder(), (std::vector<HWND>{Child(2), edit, check, Child(3)}));
  }

  SmallForm form;
  MainWindow window{::GetModuleHandleW(nullptr)};
};

TEST_F(HiddenPageTest, ItsControlsGetTheirWindowsWhenThePageFirstShows) {
  EXPECT_EQ(Child(0), nullptr);
  EXPECT_EQ(Child(1), nullptr);
  ASSERT_NE(Child(2), nullptr);
  ASSERT_NE(Child(3), nullptr);
  form.edit->SetText("Typed while hidden");
  form.check->SetEnabled(false);
  EXPECT_EQ(Child(1), nullptr);

  form.page->SetVisible(true);
  ExpectMadeWithTheStateKept(true);
  RECT r{};
  ::GetWindowRect(Child(1), &r);
  ::MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  // The page at (10, 10) holds the edit box at (5, 30), 80 wide, at the screen's scale.
  HDC dc = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(nullptr, dc);
  EXPECT_EQ(r.left, ::MulDiv(15, dpi, 96));
  EXPECT_EQ(r.top, ::MulDiv(40, dpi, 96));
  EXPECT_EQ(r.right - r.left, ::MulDiv(80, dpi, 96));
}

TEST_F(HiddenPageTest, ItsControlsGetHiddenWindowsOnceTheMainWindowIsUp) {
  form.edit->SetText("Typed while hidden");
  form.check->SetEnabled(false);
  window.Show();
  ::ShowWindow(window.hwnd(), SW_HIDE);
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  ExpectMadeWithTheStateKept(false);

  const HWND check = Child(0);
  form.page->SetVisible(true);  // the windows already made are the ones shown
  EXPECT_EQ(Child(0), check);
  EXPECT_TRUE(Shown(check));
}

}  // namespace
}  // namespace kv::win32

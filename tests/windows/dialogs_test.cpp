// Modal boxes against the real dialog manager, driven like a user would: a thread-local
// CBT hook notices each box as it opens, and a moment later (from the box's own modal
// loop) the test reads what it shows and types, clicks or closes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <string>

#include "core/error.h"
#include "platform/win32/wide.h"
#include "tests/windows/desktop_turn.h"
#include "platform/win32/services/win32_dialogs.h"

namespace kv::win32 {
namespace {

// While alive, runs `act` once for every dialog box this thread opens. A box the action
// leaves open is ended after a few seconds (with IDABORT) so a fault fails, never hangs.
class ModalDriver {
 public:
  explicit ModalDriver(std::function<void(HWND)> act) : act_(std::move(act)) {
    current_ = this;
    hook_ = ::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
  }
  ~ModalDriver() {
    ::UnhookWindowsHookEx(hook_);
    // Thread timers outlive the box; one left running would fire in a later test's box.
    if (actTimer_ != 0) ::KillTimer(nullptr, actTimer_);
    if (watchdogTimer_ != 0) ::KillTimer(nullptr, watchdogTimer_);
    current_ = nullptr;
  }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  int opened() const { return static_cast<int>(seen_.size()); }
  bool abandoned() const { return abandoned_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_ != nullptr) {
      const HWND window = reinterpret_cast<HWND>(wParam);
      wchar_t className[32] = {};
      ::GetClassNameW(window, className, 32);
      if (std::wstring(className) == L"#32770" && current_->seen_.insert(window).second) {
        // Activation can come while the box is still being set up; act once it is running.
        current_->pending_ = window;
        current_->actTimer_ = ::SetTimer(nullptr, 0, 20, Act);
      }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static void CALLBACK Act(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (current_ == nullptr || current_->pending_ == nullptr) return;
    current_->actTimer_ = 0;
    const HWND box = current_->pending_;
    current_->pending_ = nullptr;
    current_->watched_ = box;
    current_->act_(box);
    if (current_->watchdogTimer_ != 0) ::KillTimer(nullptr, current_->watchdogTimer_);
    current_->watchdogTimer_ = ::SetTimer(nullptr, 0, 5000, Watchdog);
  }

  static void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (current_ == nullptr) return;
    current_->watchdogTimer_ = 0;
    if (::IsWindow(current_->watched_)) {
      current_->abandoned_ = true;
      ::EndDialog(current_->watched_, IDABORT);
    }
  }

  static thread_local ModalDriver* current_;
  std::function<void(HWND)> act_;
  HHOOK hook_ = nullptr;
  std::set<HWND> seen_;
  HWND pending_ = nullptr;
  HWND watched_ = nullptr;
  UINT_PTR actTimer_ = 0;
  UINT_PTR watchdogTimer_ = 0;
  bool abandoned_ = false;
};

thread_local ModalDriver* ModalDriver::current_ = nullptr;

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Click(HWND box, int id) {
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
}

void PressKey(HWND target, WPARAM key) { ::PostMessageW(target, WM_KEYDOWN, key, 0); }

void Type(HWND edit, const std::wstring& text) {
  for (wchar_t c : text) ::PostMessageW(edit, WM_CHAR, c, 0);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// What a driver saw in an input box when it opened.
struct SeenInputBox {
  std::wstring caption, prompt, text;
  DWORD selStart = 0, selEnd = 0;
  HWND owner = nullptr;
  bool editFocused = false;
  RECT box{}, prompt_rect{};
};

SeenInputBox Look(HWND box) {
  SeenInputBox seen;
  const HWND edit = ::GetDlgItem(box, kInputBoxEditId);
  seen.caption = TextOf(box);
  seen.prompt = TextOf(::GetDlgItem(box, kInputBoxPromptId));
  seen.text = TextOf(edit);
  ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&seen.selStart),
                 reinterpret_cast<LPARAM>(&seen.selEnd));
  seen.owner = ::GetWindow(box, GW_OWNER);
  seen.editFocused = ::GetFocus() == edit;
  ::GetWindowRect(box, &seen.box);
  ::GetClientRect(::GetDlgItem(box, kInputBoxPromptId), &seen.prompt_rect);
  return seen;
}

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = ::CreateWindowExW(0, L"STATIC", L"Keyvane", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 90,
                               420, 320, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override { ::DestroyWindow(owner_); }

  // The input box tests need the focus.
  DesktopTurn turn_{L"KeyvaneTestsFocusTurn"};
  HWND owner_ = nullptr;
  std::string title_ = "Keyvane";
  Win32Dialogs dialogs_{[this] { return owner_; }, [this] { return title_; }};
};

TEST_F(DialogsTest, InputBoxOffersTheSuggestionSelectedAndReturnsWhatWasTyped) {
  SeenInputBox seen;
  ModalDriver driver([&](HWND box) {
    seen = Look(box);
    const HWND edit = ::GetDlgItem(box, kInputBoxEditId);
    Type(edit, L"New \u00E9");
    PressKey(edit, VK_RETURN);  // the default button is OK
  });
  const std::optional<std::string> answer =
      dialogs_.InputBox("Rename key", "Type the new name & press OK:", "Old name");

  EXPECT_EQ(driver.opened(), 1);
  EXPECT_FALSE(driver.abandoned());
  EXPECT_EQ(answer, "New \xC3\xA9") << "typing replaces the selected suggestion";
  EXPECT_EQ(seen.caption, L"Rename key");
  EXPECT_EQ(seen.prompt, L"Type the new name & press OK:");
  EXPECT_EQ(seen.text, L"Old name");
  EXPECT_EQ(seen.selStart, 0u);
  EXPECT_EQ(seen.selEnd, 8u);
  EXPECT_TRUE(seen.editFocused);
  EXPECT_EQ(seen.owner, owner_);
}

TEST_F(DialogsTest, InputBoxOkKeepsUnicodeSuggestionUnchanged) {
  const std::string initial =
      "Gr\xC3\xB6\xC3\x9F"
      "e \xE4\xB8\xAD \xF0\x9F\x98\x80";
  ModalDriver driver([](HWND box) { Click(box, IDOK); });
  EXPECT_EQ(dialogs_.InputBox("Name", "Name:", initial), initial);
  EXPECT_EQ(dialogs_.InputBox("Name", "Name:", ""), std::string());
  EXPECT_EQ(driver.opened(), 2);
}

TEST_F(DialogsTest, InputBoxCancelEscapeAndCloseReturnNothing) {
  const std::function<void(HWND)> ways[] = {
      [](HWND box) { Click(box, IDCANCEL); },
      [](HWND box) { PressKey(::GetDlgItem(box, kInputBoxEditId), VK_ESCAPE); },
      [](HWND box) { ::PostMessageW(box, WM_CLOSE, 0, 0); },
  };
  for (const auto& way : ways) {
    ModalDriver driver([&](HWND box) {
      Type(::GetDlgItem(box, kInputBoxEditId), L"typed, then abandoned");
      way(box);
    });
    EXPECT_EQ(dialogs_.InputBox("Rename", "Name:", "kept"), std::nullopt);
    EXPECT_EQ(driver.opened(), 1);
    EXPECT_FALSE(driver.abandoned());
  }
}

TEST_F(DialogsTest, InputBoxWrapsALongPromptAndSitsOverItsOwner) {
  std::wstring prompt;
  while (prompt.size() < 200) prompt += L"Keyvane shows this rather long explanation. ";
  bool fits = false;
  SeenInputBox seen;
  ModalDriver driver([&](HWND box) {
    seen = Look(box);
    const HWND label = ::GetDlgItem(box, kInputBoxPromptId);
    const HDC dc = ::GetDC(label);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT needed = seen.prompt_rect;
    ::DrawTextW(dc, prompt.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    fits = needed.bottom <= seen.prompt_rect.bottom && needed.right <= seen.prompt_rect.right;
    Click(box, IDCANCEL);
  });
  dialogs_.InputBox("Rename", Narrow(prompt), "");

  EXPECT_TRUE(fits) << "the whole prompt shows in the label";
  RECT ownerRect{};
  ::GetWindowRect(owner_, &ownerRect);
  const POINT boxCentre = Centre(seen.box);
  const POINT ownerCentre = Centre(ownerRect);
  EXPECT_LE(std::abs(boxCentre.x - ownerCentre.x), 2);
  EXPECT_LE(std::abs(boxCentre.y - ownerCentre.y), 2);
}

TEST_F(DialogsTest, InputBoxWithoutVisibleOwnerIsCentredOnTheScreen) {
  ::ShowWindow(owner_, SW_HIDE);
  RECT box{};
  ModalDriver driver([&](HWND dialog) {
    ::GetWindowRect(dialog, &box);
    Click(dialog, IDCANCEL);
  });
  dialogs_.InputBox("Rename", "Name:", "");

  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs(Centre(box).x - Centre(work).x), 2);
  EXPECT_LE(std::abs(Centre(box).y - Centre(work).y), 2);
  EXPECT_GE(box.left, work.left);
  EXPECT_GE(box.top, work.top);
}

TEST_F(DialogsTest, MessageBoxShowsTextAndReturnsTheAnswer) {
  std::wstring caption, text;
  HWND owner = nullptr;
  ModalDriver driver([&](HWND box) {
    caption = TextOf(box);
    text = TextOf(::GetDlgItem(box, 0xFFFF));  // the message's label
    owner = ::GetWindow(box, GW_OWNER);
    Click(box, IDNO);
  });
  const int answer = dialogs_.ShowMessage(
      "Delete the theme \xE2\x80\x9C"
      "Blue\xE2\x80\x9D?",
      "Keyvane \xE4\xB8\xAD", platform::mb::kYesNo | platform::mb::kIconQuestion);
  EXPECT_EQ(answer, platform::mb::kIdNo);
  EXPECT_EQ(caption, L"Keyvane \u4E2D");
  EXPECT_EQ(text, L"Delete the theme \u201CBlue\u201D?");
  EXPECT_EQ(owner, owner_);

  ModalDriver yes([](HWND box) { Click(box, IDYES); });
  EXPECT_EQ(dialogs_.ShowMessage("Again?", "Keyvane", platform::mb::kYesNo), platform::mb::kIdYes);
}

TEST_F(DialogsTest, ErrorBoxCarriesTheCurrentApplicationTitle) {
  std::wstring caption;
  bool hasCancel = true;
  ModalDriver driver([&](HWND box) {
    caption = TextOf(box);
    hasCancel =
        ::GetDlgItem(box, IDCANCEL) != nullptr && ::IsWindowVisible(::GetDlgItem(box, IDCANCEL));
    PressKey(::GetDlgItem(box, IDOK), VK_RETURN);
  });
  title_ = "Keyvane - Blue";  // the title changes after the dialogs were made
  dialogs_.ShowError("Cannot write file \"C:\\Keyvane\\Keyvane.ini\".");
  EXPECT_EQ(driver.opened(), 1);
  EXPECT_FALSE(driver.abandoned());
  EXPECT_EQ(caption, L"Keyvane - Blue");
  EXPECT_FALSE(hasCancel) << "an error box has OK only";
}

}  // namespace
}  // namespace kv::win32

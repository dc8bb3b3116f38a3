// The notification-area icon: what Keyvane asks of the shell in each state (seen through a
// recording notifier), text cutting, and the real Shell_NotifyIcon on a hidden window.
#include <gtest/gtest.h>
// windows.h first, shellapi.h relies on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/services/win32_tray.h"

namespace kv::win32 {
namespace {

constexpr UINT kCallback = WM_APP + 1;
const HICON kProhibited = reinterpret_cast<HICON>(0x1010);
const HICON kPlain = reinterpret_cast<HICON>(0x2020);
const HWND kOwner = reinterpret_cast<HWND>(0x3030);

TEST(CutToUnitsTest, CutsByUtf16UnitsWithoutSplittingPairs) {
  EXPECT_EQ(CutToUnits(L"Keyvane", 63), L"Keyvane");
  EXPECT_EQ(CutToUnits(L"abcdef", 6), L"abcdef");
  EXPECT_EQ(CutToUnits(L"abcdef", 4), L"abcd");
  EXPECT_EQ(CutToUnits(L"abc", 0), L"");
  // U+1F600 takes two units; cutting between them would leave half a character.
  EXPECT_EQ(CutToUnits(L"ab\U0001F600cd", 3), L"ab");
  EXPECT_EQ(CutToUnits(L"ab\U0001F600cd", 4), L"ab\U0001F600");
  EXPECT_EQ(CutToUnits(L"\U0001F600", 1), L"");
}

struct Request {
  DWORD message;
  NOTIFYICONDATAW data;
};

class TrayLogicTest : public ::testing::Test {
 protected:
  Win32TrayIcon MakeTray() {
    return Win32TrayIcon([] { return kOwner; }, kCallback, {kProhibited, kPlain}, "Keyvane",
                         [this](DWORD message, const NOTIFYICONDATAW& data) {
                           // The version asked for is kept apart: it follows every add.
                           if (message == NIM_SETVERSION) return versions_.push_back(data.uVersion), acceptVersion_;
                           requests_.push_back({message, data});
                           return !(message == NIM_ADD && failAdds_ > 0 && failAdds_-- > 0) &&
                                  !(message == NIM_MODIFY && failModifies_);
                         });
  }
  std::vector<DWORD> Messages() const {
    std::vector<DWORD> messages;
    for (const Request& r : requests_) messages.push_back(r.message);
    return messages;
  }

  std::vector<Request> requests_;
  std::vector<UINT> versions_;
  bool acceptVersion_ = true;
  int failAdds_ = 0;
  bool failModifies_ = false;
};

TEST_F(TrayLogicTest, ShowingAddsTheIconWithEverythingTheShellNeeds) {
  Win32TrayIcon tray = MakeTray();
  tray.SetImageIndex(0);  // chosen while hidden: remembered, not sent
  EXPECT_TRUE(requests_.empty());

  tray.SetVisible(true);
  ASSERT_EQ(requests_.size(), 1u);
  const NOTIFYICONDATAW& add = requests_[0].data;
  EXPECT_EQ(requests_[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.cbSize, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(add.hWnd, kOwner);
  EXPECT_EQ(add.uID, 1u);
  // Version 4 reports Enter, Space and the menu key on the focused icon; its tip then needs
  // NIF_SHOWTIP to show.
  EXPECT_EQ(add.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP));
  EXPECT_EQ(versions_, std::vector<UINT>{NOTIFYICON_VERSION_4});
  EXPECT_TRUE(tray.Version4());
  EXPECT_EQ(add.uCallbackMessage, kCallback);
  EXPECT_EQ(add.hIcon, kProhibited);
  EXPECT_STREQ(add.szTip, L"Keyvane");
  EXPECT_TRUE(tray.Visible());
  EXPECT_FALSE(tray.AddPending());

  tray.SetVisible(true);  // already there: nothing to ask
  tray.SetImageIndex(1);
  ASSERT_EQ(requests_.size(), 2u);
  EXPECT_EQ(requests_[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(requests_[1].data.uFlags, static_cast<UINT>(NIF_ICON));
  EXPECT_EQ(requests_[1].data.hIcon, kPlain);
  EXPECT_EQ(tray.ImageIndex(), 1);

  tray.SetImageIndex(7);  // no such image
  EXPECT_EQ(tray.ImageIndex(), 1);
  EXPECT_EQ(requests_.size(), 2u);

  tray.SetVisible(false);
  acceptVersion_ = false;  // a shell without version 4: the old messages, and no claim of it
  tray.SetVisible(true);
  EXPECT_FALSE(tray.Version4());
  tray.SetVisible(false);
  EXPECT_EQ(Messages().back(), static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(requests_.back().data.uID, 1u);
  EXPECT_FALSE(tray.Visible());
}

TEST_F(TrayLogicTest, BalloonIsCutToWhatTheShellHoldsAndShownOnlyWithTheIcon) {
  Win32TrayIcon tray = MakeTray();
  tray.ShowBalloon("Hidden", "no icon, no balloon", 5);
  EXPECT_TRUE(requests_.empty());

  tray.SetVisible(true);
  // 62 letters then an emoji: the pair would straddle the 63-unit limit of the title.
  const std::string title = std::string(62, 'T') + "\xF0\x9F\x98\x80";
  const std::string text = std::string(300, 'x');
  tray.ShowBalloon(title, text, 4);
  const NOTIFYICONDATAW& balloon = requests_.back().data;
  EXPECT_EQ(requests_.back().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(balloon.uFlags, static_cast<UINT>(NIF_INFO));
  EXPECT_EQ(balloon.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
  EXPECT_EQ(balloon.uTimeout, 4000u);
  EXPECT_EQ(std::wstring(balloon.szInfoTitle), std::wstring(62, L'T'));
  EXPECT_EQ(std::wstring(balloon.szInfo), std::wstring(255, L'x'));

  tray.ShowBalloon("T", "\xC3\xA9t\xC3\xA9", -3);
  EXPECT_EQ(std::wstring(requests_.back().data.szInfo), L"\u00E9t\u00E9");
  EXPECT_EQ(requests_.back().data.uTimeout, 0u);
}

TEST_F(TrayLogicTest, FailedAddAtLogOnIsRetriedWithTheCurrentImage) {
  Win32TrayIcon tray = MakeTray();
  failAdds_ = 2;
  failModifies_ = true;  // the icon really is not there
  tray.SetVisible(true);
  EXPECT_TRUE(tray.AddPending());
  EXPECT_TRUE(tray.Visible());

  tray.SetImageIndex(0);
  tray.ShowBalloon("Keyvane", "not yet", 3);
  EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY})) << "nothing to modify yet";

  tray.RetryIfPending();  // the taskbar still refuses
  EXPECT_TRUE(tray.AddPending());
  failModifies_ = false;
  requests_.clear();
  tray.RetryIfPending();
  EXPECT_FALSE(tray.AddPending());
  // The balloon asked for meanwhile comes once the icon is there.
  ASSERT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
  EXPECT_EQ(requests_[0].data.hIcon, kProhibited);
  EXPECT_STREQ(requests_[1].data.szInfo, L"not yet");

  requests_.clear();
  tray.RetryIfPending();  // nothing pending: nothing asked
  EXPECT_TRUE(requests_.empty());
}

// A start holds the add back until the window is up: nothing reaches the shell before, and the
// release brings the icon as the program left it, then its balloon.
TEST_F(TrayLogicTest, AnAddHeldBackForTheStartBringsTheIconAndItsBalloonOnRelease) {
  Win32TrayIcon tray = MakeTray();
  tray.HoldAdds();
  tray.SetImageIndex(0);
  tray.SetVisible(true);
  tray.ShowBalloon("Keyvane", "started from the Startup folder", 10);
  EXPECT_TRUE(requests_.empty());
  EXPECT_TRUE(tray.Visible());
  EXPECT_TRUE(tray.AddPending());
  tray.RetryIfPending();  // the log-on retry does not release a held add
  EXPECT_TRUE(requests_.empty());

  tray.ReleaseAdds();
  EXPECT_FALSE(tray.AddsHeld());
  EXPECT_FALSE(tray.AddPending());
  ASSERT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
  EXPECT_EQ(requests_[0].data.hIcon, kProhibited);
  EXPECT_STREQ(requests_[1].data.szInfo, L"started from the Startup folder");
  EXPECT_EQ(requests_[1].data.uTimeout, 10000u);
  EXPECT_EQ(versions_, std::vector<UINT>{NOTIFYICON_VERSION_4});

  requests_.clear();
  tray.ReleaseAdds();  // nothing held: nothing asked
  tray.SetVisible(false);
  tray.HoldAdds();
  tray.SetVisible(true);
  tray.ShowBalloon("Keyvane", "hidden before the release", 3);
  tray.SetVisible(false);  // hidden again: neither icon nor balloon is owed
  tray.ReleaseAdds();
  EXPECT_EQ(Messages(), std::vector<DWORD>{NIM_DELETE});
}

TEST_F(TrayLogicTest, AddThatTimedOutButTookTheIconIsNotRepeated) {
  Win32TrayIcon tray = MakeTray();
  failAdds_ = 1;  // NIM_ADD reports failure, yet the icon can be modified: it is there
  tray.SetVisible(true);
  EXPECT_FALSE(tray.AddPending());
  EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
}

TEST_F(TrayLogicTest, NewTaskbarGetsTheIconBackOnlyWhenShown) {
  Win32TrayIcon tray = MakeTray();
  tray.Readd();
  EXPECT_TRUE(requests_.empty());

  tray.SetVisible(true);
  tray.SetImageIndex(0);
  requests_.clear();
  tray.Readd();
  ASSERT_EQ(Messages(), std::vector<DWORD>{NIM_ADD});
  EXPECT_EQ(requests_[0].data.hIcon, kProhibited);

  tray.SetVisible(false);
  requests_.clear();
  tray.Readd();
  EXPECT_TRUE(requests_.empty());
}

TEST_F(TrayLogicTest, HidingAPendingIconAsksNothingAndDestructionRemovesAShownOne) {
  {
    Win32TrayIcon tray = MakeTray();
    failAdds_ = 1;
    failModifies_ = true;
    tray.SetVisible(true);
    requests_.clear();
    tray.SetVisible(false);
    EXPECT_FALSE(tray.AddPending());
    tray.RetryIfPending();
    EXPECT_TRUE(requests_.empty());
  }
  failModifies_ = false;
  {
    Win32TrayIcon tray = MakeTray();
    tray.SetVisible(true);
    requests_.clear();
  }
  EXPECT_EQ(Messages(), std::vector<DWORD>{NIM_DELETE});
}

// The real shell: the icon appears (it can be modified) and goes (it no longer can).
TEST(TrayShellTest, AddModifyBalloonAndDeleteOnAHiddenWindow) {
  const HWND window = ::CreateWindowExW(0, L"STATIC", L"Keyvane tray test", WS_POPUP, 0, 0, 10, 10,
                                        nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  const HICON prohibited = ::LoadIconW(nullptr, IDI_ERROR);
  const HICON plain = ::LoadIconW(nullptr, IDI_APPLICATION);
  auto iconExists = [window] {
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof(probe);
    probe.hWnd = window;
    probe.uID = 1;
    probe.uFlags = NIF_TIP;
    wcscpy_s(probe.szTip, L"Keyvane");
    return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != 0;
  };
  {
    Win32TrayIcon tray([window] { return window; }, kCallback, {prohibited, plain});
    tray.SetVisible(true);
    EXPECT_FALSE(tray.AddPending());
    EXPECT_TRUE(iconExists());
    tray.SetImageIndex(0);
    tray.ShowBalloon("Keyvane", "Caps Lock is on", 2);
    tray.Readd();
    EXPECT_FALSE(tray.AddPending());
    tray.SetVisible(false);
    EXPECT_FALSE(iconExists());
    tray.SetVisible(true);
    EXPECT_TRUE(iconExists());
  }
  EXPECT_FALSE(iconExists()) << "destroying the tray object removes its icon";
  ::DestroyWindow(window);
}

}  // namespace
}  // namespace kv::win32

// Global hot keys on a real (hidden) window: registration, refusal of a taken combination,
// and delivery of WM_HOTKEY to the window that exists when the key is registered.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/services/win32_hotkeys.h"

namespace kv::win32 {
namespace {

// Combinations nothing else in the test prefix uses; each test has its own, since the
// tests may run in parallel processes and hot keys are system-wide.
constexpr UINT kModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

HWND CreateHiddenWindow() {
  return ::CreateWindowExW(0, L"STATIC", L"Keyvane hot key test", WS_POPUP, 0, 0, 10, 10, nullptr,
                           nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

class HotKeysTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (window_ != nullptr) ::DestroyWindow(window_);
  }
  HWND window_ = nullptr;
  // Built before the window exists, as in the program.
  Win32HotKeys hotKeys_{[this] { return window_; }};
};

TEST_F(HotKeysTest, RefusedUntilTheWindowExists) {
  constexpr UINT kKey = VK_F9;
  EXPECT_FALSE(hotKeys_.Register(1, kModifiers, kKey));
  window_ = CreateHiddenWindow();
  ASSERT_NE(window_, nullptr);
  EXPECT_TRUE(hotKeys_.Register(1, kModifiers, kKey));
  EXPECT_TRUE(hotKeys_.Unregister(1));
}

TEST_F(HotKeysTest, TakenCombinationIsRefusedAndFreedByUnregister) {
  constexpr UINT kKey = VK_F10;
  window_ = CreateHiddenWindow();
  ASSERT_NE(window_, nullptr);
  ASSERT_TRUE(hotKeys_.Register(0xC001, kModifiers, kKey));

  EXPECT_FALSE(hotKeys_.Register(0xC002, kModifiers, kKey));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
  // The same combination from another window (another program, as far as it knows).
  HWND other = CreateHiddenWindow();
  Win32HotKeys otherKeys([other] { return other; });
  EXPECT_FALSE(otherKeys.Register(7, kModifiers, kKey));

  EXPECT_TRUE(hotKeys_.Unregister(0xC001));
  EXPECT_FALSE(hotKeys_.Unregister(0xC001)) << "already gone";
  EXPECT_TRUE(otherKeys.Register(7, kModifiers, kKey));
  EXPECT_TRUE(otherKeys.Unregister(7));
  ::DestroyWindow(other);
}

TEST_F(HotKeysTest, KeyPressArrivesAsHotKeyMessageForTheRegisteredId) {
  window_ = CreateHiddenWindow();
  ASSERT_NE(window_, nullptr);
  ASSERT_TRUE(hotKeys_.Register(0xC0DE, MOD_CONTROL | MOD_ALT, VK_F8));

  auto key = [](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
  };
  INPUT inputs[] = {key(VK_CONTROL, false), key(VK_MENU, false), key(VK_F8, false),
                    key(VK_F8, true),       key(VK_MENU, true),  key(VK_CONTROL, true)};
  ASSERT_EQ(::SendInput(6, inputs, sizeof(INPUT)), 6u);

  MSG message{};
  bool arrived = false;
  const ULONGLONG deadline = ::GetTickCount64() + 3000;
  while (!arrived && ::GetTickCount64() < deadline) {
    if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      continue;
    }
    if (message.message == WM_HOTKEY) {
      arrived = true;
      EXPECT_EQ(message.hwnd, window_);
      EXPECT_EQ(message.wParam, 0xC0DEu);
      EXPECT_EQ(LOWORD(message.lParam), MOD_CONTROL | MOD_ALT);
      EXPECT_EQ(HIWORD(message.lParam), VK_F8);
    }
  }
  EXPECT_TRUE(arrived);
  EXPECT_TRUE(hotKeys_.Unregister(0xC0DE));
}

}  // namespace
}  // namespace kv::win32

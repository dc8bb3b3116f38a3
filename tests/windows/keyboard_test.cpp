// Pasting against the real API: the clipboard's text (also while another program holds the
// clipboard), the key for a character, and synthetic key presses reaching the focused window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_keyboard.h"
#include "tests/windows/desktop_turn.h"

#include "tests/windows/test_support.h"

namespace kv::win32 {
namespace {

// The clipboard and the keyboard focus belong to the whole desktop, and test cases run in
// parallel processes: a named mutex takes turns.
bool OpenClipboardSoon(HWND owner) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (::OpenClipboard(owner)) return true;
    ::Sleep(10);
  }
  return false;
}

// The clipboard's data in one format as raw bytes; nullopt when the format is not there.
std::optional<std::string> ClipboardBytes(UINT format) {
  if (!OpenClipboardSoon(nullptr)) {
    ADD_FAILURE() << "cannot open the clipboard to read it";
    return std::nullopt;
  }
  std::optional<std::string> bytes;
  if (HANDLE data = ::GetClipboardData(format)) {
    if (const void* p = ::GlobalLock(data)) {
      bytes = std::string(static_cast<const char*>(p), ::GlobalSize(data));
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return bytes;
}

std::optional<std::wstring> ClipboardUnicode() {
  const std::optional<std::string> bytes = ClipboardBytes(CF_UNICODETEXT);
  if (!bytes) return std::nullopt;
  std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes->data(), text.size() * sizeof(wchar_t));
  return std::wstring(UpToNul(text));
}

std::optional<std::string> ClipboardAnsi() {
  const std::optional<std::string> bytes = ClipboardBytes(CF_TEXT);
  if (!bytes) return std::nullopt;
  return bytes->substr(0, bytes->find('\0'));
}

std::string ToAnsi(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), size, nullptr, nullptr);
  return ansi.substr(0, ansi.find('\0'));
}

// Starts the helper holding the clipboard open for `milliseconds`; returns once it holds it.
class ClipboardHolder {
 public:
  explicit ClipboardHolder(DWORD milliseconds) {
    const std::wstring eventName =
        L"KeyvaneClipboardHeld-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
        std::to_wstring(::GetTickCount64());
    ready_.reset(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    const std::wstring exe = OwnFolder() + L"\\keyvane_testhelper.exe";
    std::wstring commandLine =
        L"\"" + exe + L"\" holdclipboard " + std::to_wstring(milliseconds) + L" " + eventName;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!ready_ || !::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &startup, &info))
      return;
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    // Messages keep flowing meanwhile: the system's clipboard service may ask the owner
    // window about the data just placed before the helper can open the clipboard.
    const HANDLE either[] = {ready_.get(), process_.get()};
    const ULONGLONG deadline = ::GetTickCount64() + 20000;
    for (;;) {
      const ULONGLONG now = ::GetTickCount64();
      if (now >= deadline) break;
      const DWORD woke = ::MsgWaitForMultipleObjects(2, either, FALSE,
                                                      static_cast<DWORD>(deadline - now), QS_ALLINPUT);
      if (woke == WAIT_OBJECT_0) holding_ = true;
      if (woke != WAIT_OBJECT_0 + 2) break;
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }
  }
  ~ClipboardHolder() { Finish(); }
  bool holding() const { return holding_; }
  // Waits until the helper has let go and ended; its exit code.
  DWORD Finish() {
    DWORD code = 99;
    if (!process_) return code;
    if (::WaitForSingleObject(process_.get(), 20000) != WAIT_OBJECT_0)
      ::TerminateProcess(process_.get(), 99);
    ::GetExitCodeProcess(process_.get(), &code);
    process_.reset();
    return code;
  }

 private:
  UniqueHandle ready_;
  UniqueHandle process_;
  bool holding_ = false;
};

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(turn_.held()) << "another test process kept the clipboard for a minute";
    window_ = ::CreateWindowExW(0, L"STATIC", L"Keyvane clipboard test", WS_POPUP, 0, 0, 10, 10,
                                nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (window_ != nullptr) ::DestroyWindow(window_);
  }

  DesktopTurn turn_{L"KeyvaneTestsClipboardTurn"};
  HWND window_ = nullptr;
  // Owned by the main window, as in the program.
  Win32Keyboard keyboard_{[this] { return window_; }};
};

TEST_F(ClipboardTest, TextRoundTripsAsUnicodeAndIsOfferedAsAnsi) {
  ASSERT_TRUE(keyboard_.SetClipboardText("\xCE\xA9 \xE2\x82\xAC"));  // "Ω €"
  EXPECT_EQ(ClipboardUnicode(), std::optional<std::wstring>(L"\u03A9 \u20AC"));
  EXPECT_EQ(::GetClipboardOwner(), window_);

  const std::wstring text = L"Keyvane \u20AC 1\r\nsecond line \u00E9";
  ASSERT_TRUE(keyboard_.SetClipboardText(Narrow(text)));
  EXPECT_EQ(ClipboardUnicode(), std::optional<std::wstring>(text));
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(ClipboardAnsi(), std::optional<std::string>(ToAnsi(text)));

  const std::wstring outside = L"key \U0001F511";
  ASSERT_TRUE(keyboard_.SetClipboardText(Narrow(outside)));
  EXPECT_EQ(ClipboardUnicode(), std::optional<std::wstring>(outside));
}

TEST_F(ClipboardTest, EmptyTextLeavesEmptyText) {
  ASSERT_TRUE(keyboard_.SetClipboardText("before"));
  ASSERT_TRUE(keyboard_.SetClipboardText(""));
  EXPECT_EQ(ClipboardUnicode(), std::optional<std::wstring>(L""));
  EXPECT_EQ(ClipboardAnsi(), std::optional<std::string>(""));
}

TEST_F(ClipboardTest, ReplacesEverythingThatWasOnTheClipboard) {
  const UINT privateFormat = ::RegisterClipboardFormatW(L"Keyvane test format");
  ASSERT_NE(privateFormat, 0u);
  ASSERT_TRUE(OpenClipboardSoon(window_));
  ::EmptyClipboard();
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_NE(memory, nullptr);
  std::memcpy(::GlobalLock(memory), "abc", 4);
  ::GlobalUnlock(memory);
  EXPECT_NE(::SetClipboardData(privateFormat, memory), nullptr);
  ::CloseClipboard();
  ASSERT_TRUE(::IsClipboardFormatAvailable(privateFormat));

  ASSERT_TRUE(keyboard_.SetClipboardText("new"));
  EXPECT_FALSE(::IsClipboardFormatAvailable(privateFormat)) << "the old content was kept";
  EXPECT_EQ(ClipboardUnicode(), std::optional<std::wstring>(L"new"));
}

TEST_F(ClipboardTest, ClipboardHeldByAnotherProgramIsReportedBusySoon) {
  ASSERT_TRUE(keyboard_.SetClipboardText("before"));
  ClipboardHolder holder(3000);
  ASSERT_TRUE(holder.holding()) << "the helper did not get the clipboard";
  const ULONGLONG start = ::GetTickCount64();
  EXPECT_FALSE(keyboard_.SetClipboardText("while held"));
  const ULONGLONG took = ::GetTickCount64() - start;
  EXPECT_GE(took, 300u) << "gave up without waiting for the other program";
  EXPECT_LT(took, 2000u) << "kept the user waiting";
  EXPECT_EQ(holder.Finish(), 0u);

  EXPECT_TRUE(keyboard_.SetClipboardText("after"));
  EXPECT_EQ(ClipboardUnicode(), std::optional<std::wstring>(L"after"));
}

TEST_F(ClipboardTest, BriefHoldByAnotherProgramIsWaitedOut) {
  ClipboardHolder holder(150);
  ASSERT_TRUE(holder.holding()) << "the helper did not get the clipboard";
  EXPECT_TRUE(keyboard_.SetClipboardText("waited"));
  EXPECT_EQ(holder.Finish(), 0u);
  EXPECT_EQ(ClipboardUnicode(), std::optional<std::wstring>(L"waited"));
}

TEST(KeyScanTest, GivesTheVirtualKeyAndShiftStateOfACharacter) {
  Win32Keyboard keyboard{nullptr};
  const int16_t v = keyboard.KeyScan('v');
  EXPECT_EQ(v & 0xFF, 0x56);
  EXPECT_EQ((v >> 8) & 0xFF, 0) << "no shift for a small letter";
  const int16_t capital = keyboard.KeyScan('V');
  EXPECT_EQ(capital & 0xFF, 0x56);
  EXPECT_EQ((capital >> 8) & 0x01, 1) << "shift for a capital";
  EXPECT_EQ(keyboard.KeyScan('1') & 0xFF, 0x31);
}

// What a focused window sees of synthetic key presses.
struct KeyRecord {
  UINT message;
  WPARAM key;
  UINT scanCode;
  bool controlDown;
};

struct KeyWindowState {
  std::vector<KeyRecord> keys;
  bool lostFocus = false;
};

LRESULT CALLBACK KeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<KeyWindowState*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state != nullptr) {
    switch (message) {
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_SYSKEYDOWN:
      case WM_SYSKEYUP:
        state->keys.push_back({message, wParam, static_cast<UINT>((lParam >> 16) & 0xFF),
                               (::GetKeyState(VK_CONTROL) & 0x8000) != 0});
        return 0;
      case WM_KILLFOCUS:
        state->lostFocus = true;
        break;
      default:
        break;
    }
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void PumpFor(DWORD milliseconds) {
  const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
  MSG message;
  for (;;) {
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
  }
}

class KeyEventTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(turn_.held()) << "another test process kept the keyboard for a minute";
    static const ATOM windowClass = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = KeyWindowProc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      wc.lpszClassName = L"KeyvaneKeyEventTestWindow";
      return ::RegisterClassW(&wc);
    }();
    ASSERT_NE(windowClass, 0);
  }
  void TearDown() override {
    if (window_ != nullptr) ::DestroyWindow(window_);
  }

  // A visible window with the keyboard focus; false when the desktop would not give it.
  bool CreateFocusedWindow() {
    if (window_ != nullptr) ::DestroyWindow(window_);
    state_ = KeyWindowState{};
    window_ = ::CreateWindowExW(WS_EX_TOPMOST, L"KeyvaneKeyEventTestWindow", L"Keyvane key test",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 320, 200, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) return false;
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state_));
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    const ULONGLONG deadline = ::GetTickCount64() + 3000;
    while (::GetTickCount64() < deadline) {
      ::SetForegroundWindow(window_);
      ::SetFocus(window_);
      PumpFor(50);
      if (::GetForegroundWindow() == window_ && ::GetFocus() == window_) {
        state_.lostFocus = false;
        return true;
      }
    }
    return false;
  }

  DesktopTurn turn_{L"KeyvaneTestsFocusTurn"};
  HWND window_ = nullptr;
  KeyWindowState state_;
  Win32Keyboard keyboard_{[] { return static_cast<HWND>(nullptr); }};
};

TEST_F(KeyEventTest, KeyPressesReachTheFocusedWindowInOrder) {
  constexpr uint8_t kControlScan = 0x1D, kCScan = 0x2E;
  const std::vector<platform::KeyStroke> ctrlC = {{VK_CONTROL, kControlScan, false},
                                                  {'C', kCScan, false},
                                                  {'C', kCScan, true},
                                                  {VK_CONTROL, kControlScan, true}};
  std::vector<KeyRecord> keys;
  bool disturbed = true;
  size_t accepted = 0;
  // Key presses of other test processes can reach this window; then the round is repeated.
  for (int round = 0; round < 3 && disturbed; ++round) {
    if (!CreateFocusedWindow())
      GTEST_SKIP() << "this desktop does not give a test window the keyboard focus";
    accepted = keyboard_.SendKeys(ctrlC);
    const ULONGLONG deadline = ::GetTickCount64() + 3000;
    while (state_.keys.size() < 4 && ::GetTickCount64() < deadline) PumpFor(50);
    PumpFor(100);  // anything that would come after
    keys = state_.keys;
    disturbed = state_.lostFocus;
    for (const KeyRecord& k : keys)
      if (k.key != VK_CONTROL && k.key != 'C') disturbed = true;
  }
  ASSERT_FALSE(disturbed) << "other key presses kept reaching the test window";
  EXPECT_EQ(accepted, 4u) << "SendInput reported fewer events than it was given";
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(keys[0].key, static_cast<WPARAM>(VK_CONTROL));
  EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(keys[1].key, static_cast<WPARAM>('C'));
  EXPECT_TRUE(keys[1].controlDown) << "C arrived without Ctrl held";
  EXPECT_EQ(keys[2].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(keys[2].key, static_cast<WPARAM>('C'));
  EXPECT_EQ(keys[3].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(keys[3].key, static_cast<WPARAM>(VK_CONTROL));
  EXPECT_FALSE(keys[3].controlDown);
  // The scan code given travels with its key.
  EXPECT_EQ(keys[0].scanCode, kControlScan);
  EXPECT_EQ(keys[1].scanCode, kCScan);
  EXPECT_EQ(keys[2].scanCode, kCScan);
  EXPECT_EQ(keys[3].scanCode, kControlScan);
}

TEST_F(KeyEventTest, AThreeKeyCombinationArrivesWholeAndLeavesNoKeyDown) {
  // Ctrl+Shift+Tab, as a key of Keyvane sends "10Tab" (no Alt: it would open the window menu).
  const std::vector<platform::KeyStroke> combo = {{VK_CONTROL, 0, false}, {VK_SHIFT, 0, false},
                                                  {VK_TAB, 0, false},     {VK_TAB, 0, true},
                                                  {VK_SHIFT, 0, true},    {VK_CONTROL, 0, true}};
  const std::vector<std::pair<UINT, WPARAM>> expected = {
      {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, VK_TAB},
      {WM_KEYUP, VK_TAB},       {WM_KEYUP, VK_SHIFT},   {WM_KEYUP, VK_CONTROL}};
  std::vector<std::pair<UINT, WPARAM>> seen;
  size_t accepted = 0;
  bool disturbed = true;
  for (int round = 0; round < 3 && disturbed; ++round) {
    if (!CreateFocusedWindow())
      GTEST_SKIP() << "this desktop does not give a test window the keyboard focus";
    accepted = keyboard_.SendKeys(combo);
    const ULONGLONG deadline = ::GetTickCount64() + 3000;
    while (state_.keys.size() < expected.size() && ::GetTickCount64() < deadline) PumpFor(50);
    PumpFor(100);
    seen.clear();
    for (const KeyRecord& k : state_.keys) seen.emplace_back(k.message, k.key);
    disturbed = state_.lostFocus;
    for (const KeyRecord& k : state_.keys)
      if (k.key != VK_CONTROL && k.key != VK_SHIFT && k.key != VK_TAB) disturbed = true;
  }
  ASSERT_FALSE(disturbed) << "other key presses kept reaching the test window";
  EXPECT_EQ(accepted, combo.size());
  EXPECT_EQ(seen, expected);
  for (const int key : {VK_CONTROL, VK_SHIFT, VK_TAB})
    EXPECT_EQ(::GetAsyncKeyState(key) & 0x8000, 0) << "key 0x" << std::hex << key << " is still down";
}

TEST(SendKeysTest, NothingToSendIsNoCall) {
  Win32Keyboard keyboard{nullptr};
  ::SetLastError(0);
  EXPECT_EQ(keyboard.SendKeys({}), 0u);
  EXPECT_EQ(::GetLastError(), 0u) << "SendInput was called with no events";
}

}  // namespace
}  // namespace kv::win32

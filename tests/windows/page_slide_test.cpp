// The page slide on a real window: where its cover stands among the window's controls, and
// which page a slide lands on when another turn comes while it plays.
#include "platform/win32/window/page_slide.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "platform/win32/handles.h"

namespace kv::win32 {
namespace {

constexpr const wchar_t* kHostClass = L"KeyvaneSlideTestHost";
constexpr UINT kNestedTurn = WM_APP + 7;
constexpr RECT kArea{20, 30, 220, 130};

class PageSlideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &PageSlideTest::HostProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    ::RegisterClassExW(&wc);
    host_ = ::CreateWindowExW(0, kHostClass, L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                              400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(host_, nullptr);
    ::SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::ShowWindow(host_, SW_SHOWNA);
    slide_ = std::make_unique<PageSlide>(::GetModuleHandleW(nullptr), host_, [this](HDC dc) {
      RECT client;
      ::GetClientRect(host_, &client);
      UniqueBrush brush(::CreateSolidBrush(shown_));
      ::FillRect(dc, &client, brush.get());
    });
  }
  void TearDown() override {
    slide_.reset();
    if (host_) ::DestroyWindow(host_);
  }

  HWND Control(int x, int y) {
    return ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, x, y, 60, 20, host_, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
  }
  HWND Cover() const { return ::FindWindowExW(host_, nullptr, L"TKeyvanePageSlide", nullptr); }
  static COLORREF PixelOf(HWND window) {
    WindowDc dc(window);
    return ::GetPixel(dc.get(), 10, 10);
  }

  // A turn as the page switch makes one: the picture before, the in-between, the new page.
  void Turn(COLORREF middle, COLORREF page, int ms) {
    slide_->Prepare(kArea);
    shown_ = middle;
    slide_->CaptureMiddle();
    shown_ = page;
    slide_->Play(ms);
    slide_->Release();
  }

  static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PageSlideTest*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == kNestedTurn) {
      self->Turn(RGB(0, 0, 0), static_cast<COLORREF>(wParam), 0);
      return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  HWND host_ = nullptr;
  std::unique_ptr<PageSlide> slide_;
  COLORREF shown_ = RGB(255, 0, 0);
};

// A cover that the controls beneath could paint over, or that a control's window made during
// the turn could rise above, would show the real pages changing instead of the slide.
TEST_F(PageSlideTest, TheCoverIsAChildOverTheAreaAboveEveryControlUntilReleased) {
  const HWND inside = Control(40, 40), outside = Control(300, 200);
  slide_->Prepare(kArea);
  const HWND cover = Cover();
  ASSERT_NE(cover, nullptr);
  EXPECT_TRUE(::IsWindowVisible(cover));
  EXPECT_TRUE(::GetWindowLongPtrW(cover, GWL_STYLE) & WS_CHILD);
  RECT place;
  ::GetWindowRect(cover, &place);
  ::MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&place), 2);
  EXPECT_TRUE(::EqualRect(&place, &kArea));
  EXPECT_EQ(::GetWindow(host_, GW_CHILD), cover);
  for (HWND control : {inside, outside})
    EXPECT_TRUE(::GetWindowLongPtrW(control, GWL_STYLE) & WS_CLIPSIBLINGS);

  const HWND madeDuringTheTurn = Control(60, 60);
  ::SetWindowPos(madeDuringTheTurn, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  slide_->CaptureMiddle();
  slide_->Play(30);
  EXPECT_EQ(::GetWindow(host_, GW_CHILD), cover);
  EXPECT_TRUE(::GetWindowLongPtrW(madeDuringTheTurn, GWL_STYLE) & WS_CLIPSIBLINGS);

  slide_->Release();
  EXPECT_EQ(Cover(), nullptr);
}

TEST_F(PageSlideTest, ATurnAskedForWhileTheSlidePlaysIsTheOneItLandsOn) {
  slide_->Prepare(kArea);
  shown_ = RGB(0, 0, 0);
  slide_->CaptureMiddle();
  shown_ = RGB(0, 255, 0);
  // Served by the slide while it plays, as a click on a key would be.
  ::PostMessageW(host_, kNestedTurn, RGB(0, 0, 255), 0);
  slide_->Play(200);
  const HWND cover = Cover();
  ASSERT_NE(cover, nullptr);
  EXPECT_EQ(PixelOf(cover), RGB(0, 0, 255));
  slide_->Release();
  EXPECT_EQ(Cover(), nullptr);

  // The next turn plays as any other.
  shown_ = RGB(0, 0, 255);
  slide_->Prepare(kArea);
  shown_ = RGB(255, 255, 0);
  slide_->CaptureMiddle();
  slide_->Play(30);
  ASSERT_NE(Cover(), nullptr);
  EXPECT_EQ(PixelOf(Cover()), RGB(255, 255, 0));
  slide_->Release();
}

}  // namespace
}  // namespace kv::win32

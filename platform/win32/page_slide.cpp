#include "platform/win32/page_slide.h"

#include <algorithm>

#include "platform/win32/message_pump.h"

namespace kv::win32 {

namespace {

constexpr const wchar_t* kCoverClass = L"TKeyvanePageSlide";
constexpr DWORD kFrameMs = 15;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

PageSlide::PageSlide(HINSTANCE instance, HWND window, std::function<void(HDC)> render)
    : instance_(instance), window_(window), render_(std::move(render)) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = CoverProc;
  wc.hInstance = instance_;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kCoverClass;
  ::RegisterClassExW(&wc);  // fails harmlessly when a second slide registers it again
}

PageSlide::~PageSlide() {
  if (cover_) ::DestroyWindow(cover_);
}

UniqueBitmap PageSlide::Capture() {
  HDC screen = ::GetDC(window_);
  RECT client;
  ::GetClientRect(window_, &client);
  // The whole client area is rendered, so that the controls find their places; the area is
  // then cut out of it.
  UniqueMemoryDc whole(::CreateCompatibleDC(screen));
  UniqueBitmap wholeBitmap(::CreateCompatibleBitmap(screen, Width(client), Height(client)));
  UniqueMemoryDc cut(::CreateCompatibleDC(screen));
  UniqueBitmap picture(::CreateCompatibleBitmap(screen, Width(area_), Height(area_)));
  ::ReleaseDC(window_, screen);
  if (!whole || !wholeBitmap || !cut || !picture) return {};
  {
    SelectedObject selectedWhole(whole.get(), wholeBitmap.get());
    render_(whole.get());
    SelectedObject selectedCut(cut.get(), picture.get());
    ::BitBlt(cut.get(), 0, 0, Width(area_), Height(area_), whole.get(), area_.left, area_.top, SRCCOPY);
  }
  return picture;
}

void PageSlide::Prepare(const RECT& area) {
  if (depth_++ > 0) return;
  area_ = area;
  progress_ = 0;
  from_ = Capture();
  if (!from_) return;
  // The cover shows the old picture from now on, so that hiding and showing the pages
  // beneath it is never seen.
  POINT origin{area_.left, area_.top};
  ::ClientToScreen(window_, &origin);
  cover_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClass, L"", WS_POPUP,
                             origin.x, origin.y, Width(area_), Height(area_), window_, nullptr,
                             instance_, this);
  if (!cover_) return;
  ::SetWindowLongPtrW(cover_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::ShowWindow(cover_, SW_SHOWNOACTIVATE);
  ::UpdateWindow(cover_);
}

void PageSlide::CaptureMiddle() {
  if (depth_ != 1 || !cover_) return;
  middle_ = Capture();
}

RECT PageSlide::FrameRect(double progress, int width, int height, bool* first) {
  progress = std::clamp(progress, 0.0, 1.0);
  if (progress < 0.5) {
    // The old page leaves down and to the right.
    const double out = progress / 0.5;
    const int dx = static_cast<int>(out * width), dy = static_cast<int>(out * height);
    if (first) *first = true;
    return RECT{dx, dy, dx + width, dy + height};
  }
  // The new page comes back the same way, stretched from the corner into its place.
  const double in = (progress - 0.5) / 0.5;
  const int left = static_cast<int>((1.0 - in) * width), top = static_cast<int>((1.0 - in) * height);
  if (first) *first = false;
  return RECT{left, top, width, height};
}

void PageSlide::DrawFrame(double progress) {
  if (!cover_) return;
  const int width = Width(area_), height = Height(area_);
  HDC dc = ::GetDC(cover_);
  UniqueMemoryDc frame(::CreateCompatibleDC(dc));
  UniqueBitmap frameBitmap(::CreateCompatibleBitmap(dc, width, height));
  UniqueMemoryDc source(::CreateCompatibleDC(dc));
  if (frame && frameBitmap && source) {
    SelectedObject selectedFrame(frame.get(), frameBitmap.get());
    bool first = true;
    const RECT place = FrameRect(progress, width, height, &first);
    HBITMAP back = middle_ ? middle_.get() : from_.get();
    HBITMAP moving = first ? from_.get() : (to_ ? to_.get() : from_.get());
    {
      SelectedObject selected(source.get(), back);
      ::BitBlt(frame.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
    }
    if (Width(place) > 0 && Height(place) > 0) {
      SelectedObject selected(source.get(), moving);
      if (first) {
        ::BitBlt(frame.get(), place.left, place.top, width - place.left, height - place.top,
                 source.get(), 0, 0, SRCCOPY);
      } else {
        ::SetStretchBltMode(frame.get(), HALFTONE);
        ::SetBrushOrgEx(frame.get(), 0, 0, nullptr);
        ::StretchBlt(frame.get(), place.left, place.top, Width(place), Height(place), source.get(),
                     0, 0, width, height, SRCCOPY);
      }
    }
    ::BitBlt(dc, 0, 0, width, height, frame.get(), 0, 0, SRCCOPY);
  }
  ::ReleaseDC(cover_, dc);
}

void PageSlide::Play(int durationMs) {
  if (depth_ != 1 || !cover_ || playing_) return;
  to_ = Capture();
  playing_ = true;
  const ULONGLONG start = ::GetTickCount64();
  for (;;) {
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    progress_ = durationMs > 0 ? static_cast<double>(elapsed) / durationMs : 1.0;
    DrawFrame(progress_);
    if (progress_ >= 1.0) break;
    // Hot keys, timers and painting go on while the slide plays.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kFrameMs, QS_ALLINPUT);
    if (!DispatchWaitingMessages()) break;  // the program is ending
    if (!cover_) break;
  }
  playing_ = false;
}

void PageSlide::Release() {
  if (depth_ == 0 || --depth_ > 0) return;
  if (cover_) {
    HWND cover = cover_;
    cover_ = nullptr;
    ::DestroyWindow(cover);
  }
  from_.reset();
  middle_.reset();
  to_.reset();
}

LRESULT CALLBACK PageSlide::CoverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* slide = reinterpret_cast<PageSlide*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      ::BeginPaint(hwnd, &ps);
      ::EndPaint(hwnd, &ps);
      if (slide && slide->cover_ == hwnd) slide->DrawFrame(slide->progress_);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace kv::win32

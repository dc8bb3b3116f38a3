#include "platform/win32/window/page_slide.h"

#include <uxtheme.h>
#include <vsstyle.h>

#include <algorithm>
#include <cwchar>

#include "platform/win32/services/message_pump.h"

namespace kv::win32 {

namespace {

constexpr const wchar_t* kCoverClass = L"TKeyvanePageSlide";
constexpr DWORD kFrameMs = 15;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// The theme functions, when the controls are themed: uxtheme.dll is then loaded already.
// Looked up by name, since not every Windows has them.
struct ThemeFunctions {
  decltype(&::GetWindowTheme) windowTheme = nullptr;
  decltype(&::DrawThemeBackground) drawBackground = nullptr;
};

template <typename Function>
void Find(HMODULE library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

ThemeFunctions Themes() {
  ThemeFunctions found;
  if (HMODULE uxtheme = ::GetModuleHandleW(L"uxtheme.dll")) {
    Find(uxtheme, "GetWindowTheme", found.windowTheme);
    Find(uxtheme, "DrawThemeBackground", found.drawBackground);
  }
  return found;
}

// The frame around a window's inside, as the window draws it when Windows asks it to paint
// its frame, which a print never does: a themed edit box draws its theme's frame, any other
// sunken edge or border the classic one.
void DrawFrame(HDC dc, HWND window, const RECT& frame) {
  wchar_t kind[16] = L"";
  ::GetClassNameW(window, kind, 16);
  const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (_wcsicmp(kind, L"Edit") == 0 && (exStyle & WS_EX_CLIENTEDGE)) {
    const ThemeFunctions themes = Themes();
    if (HTHEME theme =
            themes.windowTheme && themes.drawBackground ? themes.windowTheme(window) : nullptr) {
      const int state = (style & WS_DISABLED)    ? ETS_DISABLED
                        : (style & ES_READONLY)  ? ETS_READONLY
                        : ::GetFocus() == window ? ETS_FOCUSED
                                                 : ETS_NORMAL;
      themes.drawBackground(theme, dc, EP_EDITTEXT, state, &frame, nullptr);
      return;
    }
  }
  RECT edge = frame;
  if (exStyle & WS_EX_CLIENTEDGE) ::DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (style & WS_BORDER) ::FrameRect(dc, &edge, ::GetSysColorBrush(COLOR_WINDOWFRAME));
}

}  // namespace

// The frame and the inside are asked for one at a time, each from a fresh state of the DC,
// which a control may leave clipped or moved. Under Wine an edit box draws no frame when
// asked for it and puts its inside at the origin, so every frame is drawn here first, for a
// print of the frame to draw over where it can, and the inside is printed where it lies.
void PrintWholeWindow(HDC dc, HWND window) {
  RECT outer;
  ::GetWindowRect(window, &outer);
  POINT inside{0, 0};
  ::ClientToScreen(window, &inside);
  const int insetX = inside.x - outer.left, insetY = inside.y - outer.top;
  if (insetX > 0 || insetY > 0) DrawFrame(dc, window, RECT{0, 0, Width(outer), Height(outer)});
  int saved = ::SaveDC(dc);
  ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
  ::RestoreDC(dc, saved);
  saved = ::SaveDC(dc);
  ::SetViewportOrgEx(dc, insetX, insetY, nullptr);
  ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                 PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  ::RestoreDC(dc, saved);
}

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
    ::BitBlt(cut.get(), 0, 0, Width(area_), Height(area_), whole.get(), area_.left, area_.top,
             SRCCOPY);
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
  // beneath it is never seen. It is a child of the window and drawn with it: a pop-up would
  // be a window of its own on the display, black until its first picture got there.
  cover_ = ::CreateWindowExW(0, kCoverClass, L"", WS_CHILD | WS_CLIPSIBLINGS, area_.left, area_.top,
                             Width(area_), Height(area_), window_, nullptr, instance_, nullptr);
  if (!cover_) return;
  ::SetWindowLongPtrW(cover_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  KeepCoverOnTop();
  ::ShowWindow(cover_, SW_SHOWNA);
  ::UpdateWindow(cover_);
}

// The controls' windows beneath must not paint over the cover while their pages hide and
// show: each clips the siblings above it, and the cover stays above them all, also above a
// control's window made while the page turns.
void PageSlide::KeepCoverOnTop() {
  if (!cover_) return;
  for (HWND child = ::GetWindow(window_, GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child == cover_) continue;
    const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
    if (!(style & WS_CLIPSIBLINGS)) ::SetWindowLongPtrW(child, GWL_STYLE, style | WS_CLIPSIBLINGS);
  }
  ::SetWindowPos(cover_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
  const int left = static_cast<int>((1.0 - in) * width),
            top = static_cast<int>((1.0 - in) * height);
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
  if (depth_ == 0 || !cover_) return;
  // The area as it stands now is where the slide lands. A turn asked for while a slide plays
  // (from a message served below) comes here too: its page is the newest, so the running
  // slide lands on it instead of the page it set out for, and nothing plays twice.
  if (UniqueBitmap now = Capture()) to_ = std::move(now);
  KeepCoverOnTop();
  if (playing_ || depth_ != 1) return;
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
    // The last frame stays on screen until the area beneath has been drawn whole; left to
    // the controls' own painting, the user would see each control blank before it redraws.
    ::SetWindowPos(
        cover, nullptr, 0, 0, 0, 0,
        SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(window_, &area_, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
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
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace kv::win32

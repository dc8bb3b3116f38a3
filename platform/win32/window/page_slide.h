// The slide between two pages of the main window: a picture of an area before the turn, one
// while neither page is shown, and one after, played for a set time on a child window that
// covers the area, so the real controls change beneath it without a flicker.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/win32/handles.h"

namespace kv::win32 {

class PageSlide {
 public:
  // `render` paints the window's whole client area, as the controls stand now, into a DC.
  PageSlide(HINSTANCE instance, HWND window, std::function<void(HDC)> render);
  ~PageSlide();
  PageSlide(const PageSlide&) = delete;
  PageSlide& operator=(const PageSlide&) = delete;

  // Takes the picture of `area` (client pixels) and covers the area with it. A slide asked
  // for while another plays (from a message served by it) is not played on its own: the one
  // playing lands on its page instead (see Play).
  void Prepare(const RECT& area);
  void CaptureMiddle();
  // Two passes over `durationMs`: the old picture slides out down and to the right over the
  // middle picture, then the new one grows back from the bottom-right corner into place.
  // Waiting messages are served between frames. The new picture is the area as it stands
  // when Play is called, the last time if it is called again while the slide plays.
  void Play(int durationMs);
  void Release();

  // Where the old and the new picture stand at `progress` (0 to 1) of the slide, within an
  // area of `width` by `height` pixels at 0, 0; `first` tells which of the two is drawn.
  static RECT FrameRect(double progress, int width, int height, bool* first);

 private:
  UniqueBitmap Capture();
  void DrawFrame(double progress);
  void KeepCoverOnTop();
  static LRESULT CALLBACK CoverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  HWND window_;
  std::function<void(HDC)> render_;
  int depth_ = 0;  // nested preparations while one slide is under way
  RECT area_{};
  UniqueBitmap from_, middle_, to_;
  HWND cover_ = nullptr;
  double progress_ = 0;
  bool playing_ = false;
};

// Draws a control's window whole, frame and inside, with its top-left corner at the DC's
// origin, as it looks on screen: for the slide's pictures of controls it covers.
void PrintWholeWindow(HDC dc, HWND window);

}  // namespace kv::win32

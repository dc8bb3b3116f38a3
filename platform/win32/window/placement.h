// Where the main window first appears: centred in the work area of the monitor it starts on,
// and never beyond the area's top-left corner, so that its caption and buttons can be reached
// however large the window is at the screen's DPI.
#pragma once

#include <windows.h>

namespace kv::win32 {

inline POINT PlaceInWorkArea(const RECT& work, int width, int height) {
  const int areaWidth = work.right - work.left, areaHeight = work.bottom - work.top;
  POINT origin{work.left + (areaWidth - width) / 2, work.top + (areaHeight - height) / 2};
  if (width > areaWidth) origin.x = work.left;
  if (height > areaHeight) origin.y = work.top;
  return origin;
}

// The work area of the monitor that holds most of `screen` (the primary one when none does).
inline RECT WorkAreaAround(const RECT& screen) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(::MonitorFromRect(&screen, MONITOR_DEFAULTTOPRIMARY), &info)) return info.rcWork;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

}  // namespace kv::win32

#pragma once
#include <windows.h>

// What the notification area sends Keyvane's icon (number 1, callback WM_APP + 1), as a shell of
// icon version 4 does: the event in the low word of lParam and the icon in the high word, the
// place in wParam; a right button up is followed by WM_CONTEXTMENU, which is what opens the menu.
inline bool PostTrayEvent(HWND main, UINT event) {
  constexpr UINT kCallback = WM_APP + 1;
  constexpr WORD kIcon = 1;
  POINT pt{};
  ::GetCursorPos(&pt);
  const WPARAM place = MAKEWPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
  bool posted = ::PostMessageW(main, kCallback, place, MAKELPARAM(event, kIcon)) != 0;
  if (event == WM_RBUTTONUP)
    posted = posted && ::PostMessageW(main, kCallback, place, MAKELPARAM(WM_CONTEXTMENU, kIcon)) != 0;
  return posted;
}

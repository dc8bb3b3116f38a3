#include "ui/high_contrast.h"

namespace kv::ui {

SystemColor HighContrastFill(Color fixed) {
  switch (fixed) {
    case 0x4444DD:  // a selected key
    case 0x0000FF:  // a selected key that is not set
    case 0x0000DD:  // a page's heading band
      return SystemColor::Highlight;
    case 0xAAAADD:  // a set key
    case 0xC0C0C0:  // F12 where Windows keeps it
      return SystemColor::ButtonFace;
    default:  // the window, the pages, a free key
      return SystemColor::Window;
  }
}

SystemColor HighContrastText(Color fixed) {
  switch (fixed) {
    case kWhite:  // on a selected key or a heading band
      return SystemColor::HighlightText;
    case 0x808080:  // disabled, or F12 where Windows keeps it
      return SystemColor::GrayText;
    case 0xFF0000:  // the shown page's tab, and the words the introduction stresses
      return SystemColor::Highlight;
    default:
      return SystemColor::WindowText;
  }
}

}  // namespace kv::ui

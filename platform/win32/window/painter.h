// Painting of the controls that have no window of their own (labels, shapes, panels,
// pictures), and of the owner-drawn buttons.
#pragma once

#include <windows.h>


#include "platform/win32/window/dpi.h"
#include "platform/win32/window/font_cache.h"
#include "ui/button.h"
#include "ui/high_contrast.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/shape.h"
#include "ui/window.h"

namespace kv::win32 {

// The colours the painter draws in: the fixed palette, or while Windows' high contrast is on
// the system colours that stand for it.
struct Colors {
  bool highContrast = false;
  // The system's colour of a part (GetSysColor unless a test gives its own).
  COLORREF (*system)(ui::SystemColor part) = nullptr;
  COLORREF Fill(ui::Color fixed) const;
  COLORREF Text(ui::Color fixed) const;
  // Reads whether high contrast is on now.
  static bool HighContrastOn();
};
COLORREF SystemColorOf(ui::SystemColor part);

// The window's own colour over the part of the window being painted.
void PaintBackground(HDC dc, const ui::Window& window, const Scale& scale, const Colors& colors);

// The painted controls, each at its place in the window.
void PaintLabel(HDC dc, const ui::Label& label, const Scale& scale, FontCache& fonts, const Colors& colors);
void PaintShape(HDC dc, const ui::Shape& shape, const Scale& scale, const Colors& colors);
void PaintPanel(HDC dc, const ui::Panel& panel, const Scale& scale, FontCache& fonts, const Colors& colors);
// The pages' pictures: a row of small keys, drawn rather than stored.
void PaintPicture(HDC dc, const ui::Image& image, const Scale& scale, const Colors& colors);

// Paints a push button: frame, optional glyph, and the caption in the button's font colour.
void PaintButton(HDC dc, const RECT& rect, const ui::Button& button, bool pressed, bool focused,
                 const Scale& scale, FontCache& fonts, const Colors& colors);

}  // namespace kv::win32

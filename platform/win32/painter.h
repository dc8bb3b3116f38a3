// Painting of the controls that have no window of their own (labels, shapes, panels,
// pictures), and of the owner-drawn buttons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/dpi.h"
#include "platform/win32/font_cache.h"
#include "ui/button.h"
#include "ui/window.h"

namespace kv::win32 {

// Paints the window's background and every shown painted control, in creation order, so
// that later controls lie over earlier ones.
void PaintControls(HDC dc, const ui::Window& window, const std::vector<ui::Control*>& controls,
                   const Scale& scale, FontCache& fonts);

// Paints a push button: frame, optional glyph, and the caption in the button's font colour.
void PaintButton(HDC dc, const RECT& rect, const ui::Button& button, bool pressed, bool focused,
                 const Scale& scale, FontCache& fonts);

// True for the controls that PaintControls draws.
bool IsPainted(const ui::Control& control);

}  // namespace kv::win32

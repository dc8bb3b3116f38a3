// Painting of the controls that have no window of their own (labels, shapes, panels,
// pictures), and of the owner-drawn buttons.
#pragma once

#include <windows.h>


#include "platform/win32/window/dpi.h"
#include "platform/win32/window/font_cache.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/shape.h"
#include "ui/window.h"

namespace kv::win32 {

// The window's own colour over the part of the window being painted.
void PaintBackground(HDC dc, const ui::Window& window, const Scale& scale);

// The painted controls, each at its place in the window.
void PaintLabel(HDC dc, const ui::Label& label, const Scale& scale, FontCache& fonts);
void PaintShape(HDC dc, const ui::Shape& shape, const Scale& scale);
void PaintPanel(HDC dc, const ui::Panel& panel, const Scale& scale, FontCache& fonts);
// The pages' pictures: a row of small keys, drawn rather than stored.
void PaintPicture(HDC dc, const ui::Image& image, const Scale& scale);

// Paints a push button: frame, optional glyph, and the caption in the button's font colour.
void PaintButton(HDC dc, const RECT& rect, const ui::Button& button, bool pressed, bool focused,
                 const Scale& scale, FontCache& fonts);

}  // namespace kv::win32

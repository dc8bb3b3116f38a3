// While Windows' high contrast is on, the window's fixed palette gives way to the system's
// colours: each fixed colour stands for the system colour of its part (the window, its text,
// the highlight of a selection and its text, grey text, a button's face).
#pragma once

#include "ui/control.h"

namespace kv::ui {

enum class SystemColor { Window, WindowText, Highlight, HighlightText, GrayText, ButtonFace };

// A fill (the window, a page, a key, a band) and a text or outline drawn in a fixed colour.
SystemColor HighContrastFill(Color fixed);
SystemColor HighContrastText(Color fixed);

}  // namespace kv::ui

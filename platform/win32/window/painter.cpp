#include "platform/win32/window/painter.h"

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace kv::win32 {

namespace {

void FillRectColor(HDC dc, const RECT& r, COLORREF color) {
  UniqueBrush brush(::CreateSolidBrush(color));
  ::FillRect(dc, &r, brush.get());
}

void DrawText(HDC dc, const std::string& text, RECT r, const ui::Font& font, UINT format,
              const Scale& scale, FontCache& fonts, const Colors& colors) {
  SelectedObject selected(dc, fonts.Get(font, scale.dpi));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, colors.Text(font.color));
  std::wstring wide = Widen(text);
  ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, format | DT_NOPREFIX);
}

void PaintBuiltInGlyph(HDC dc, const std::string& glyph, int left, int top, int size) {
  const bool on = glyph == "builtin:on";
  UniqueBrush brush(::CreateSolidBrush(on ? RGB(0x00, 0xBB, 0x00) : RGB(0xFF, 0x00, 0x00)));
  UniquePen pen(::CreatePen(PS_SOLID, 1, RGB(0x40, 0x40, 0x40)));
  SelectedObject selectedPen(dc, pen.get());
  SelectedObject selectedBrush(dc, brush.get());
  ::Ellipse(dc, left, top, left + size, top + size);
}

// A bitmap file drawn with its bottom-left pixel as the transparent colour.
bool PaintBitmapGlyph(HDC dc, const std::string& file, int left, int top, int size) {
  UniqueBitmap bitmap(static_cast<HBITMAP>(
      ::LoadImageW(nullptr, Widen(file).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  if (!bitmap) return false;
  BITMAP info{};
  ::GetObjectW(bitmap.get(), sizeof info, &info);
  UniqueMemoryDc memory(::CreateCompatibleDC(dc));
  SelectedObject selected(memory.get(), bitmap.get());
  const COLORREF transparent = ::GetPixel(memory.get(), 0, info.bmHeight - 1);
  ::GdiTransparentBlt(dc, left, top, size, size * info.bmHeight / (info.bmWidth ? info.bmWidth : 1),
                   memory.get(), 0, 0, info.bmWidth, info.bmHeight, transparent);
  return true;
}

}  // namespace

COLORREF SystemColorOf(ui::SystemColor part) {
  switch (part) {
    case ui::SystemColor::Window: return ::GetSysColor(COLOR_WINDOW);
    case ui::SystemColor::WindowText: return ::GetSysColor(COLOR_WINDOWTEXT);
    case ui::SystemColor::Highlight: return ::GetSysColor(COLOR_HIGHLIGHT);
    case ui::SystemColor::HighlightText: return ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    case ui::SystemColor::GrayText: return ::GetSysColor(COLOR_GRAYTEXT);
    case ui::SystemColor::ButtonFace: return ::GetSysColor(COLOR_BTNFACE);
  }
  return ::GetSysColor(COLOR_WINDOW);
}

COLORREF Colors::Fill(ui::Color fixed) const {
  if (!highContrast) return ToColorRef(fixed);
  return (system ? system : &SystemColorOf)(ui::HighContrastFill(fixed));
}

COLORREF Colors::Text(ui::Color fixed) const {
  if (!highContrast) return ToColorRef(fixed);
  return (system ? system : &SystemColorOf)(ui::HighContrastText(fixed));
}

bool Colors::HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  if (!::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)) return false;
  return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void PaintBackground(HDC dc, const ui::Window& window, const Scale& scale, const Colors& colors) {
  RECT client{0, 0, scale(window.bounds().width), scale(window.bounds().height)};
  ::GetClipBox(dc, &client);
  FillRectColor(dc, client, colors.Fill(window.color()));
}

void PaintLabel(HDC dc, const ui::Label& label, const Scale& scale, FontCache& fonts, const Colors& colors) {
  RECT r = scale.ToRect(label.WindowBounds());
  if (!label.transparent()) FillRectColor(dc, r, colors.Fill(label.background()));
  UINT format = label.wordWrap() ? DT_WORDBREAK : DT_SINGLELINE;
  if (label.alignment() == ui::Align::Center) format |= DT_CENTER;
  if (label.alignment() == ui::Align::Right) format |= DT_RIGHT;
  // Text too long for a key's label is clipped at the label's edges.
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  ui::Font font = label.font();
  if (!label.enabled()) font.color = 0x808080;
  DrawText(dc, label.caption(), r, font, format, scale, fonts, colors);
  ::RestoreDC(dc, saved);
}

void PaintShape(HDC dc, const ui::Shape& shape, const Scale& scale, const Colors& colors) {
  const RECT r = scale.ToRect(shape.WindowBounds());
  UniquePen pen(::CreatePen(PS_SOLID, scale(1), colors.Text(shape.pen())));
  UniqueBrush brush(::CreateSolidBrush(colors.Fill(shape.brush())));
  SelectedObject selectedPen(dc, pen.get());
  SelectedObject selectedBrush(dc, brush.get());
  const int corner = scale(shape.cornerSize());
  ::RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
  if (shape.marked()) {
    // An orange dot in the strip above the title, where the title label leaves the shape free.
    UniquePen markPen(::CreatePen(PS_SOLID, 1, RGB(0xE0, 0x60, 0x00)));
    UniqueBrush markBrush(::CreateSolidBrush(RGB(0xFF, 0x80, 0x00)));
    SelectedObject selectedMarkPen(dc, markPen.get());
    SelectedObject selectedMarkBrush(dc, markBrush.get());
    const int size = scale(6);
    const int left = r.right - scale(12), top = r.top + scale(1);
    ::Ellipse(dc, left, top, left + size, top + size);
  }
}

void PaintPanel(HDC dc, const ui::Panel& panel, const Scale& scale, FontCache& fonts, const Colors& colors) {
  const RECT r = scale.ToRect(panel.WindowBounds());
  if (!panel.transparent()) FillRectColor(dc, r, colors.Fill(panel.color()));
  if (panel.border()) {
    UniqueBrush frame(::CreateSolidBrush(colors.highContrast ? colors.Text(ui::kBlack) : RGB(0x80, 0x80, 0x80)));
    ::FrameRect(dc, &r, frame.get());
  }
  if (!panel.caption().empty())
    DrawText(dc, panel.caption(), r, panel.font(), DT_SINGLELINE | DT_CENTER | DT_VCENTER, scale, fonts, colors);
}

void PaintPicture(HDC dc, const ui::Image& image, const Scale& scale, const Colors& colors) {
  const RECT r = scale.ToRect(image.WindowBounds());
  // The page's picture is decoration: under high contrast it is left out.
  if (colors.highContrast) return;
  FillRectColor(dc, r, RGB(0xEE, 0xEE, 0xFF));
  const int key = scale(18), gap = scale(6);
  UniquePen pen(::CreatePen(PS_SOLID, 1, RGB(0x80, 0x80, 0xC0)));
  UniqueBrush brush(::CreateSolidBrush(RGB(0xAA, 0xAA, 0xDD)));
  SelectedObject selectedPen(dc, pen.get());
  SelectedObject selectedBrush(dc, brush.get());
  for (int top = r.top + gap; top + key <= r.bottom - gap / 2; top += key + gap)
    for (int left = r.left + gap; left + key <= r.right - gap / 2; left += key + gap)
      ::RoundRect(dc, left, top, left + key, top + key, scale(5), scale(5));
}

void PaintButton(HDC dc, const RECT& rect, const ui::Button& button, bool pressed, bool focused,
                 const Scale& scale, FontCache& fonts, const Colors& colors) {
  RECT r = rect;
  ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  ui::Font font = button.font();
  if (!button.enabled()) font.color = 0x808080;

  SelectedObject selected(dc, fonts.Get(font, scale.dpi));
  const std::wstring caption = Widen(button.caption());
  SIZE text{};
  ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  const int glyphSize = button.glyph().empty() ? 0 : scale(18);
  const int spacing = glyphSize ? scale(button.glyphSpacing()) : 0;
  const int width = glyphSize + spacing + text.cx;
  int left = (r.left + r.right - width) / 2 + (pressed ? 1 : 0);
  const int middle = (r.top + r.bottom) / 2 + (pressed ? 1 : 0);
  if (glyphSize) {
    const int glyphTop = middle - glyphSize / 2;
    if (button.glyph().rfind("builtin:", 0) == 0 ||
        !PaintBitmapGlyph(dc, button.glyph(), left, glyphTop, glyphSize))
      PaintBuiltInGlyph(dc, button.glyph(), left, glyphTop, glyphSize);
    left += glyphSize + spacing;
  }
  RECT textRect{left, r.top, left + text.cx + 1, r.bottom};
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, colors.highContrast ? ::GetSysColor(button.enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT)
                                         : ToColorRef(font.color));
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (focused) {
    RECT focus = rect;
    ::InflateRect(&focus, -scale(4), -scale(4));
    ::DrawFocusRect(dc, &focus);
  }
}

}  // namespace kv::win32

#include "platform/win32/window/painted_peers.h"

#include "platform/win32/window/painter.h"

namespace kv::win32 {

void PaintedPeer::Sync() { ::InvalidateRect(context_.window, nullptr, FALSE); }

void LabelPeer::Paint(HDC dc) { PaintLabel(dc, label_, context_.scale, context_.fonts, context_.colors); }

void LabelPeer::MouseUp(ui::MouseButton button, bool clicked) {
  if (button == ui::MouseButton::Left && clicked) label_.UserClick();
}

void ShapePeer::Paint(HDC dc) { PaintShape(dc, shape_, context_.scale, context_.colors); }

void PanelPeer::Paint(HDC dc) { PaintPanel(dc, panel_, context_.scale, context_.fonts, context_.colors); }

void PanelPeer::MouseUp(ui::MouseButton button, bool clicked) {
  if (button == ui::MouseButton::Left && clicked) panel_.UserClick();
}

void ImagePeer::Paint(HDC dc) { PaintPicture(dc, image_, context_.scale, context_.colors); }

}  // namespace kv::win32

// The peers of the controls that the main window paints itself: labels, shapes, panels and
// pictures. A change repaints the window; the main window hit-tests them for the mouse.
#pragma once

#include <windows.h>

#include "platform/win32/window/control_peer.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/shape.h"

namespace kv::win32 {

class PaintedPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  void Sync() final;
  virtual void Paint(HDC dc) = 0;
  // A button went up over the control; `clicked` when it also went down there, not as the
  // second click of a double click.
  virtual void MouseUp(ui::MouseButton button, bool clicked) {
    (void)button;
    (void)clicked;
  }
  virtual void DoubleClick() {}
};

class LabelPeer final : public PaintedPeer {
 public:
  LabelPeer(ui::Label& label, PeerContext& context) : PaintedPeer(label, context), label_(label) {}
  void Paint(HDC dc) override;
  void MouseUp(ui::MouseButton button, bool clicked) override;
  void DoubleClick() override { label_.UserDblClick(); }

 private:
  ui::Label& label_;
};

class ShapePeer final : public PaintedPeer {
 public:
  ShapePeer(ui::Shape& shape, PeerContext& context) : PaintedPeer(shape, context), shape_(shape) {}
  void Paint(HDC dc) override;
  // Every button, click or not: the keys react to the button's release.
  void MouseUp(ui::MouseButton button, bool) override { shape_.UserMouseUp(button, 0, 0); }

 private:
  ui::Shape& shape_;
};

class PanelPeer final : public PaintedPeer {
 public:
  PanelPeer(ui::Panel& panel, PeerContext& context) : PaintedPeer(panel, context), panel_(panel) {}
  void Paint(HDC dc) override;
  void MouseUp(ui::MouseButton button, bool clicked) override;

 private:
  ui::Panel& panel_;
};

class ImagePeer final : public PaintedPeer {
 public:
  ImagePeer(ui::Image& image, PeerContext& context) : PaintedPeer(image, context), image_(image) {}
  void Paint(HDC dc) override;

 private:
  ui::Image& image_;
};

}  // namespace kv::win32

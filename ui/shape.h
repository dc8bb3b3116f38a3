// A rounded rectangle painted by its parent window.
#pragma once

#include "ui/control.h"

namespace kv::ui {

class Shape : public Control {
 public:
  using Control::Control;
  void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }

  Color brush() const { return brush_; }
  void SetBrush(Color c) { if (Assign(brush_, c)) Changed(); }
  Color pen() const { return pen_; }
  void SetPen(Color c) { if (Assign(pen_, c)) Changed(); }
  // Corner ellipse width and height.
  int cornerSize() const { return cornerSize_; }
  void SetCornerSize(int s) { if (Assign(cornerSize_, s)) Changed(); }

  // A small mark in the top corner: the key's hot key is held by another program.
  bool marked() const { return marked_; }
  void SetMarked(bool m) { if (Assign(marked_, m)) Changed(); }

  std::function<void(Shape&, MouseButton, int x, int y)> onMouseUp;

  void UserMouseUp(MouseButton button, int x, int y) {
    if (enabled() && onMouseUp) RunUserEvent([&] { onMouseUp(*this, button, x, y); });
  }

 private:
  Color brush_ = kWhite;
  Color pen_ = kBlack;
  int cornerSize_ = 0;
  bool marked_ = false;
};

}  // namespace kv::ui

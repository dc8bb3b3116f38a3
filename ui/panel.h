// Containers and pictures painted by their parent window.
#pragma once

#include "ui/control.h"

namespace kv::ui {

// A rectangle that holds other controls; with a caption it serves as a clickable tab.
class Panel : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }

  bool transparent() const { return transparent_; }
  void SetTransparent(bool t) { if (Assign(transparent_, t)) Changed(); }
  Color color() const { return color_; }
  void SetColor(Color c) { if (Assign(color_, c)) Changed(); }
  bool border() const { return border_; }
  void SetBorder(bool b) { if (Assign(border_, b)) Changed(); }

  std::function<void(Panel&)> onClick;
  void UserClick() { if (enabled() && onClick) RunUserEvent([this] { onClick(*this); }); }

 private:
  bool transparent_ = false;
  Color color_ = kWhite;
  bool border_ = false;
};

// A picture from the program's resources, stretched to its bounds.
class Image : public Control {
 public:
  using Control::Control;
  void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }
  const std::string& picture() const { return picture_; }
  void SetPicture(std::string p) { if (Assign(picture_, p)) Changed(); }

 private:
  std::string picture_;
};

}  // namespace kv::ui

// The top-level window: the root of the control tree.
#pragma once

#include "ui/control.h"

namespace kv::ui {

class Window : public CaptionedControl {
 public:
  explicit Window(std::string name) : CaptionedControl(std::move(name), nullptr) {}
  void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }

  Color color() const { return color_; }
  void SetColor(Color c) {
    if (Assign(color_, c)) Changed();
  }

 private:
  Color color_ = 0xF0F0F0;
};

}  // namespace kv::ui

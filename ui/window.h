// The top-level window: the root of the control tree.
#pragma once

#include "ui/control.h"

namespace kv::ui {

class Window : public Control {
 public:
  explicit Window(std::string name) : Control(std::move(name), nullptr) {}

  const std::string& caption() const { return caption_; }
  void SetCaption(std::string c) { if (Assign(caption_, c)) Changed(); }
  Color color() const { return color_; }
  void SetColor(Color c) { if (Assign(color_, c)) Changed(); }
  const Font& font() const { return font_; }
  void SetFont(Font f) { if (Assign(font_, f)) Changed(); }

 private:
  std::string caption_;
  Color color_ = 0xF0F0F0;
  Font font_;
};

}  // namespace kv::ui

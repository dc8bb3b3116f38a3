// Push buttons (optionally with a glyph left of the caption) and the check box.
#pragma once

#include "ui/control.h"

namespace kv::ui {

class Button : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }

  // A bitmap file, or a built-in picture name such as "builtin:on"; empty for none.
  const std::string& glyph() const { return glyph_; }
  void SetGlyph(std::string g) { if (Assign(glyph_, g)) Changed(); }
  // Pixels between the glyph and the caption.
  int glyphSpacing() const { return glyphSpacing_; }
  void SetGlyphSpacing(int s) { if (Assign(glyphSpacing_, s)) Changed(); }

  std::function<void(Button&)> onClick;
  void UserClick() { if (enabled() && onClick) RunUserEvent([this] { onClick(*this); }); }

 private:
  std::string glyph_;
  int glyphSpacing_ = 4;
};

class CheckBox : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }

  bool checked() const { return checked_; }
  // A change made by the program raises the click event, as the user's click would; errors
  // from the handler reach the caller.
  void SetChecked(bool c) {
    if (!Assign(checked_, c)) return;
    Changed();
    if (onClick) onClick(*this);
  }

  std::function<void(CheckBox&)> onClick;
  void UserClick() {
    if (!enabled()) return;
    checked_ = !checked_;
    Changed();
    if (onClick) RunUserEvent([this] { onClick(*this); });
  }

 private:
  bool checked_ = false;
};

}  // namespace kv::ui

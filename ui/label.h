// A text painted by its parent window: transparent, optionally word-wrapped.
#pragma once

#include "ui/control.h"

namespace kv::ui {

class Label : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }

  bool transparent() const { return transparent_; }
  void SetTransparent(bool t) { if (Assign(transparent_, t)) Changed(); }
  bool wordWrap() const { return wordWrap_; }
  void SetWordWrap(bool w) { if (Assign(wordWrap_, w)) Changed(); }
  Align alignment() const { return alignment_; }
  void SetAlignment(Align a) { if (Assign(alignment_, a)) Changed(); }
  Color background() const { return background_; }
  void SetBackground(Color c) { if (Assign(background_, c)) Changed(); }

  std::function<void(Label&)> onClick;
  std::function<void(Label&)> onDblClick;

  // The user's first click of a double click arrives as a click, then the double click.
  void UserClick() { if (enabled() && onClick) RunUserEvent([this] { onClick(*this); }); }
  void UserDblClick() { if (enabled() && onDblClick) RunUserEvent([this] { onDblClick(*this); }); }

 private:
  bool transparent_ = true;
  bool wordWrap_ = false;
  Align alignment_ = Align::Left;
  Color background_ = kWhite;  // used only when not transparent
};

}  // namespace kv::ui

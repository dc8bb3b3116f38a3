// A text painted by its parent window: transparent, optionally word-wrapped.
#pragma once

#include "ui/control.h"

namespace kv::ui {

class Label : public Control {
 public:
  using Control::Control;

  const std::string& caption() const { return caption_; }
  void SetCaption(std::string c) { if (Assign(caption_, c)) Changed(); }
  const Font& font() const { return font_; }
  void SetFont(Font f) { if (Assign(font_, f)) Changed(); }
  void SetFontColor(Color c) { Font f = font_; f.color = c; SetFont(f); }
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
  std::string caption_;
  Font font_;
  bool transparent_ = true;
  bool wordWrap_ = false;
  Align alignment_ = Align::Left;
  Color background_ = kWhite;  // used only when not transparent
};

}  // namespace kv::ui

// A one-line edit box. A text set by the program raises the change event only when it
// differs; typed characters raise the key-press event first.
#pragma once

#include "ui/control.h"

namespace kv::ui {

class Edit : public Control {
 public:
  using Control::Control;
  void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }

  const std::string& text() const { return text_; }
  void SetText(std::string t) {
    if (!Assign(text_, t)) return;
    Changed();
    if (onChange) onChange(*this);
  }
  const Font& font() const { return font_; }
  void SetFont(Font f) { if (Assign(font_, f)) Changed(); }

  std::function<void(Edit&, char& key)> onKeyPress;
  std::function<void(Edit&)> onChange;

  // Types the characters one by one (each may be altered or swallowed by the key-press
  // handler; '\b' deletes the last character).
  void UserType(std::string_view chars) {
    if (!enabled()) return;
    for (char c : chars) {
      char key = c;
      if (onKeyPress) RunUserEvent([&] { onKeyPress(*this, key); });
      if (key == 0) continue;
      std::string next = text_;
      if (key == '\b') {
        if (!next.empty()) next.pop_back();
      } else {
        next += key;
      }
      UserReplaceText(std::move(next));
    }
  }
  // A character typed into the real box, before the box inserts it.
  void UserKeyPress(char& key) {
    if (enabled() && onKeyPress) RunUserEvent([&] { onKeyPress(*this, key); });
  }
  // A change without typed characters: pasting, cutting, the Delete key.
  void UserReplaceText(std::string t) {
    if (!enabled() || !Assign(text_, t)) return;
    Changed();
    if (onChange) RunUserEvent([this] { onChange(*this); });
  }

 private:
  std::string text_;
  Font font_;
};

}  // namespace kv::ui

// Double dispatch over the control kinds: a control's Accept calls the Visit for its own
// kind, so code that treats each kind differently (the Win32 peers, painting) needs no type
// tests. A visitor overrides only the kinds it cares about.
#pragma once

namespace kv::ui {

class Window;
class Button;
class CheckBox;
class ComboBox;
class Edit;
class Label;
class Shape;
class Panel;
class Image;
class Timer;

class ControlVisitor {
 public:
  virtual ~ControlVisitor() = default;
  virtual void Visit(Window&) {}
  virtual void Visit(Button&) {}
  virtual void Visit(CheckBox&) {}
  virtual void Visit(ComboBox&) {}
  virtual void Visit(Edit&) {}
  virtual void Visit(Label&) {}
  virtual void Visit(Shape&) {}
  virtual void Visit(Panel&) {}
  virtual void Visit(Image&) {}
  virtual void Visit(Timer&) {}
};

}  // namespace kv::ui

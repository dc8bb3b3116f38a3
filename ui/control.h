// Keyvane's control model: plain objects that hold what the window shows and raise events
// by three rules that the program relies on:
//   1. a choice that the program sets in a drop-down raises no change event;
//   2. a text that the program puts into an edit box raises its change event only when it
//      differs from the old text;
//   3. a check box that the program sets to a new state raises its click event, as a click
//      by the user would.
// A control may have a peer (the Win32 layer) that mirrors its state on screen and turns user
// input into the User* calls, which tests call directly.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "ui/control_visitor.h"

namespace kv::ui {

using Color = uint32_t;  // 0xRRGGBB
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool Contains(int x, int y) const {
    return x >= left && y >= top && x < left + width && y < top + height;
  }
  bool operator==(const Rect&) const = default;
};

struct Font {
  std::string face = "MS Sans Serif";
  int height = 11;  // character height in pixels at 96 DPI
  bool bold = false;
  bool underline = false;
  Color color = kBlack;
  bool operator==(const Font&) const = default;
};

enum class Cursor { Arrow, Hand };
enum class Align { Left, Center, Right };
enum class MouseButton { Left, Right, Middle };

class Control;

// The on-screen side of a control.
class Peer {
 public:
  virtual ~Peer() = default;
  virtual void StateChanged(Control& control) = 0;
};

// Where errors go that escape an event handler run for the user: the application's general
// error box. Without a sink they propagate to the caller.
void SetUnhandledErrorSink(std::function<void(const std::exception&)> sink);
// Runs a handler for a user event, routing an escaping error to the sink.
void RunUserEvent(const std::function<void()>& handler);

class Control {
 public:
  Control(std::string name, Control* parent);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }

  const Rect& bounds() const { return bounds_; }
  void SetBounds(Rect r);
  void SetTop(int top) { SetBounds({bounds_.left, top, bounds_.width, bounds_.height}); }
  // Bounds relative to the top-level window's client area.
  Rect WindowBounds() const;

  bool visible() const { return visible_; }
  void SetVisible(bool v);
  // Visible and every parent visible.
  bool Showing() const;
  bool enabled() const { return enabled_; }
  void SetEnabled(bool e);
  const std::string& hint() const { return hint_; }
  void SetHint(std::string h);
  Cursor cursor() const { return cursor_; }
  void SetCursor(Cursor c);
  // Place in the keyboard's Tab order among the controls that have one (1 comes first); 0
  // keeps the order in which the controls were made.
  int tabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }
  // The painted text beside the control that names it for a screen reader ("Title - " for the
  // title box), or a name of its own when no text stands beside it.
  void SetAccessibleLabel(const Control* label) { accessibleLabel_ = label; }
  void SetAccessibleName(std::string name) { accessibleName_ = std::move(name); }
  // The name a screen reader reads: the label's caption without its trailing " - " or ":".
  std::string AccessibleName() const;

  // Calls the visitor's Visit for this control's kind.
  virtual void Accept(ControlVisitor& visitor) = 0;

  Peer* peer() const { return peer_; }
  void SetPeer(Peer* p) { peer_ = p; }
  // Asks the peer to show the current state again.
  void Repaint() { Changed(); }

 protected:
  void Changed();

 private:
  std::string name_;
  Control* parent_;
  std::vector<Control*> children_;
  Rect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  Cursor cursor_ = Cursor::Arrow;
  int tabOrder_ = 0;
  const Control* accessibleLabel_ = nullptr;
  std::string accessibleName_;
  Peer* peer_ = nullptr;
};

// Setters that compare and notify, for the derived controls.
template <typename T>
bool Assign(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// A control that shows a caption in a font of its own.
class CaptionedControl : public Control {
 public:
  using Control::Control;

  const std::string& caption() const { return caption_; }
  void SetCaption(std::string c) {
    if (Assign(caption_, c)) Changed();
  }
  const Font& font() const { return font_; }
  void SetFont(Font f) {
    if (Assign(font_, f)) Changed();
  }
  void SetFontColor(Color c) {
    Font f = font_;
    f.color = c;
    SetFont(f);
  }

 private:
  std::string caption_;
  Font font_;
};

}  // namespace kv::ui

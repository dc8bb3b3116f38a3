#include "ui/control.h"

#include <algorithm>
#include <exception>

namespace kv::ui {

namespace {
std::function<void(const std::exception&)>& Sink() {
  static std::function<void(const std::exception&)> sink;
  return sink;
}
}  // namespace

void SetUnhandledErrorSink(std::function<void(const std::exception&)> sink) { Sink() = std::move(sink); }

void RunUserEvent(const std::function<void()>& handler) {
  if (!handler) return;
  if (!Sink()) {
    handler();
    return;
  }
  try {
    handler();
  } catch (const std::exception& e) {
    Sink()(e);
  }
}

Control::Control(std::string name, Control* parent) : name_(std::move(name)), parent_(parent) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (Control* child : children_) child->parent_ = nullptr;
}

void Control::SetBounds(Rect r) {
  if (Assign(bounds_, r)) Changed();
}

Rect Control::WindowBounds() const {
  Rect r = bounds_;
  for (const Control* p = parent_; p && p->parent_; p = p->parent_) {
    r.left += p->bounds_.left;
    r.top += p->bounds_.top;
  }
  return r;
}

void Control::SetVisible(bool v) {
  if (Assign(visible_, v)) Changed();
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void Control::SetEnabled(bool e) {
  if (Assign(enabled_, e)) Changed();
}

void Control::SetHint(std::string h) {
  if (Assign(hint_, h)) Changed();
}

void Control::SetCursor(Cursor c) {
  if (Assign(cursor_, c)) Changed();
}

void Control::Changed() {
  if (peer_) peer_->StateChanged(*this);
}

}  // namespace kv::ui

namespace kv::ui {

std::string Control::AccessibleName() const {
  const auto* label = dynamic_cast<const CaptionedControl*>(accessibleLabel_);
  if (!label) return accessibleName_;
  std::string name = label->caption();
  while (!name.empty() && (name.back() == ' ' || name.back() == '-' || name.back() == ':')) name.pop_back();
  return name;
}

}  // namespace kv::ui

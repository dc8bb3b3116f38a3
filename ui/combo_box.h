// A drop-down list. The program's own choice raises no event; the user's choice raises the
// click event, then the change event. Picking the item the list already shows is no choice
// unless the list asks for it (the theme list loads its shown theme again).
#pragma once

#include "ui/control.h"

namespace kv::ui {

class ComboBox : public Control {
 public:
  using Control::Control;
  void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }

  const std::vector<std::string>& items() const { return items_; }
  void SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
    Changed();
  }
  void AddItem(std::string item) { items_.push_back(std::move(item)); Changed(); }
  void RemoveItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    items_.erase(items_.begin() + index);
    if (itemIndex_ == index) itemIndex_ = -1;
    else if (itemIndex_ > index) --itemIndex_;
    Changed();
  }
  void Clear() { items_.clear(); itemIndex_ = -1; Changed(); }
  int count() const { return static_cast<int>(items_.size()); }

  int itemIndex() const { return itemIndex_; }
  // An index outside the list leaves no choice.
  void SetItemIndex(int index) {
    if (index < 0 || index >= count()) index = -1;
    if (Assign(itemIndex_, index)) Changed();
  }
  std::string text() const { return itemIndex_ < 0 ? std::string() : items_[static_cast<size_t>(itemIndex_)]; }
  const Font& font() const { return font_; }
  void SetFont(Font f) { if (Assign(font_, f)) Changed(); }
  int itemHeight() const { return itemHeight_; }
  void SetItemHeight(int h) { if (Assign(itemHeight_, h)) Changed(); }

  std::function<void(ComboBox&)> onClick;
  std::function<void(ComboBox&)> onChange;

  bool repickIsChoice() const { return repickIsChoice_; }
  void SetRepickIsChoice(bool is) { repickIsChoice_ = is; }

  void UserSelect(int index) {
    if (!enabled() || index < 0 || index >= count()) return;
    if (index == itemIndex_ && !repickIsChoice_) return;
    itemIndex_ = index;
    Changed();
    RunUserEvent([this] {
      if (onClick) onClick(*this);
      if (onChange) onChange(*this);
    });
  }

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  Font font_;
  int itemHeight_ = 0;  // 0: the font's natural height
  bool repickIsChoice_ = false;
};

}  // namespace kv::ui

// The pop-up menu and its items.
#pragma once

#include <memory>

#include "ui/control.h"

namespace kv::ui {

class MenuItem {
 public:
  explicit MenuItem(std::string name, std::string caption = {}, bool separator = false)
      : name_(std::move(name)), caption_(std::move(caption)), separator_(separator) {}

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string c) { caption_ = std::move(c); }
  bool enabled() const { return enabled_; }
  void SetEnabled(bool e) { enabled_ = e; }
  bool visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  bool separator() const { return separator_; }

  std::function<void(MenuItem&)> onClick;
  void UserClick() { if (enabled_ && !separator_ && onClick) RunUserEvent([this] { onClick(*this); }); }

 private:
  std::string name_;
  std::string caption_;
  bool separator_;
  bool enabled_ = true;
  bool visible_ = true;
};

class PopupMenu {
 public:
  MenuItem& Add(std::unique_ptr<MenuItem> item) {
    items_.push_back(std::move(item));
    return *items_.back();
  }
  MenuItem& AddSeparator(std::string name) {
    return Add(std::make_unique<MenuItem>(std::move(name), "-", true));
  }
  const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }
  MenuItem* Find(std::string_view name) const {
    for (const auto& item : items_)
      if (item->name() == name) return item.get();
    return nullptr;
  }

 private:
  std::vector<std::unique_ptr<MenuItem>> items_;
};

}  // namespace kv::ui

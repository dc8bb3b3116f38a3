// A window timer; its peer runs it, tests call Fire().
#pragma once

#include "ui/control.h"

namespace kv::ui {

class Timer : public Control {
 public:
  Timer(std::string name, Control* owner) : Control(std::move(name), owner) { SetVisible(false); }
  void Accept(ControlVisitor& visitor) override { visitor.Visit(*this); }

  int interval() const { return interval_; }
  void SetInterval(int ms) { if (Assign(interval_, ms)) Changed(); }
  bool running() const { return running_; }
  void SetRunning(bool r) { if (Assign(running_, r)) Changed(); }

  std::function<void(Timer&)> onTimer;
  void Fire() { if (running_ && onTimer) RunUserEvent([this] { onTimer(*this); }); }

 private:
  int interval_ = 1000;
  bool running_ = false;
};

}  // namespace kv::ui

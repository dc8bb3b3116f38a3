#include "platform/win32/window/control_peer.h"

#include "platform/win32/window/painted_peers.h"
#include "platform/win32/window/timer_peer.h"
#include "platform/win32/wide.h"
#include "platform/win32/window/windowed_peers.h"
#include "ui/control_visitor.h"

namespace kv::win32 {

std::string WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void SetWindowTextIfDifferent(HWND hwnd, const std::string& text) {
  if (WindowText(hwnd) != text) ::SetWindowTextW(hwnd, Widen(text).c_str());
}

ControlPeer::ControlPeer(ui::Control& control, PeerContext& context)
    : context_(context), control_(control), bounds_(control.bounds()), visible_(control.visible()) {
  context_.peers[&control] = this;
}

void ControlPeer::UpdateTooltip() {
  if (context_.tooltips) context_.tooltips->Update(control_, Window(), context_.scale);
}

void ControlPeer::StateChanged(ui::Control&) {
  Sync();
  UpdateTooltip();
  const bool moved = control_.bounds() != bounds_;
  const bool shownChanged = control_.visible() != visible_;
  bounds_ = control_.bounds();
  visible_ = control_.visible();
  if (moved || shownChanged) TellDescendants(control_, moved, shownChanged);
}

void ControlPeer::TellDescendants(const ui::Control& control, bool moved, bool shownChanged) {
  for (const ui::Control* child : control.children()) {
    if (ControlPeer* peer = context_.PeerOf(child)) {
      peer->AncestorChanged(moved, shownChanged);
      peer->UpdateTooltip();
    }
    TellDescendants(*child, moved, shownChanged);
  }
}

namespace {

class PeerMaker final : public ui::ControlVisitor {
 public:
  PeerMaker(ControlPeers& peers, PeerContext& context) : peers_(peers), context_(context) {}

  void Visit(ui::Button& c) override { Windowed(std::make_unique<ButtonPeer>(c, context_)); }
  void Visit(ui::CheckBox& c) override { Windowed(std::make_unique<CheckBoxPeer>(c, context_)); }
  void Visit(ui::ComboBox& c) override { Windowed(std::make_unique<ComboBoxPeer>(c, context_)); }
  void Visit(ui::Edit& c) override { Windowed(std::make_unique<EditPeer>(c, context_)); }
  void Visit(ui::Label& c) override { Painted(std::make_unique<LabelPeer>(c, context_)); }
  void Visit(ui::Shape& c) override { Painted(std::make_unique<ShapePeer>(c, context_)); }
  void Visit(ui::Panel& c) override { Painted(std::make_unique<PanelPeer>(c, context_)); }
  void Visit(ui::Image& c) override { Painted(std::make_unique<ImagePeer>(c, context_)); }
  void Visit(ui::Timer& c) override {
    auto peer =
        std::make_unique<TimerPeer>(c, context_, kFirstControlTimerId + peers_.timers.size());
    peers_.timers.push_back(peer.get());
    Keep(std::move(peer));
  }

 private:
  void Windowed(std::unique_ptr<WindowedPeer> peer) {
    peers_.windowed.push_back(peer.get());
    Keep(std::move(peer));
  }
  void Painted(std::unique_ptr<PaintedPeer> peer) {
    peers_.painted.push_back(peer.get());
    Keep(std::move(peer));
  }
  void Keep(std::unique_ptr<ControlPeer> peer) {
    peer->control().SetPeer(peer.get());
    peers_.all.push_back(std::move(peer));
  }

  ControlPeers& peers_;
  PeerContext& context_;
};

}  // namespace

ControlPeers MakePeers(const std::vector<std::unique_ptr<ui::Control>>& controls,
                       PeerContext& context) {
  ControlPeers peers;
  PeerMaker maker(peers, context);
  for (const auto& control : controls) control->Accept(maker);
  return peers;
}

}  // namespace kv::win32

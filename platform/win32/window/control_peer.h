// The on-screen side of one control. Each control kind has its own peer: the windowed ones
// (button, check box, drop-down, edit box) own a child window, the painted ones (label,
// shape, panel, picture) are drawn by the main window, the timer runs a window timer. A peer
// mirrors its own control when that control changes; when the control moves, shows or
// hides, the peers of its descendants follow, and no other peer is touched.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win32/window/dpi.h"
#include "platform/win32/window/font_cache.h"
#include "platform/win32/window/painter.h"
#include "platform/win32/window/tooltips.h"
#include "ui/accessible.h"
#include "ui/control.h"

namespace kv::win32 {

class ControlPeer;
class WindowedPeer;
class PaintedPeer;
class TimerPeer;

// What the peers share: the main window they live in, its scale and fonts.
struct PeerContext {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  Scale scale;
  FontCache fonts;
  Colors colors;
  Tooltips* tooltips = nullptr;  // the hints, once the main window has its tooltip window
  // Told of each child window just made, to give it its place in the Tab order.
  std::function<void(WindowedPeer&)> windowMade;
  // True while a peer writes its control's state into a window: the notifications that
  // Windows sends for those writes are not the user's doing.
  bool syncing = false;
  std::unordered_map<const ui::Control*, ControlPeer*> peers;
  // A control's window that had the focus was disabled or hidden (Apply pressed, its page
  // turned away): the focus must go somewhere the keyboard can reach.
  std::function<void(HWND)> focusLost;
  // What a screen reader is told of a control, from the program's list.
  std::function<std::optional<ui::AccessibleItem>(const ui::Control&)> describe;

  ControlPeer* PeerOf(const ui::Control* control) const {
    auto it = peers.find(control);
    return it == peers.end() ? nullptr : it->second;
  }
};

// Marks a peer's writes to its window for the length of a scope (nested scopes allowed).
class SyncScope {
 public:
  explicit SyncScope(PeerContext& context) : context_(context), was_(context.syncing) {
    context.syncing = true;
  }
  ~SyncScope() { context_.syncing = was_; }
  SyncScope(const SyncScope&) = delete;
  SyncScope& operator=(const SyncScope&) = delete;

 private:
  PeerContext& context_;
  bool was_;
};

class ControlPeer : public ui::Peer {
 public:
  ControlPeer(ui::Control& control, PeerContext& context);
  ControlPeer(const ControlPeer&) = delete;
  ControlPeer& operator=(const ControlPeer&) = delete;

  ui::Control& control() const { return control_; }

  // ui::Peer: shows the control's new state, then lets the descendants follow a move, a
  // show or a hide.
  void StateChanged(ui::Control& control) final;
  // Shows the control's whole state.
  virtual void Sync() = 0;
  // The control's own window; null for the controls that the main window paints.
  virtual HWND Window() const { return nullptr; }
  // Shows the control's hint as it stands now.
  void UpdateTooltip();
  // An ancestor moved (`moved`) or showed or hid (`shownChanged`).
  virtual void AncestorChanged(bool moved, bool shownChanged) {
    (void)moved;
    (void)shownChanged;
  }

 protected:
  PeerContext& context_;

 private:
  void TellDescendants(const ui::Control& control, bool moved, bool shownChanged);

  ui::Control& control_;
  ui::Rect bounds_;
  bool visible_;
};

// A window's text as Keyvane's text; and set only when it differs, so that an unchanged
// text sends no change notification.
std::string WindowText(HWND hwnd);
void SetWindowTextIfDifferent(HWND hwnd, const std::string& text);

// Every control's peer, made by kind, in the order of the controls.
struct ControlPeers {
  std::vector<std::unique_ptr<ControlPeer>> all;
  std::vector<WindowedPeer*> windowed;
  std::vector<PaintedPeer*> painted;  // in painting order
  std::vector<TimerPeer*> timers;
};

// Makes the peer of each control (a control of a kind without a peer gets none) and attaches
// it. Windowed peers have no window yet.
ControlPeers MakePeers(const std::vector<std::unique_ptr<ui::Control>>& controls,
                       PeerContext& context);

}  // namespace kv::win32

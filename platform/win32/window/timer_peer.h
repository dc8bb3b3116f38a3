// The peer of a timer control: a window timer of the main window, running while the control
// says so.
#pragma once

#include <windows.h>

#include "platform/win32/window/control_peer.h"
#include "ui/timer.h"

namespace kv::win32 {

// Window-timer ids from here on belong to timer controls; the main window's own are lower.
inline constexpr UINT_PTR kFirstControlTimerId = 100;

class TimerPeer final : public ControlPeer {
 public:
  // Starts the window timer at once when the control is already running.
  TimerPeer(ui::Timer& timer, PeerContext& context, UINT_PTR id);

  UINT_PTR id() const { return id_; }
  void Sync() override;
  // WM_TIMER with this peer's id.
  void Elapsed() { timer_.Fire(); }

 private:
  ui::Timer& timer_;
  UINT_PTR id_;
};

}  // namespace kv::win32

#include "platform/win32/window/timer_peer.h"

namespace kv::win32 {

TimerPeer::TimerPeer(ui::Timer& timer, PeerContext& context, UINT_PTR id)
    : ControlPeer(timer, context), timer_(timer), id_(id) {
  if (timer_.running()) Sync();
}

void TimerPeer::Sync() {
  if (timer_.running())
    ::SetTimer(context_.window, id_, static_cast<UINT>(timer_.interval()), nullptr);
  else
    ::KillTimer(context_.window, id_);
}

}  // namespace kv::win32

// Serving the main thread's messages from inside a handler.
#pragma once

#include <windows.h>

#include <functional>

namespace kv::win32 {

// What the main window does with a message before it is dispatched (its keyboard: Tab, the
// arrows on the keys, the page keys), also for the messages served inside a handler (while
// the page slide plays or a started program runs); true when the filter handled it.
void SetMessageFilter(std::function<bool(MSG&)> filter);

// Translates and dispatches every message waiting now. A quit message is put back for the
// main loop, which ends the program in its usual order, and false is returned at once.
bool DispatchWaitingMessages();

}  // namespace kv::win32

// Serving the main thread's messages from inside a handler.
#pragma once

namespace kv::win32 {

// Translates and dispatches every message waiting now. A quit message is put back for the
// main loop, which ends the program in its usual order, and false is returned at once.
bool DispatchWaitingMessages();

}  // namespace kv::win32

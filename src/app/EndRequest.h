#pragma once

#include <functional>

namespace app {

// Calls `handler` on the user-interface thread when the system asks the program to end (SIGTERM,
// SIGHUP: a log-out, a shut-down, the terminal closed), instead of the process ending on the spot.
// Installed once, before the event loop runs.
void onEndRequest(std::function<void()> handler);

} // namespace app

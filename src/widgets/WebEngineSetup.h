#pragma once

namespace widgets {

// Prepares the process for the embedded browser of the preview page; call before the
// QApplication is created. The browser engine refuses to start its sandbox for the root user, so
// for root it runs without one (the page it shows is our own local report).
void prepareWebEngine();

} // namespace widgets

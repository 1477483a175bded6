#pragma once

class QCoreApplication;

namespace widgets {

// A closed list or number box takes the mouse wheel only when it has the focus. Otherwise the wheel
// passes to the page or scroll area beneath it, so that scrolling a page over a list never changes
// the list's value without a word. The boxes also no longer take the focus from the wheel itself.
// Installed once for the whole application; it covers every page and dialog, made before or after.
void installWheelGuard(QCoreApplication& app);

} // namespace widgets

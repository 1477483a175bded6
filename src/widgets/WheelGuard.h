#pragma once

class QCoreApplication;
class QWidget;

namespace widgets {

// A closed list or number box takes the mouse wheel only when it has the focus. Otherwise the wheel
// passes to the page or scroll area beneath it, so that scrolling a page over a list never changes
// the list's value without a word. The boxes also no longer take the focus from the wheel itself.
// Installed once for the whole application; it covers every page and dialog, made before or after.
void installWheelGuard(QCoreApplication& app);

// One line of a scrolling form in `widget`'s font: the height of a one-line entry box. A page or
// panel scrolls by this much per line, so that a notch of the wheel moves it by the platform's
// number of lines (QApplication::wheelScrollLines(), three unless the user chose otherwise).
int formLineHeight(const QWidget* widget);

} // namespace widgets

#pragma once

class QGuiApplication;
class QIcon;

namespace widgets {

// The program's own icon (the one the package installs for the desktop's menu), built into the
// program so that every window shows it in its title bar and the task bar, installed or not.
QIcon programIcon();

// Gives every window of `app` the program's icon and names the desktop entry the windows belong to.
void installProgramIcon(QGuiApplication& app);

} // namespace widgets

#pragma once

class QCoreApplication;

namespace widgets {

// Installs Qt's own Japanese texts (the buttons of message boxes, the file and print dialogs) in
// `app`, whatever the system's locale. False when the translation is not installed on the machine;
// Qt's texts then stay English.
bool installQtJapanese(QCoreApplication& app);

} // namespace widgets

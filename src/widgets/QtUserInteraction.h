#pragma once

#include "util/UserInteraction.h"

namespace widgets {

// The interaction on screen: QMessageBox for the boxes (owned by the active window), QFileDialog
// for the file, save and picture dialogs, QStandardPaths for the desktop folder.
class QtUserInteraction : public UserInteraction
{
public:
    Button message(Icon icon, const QString& caption, const QString& text, Buttons buttons) override;
    FileAnswer fileDialog(FileKind kind, const FileRequest& request) override;
    QString desktopFolder() override;
};

} // namespace widgets

#pragma once

#include "util/UserInteraction.h"

namespace cli {

// The user interaction of the command-line tool: every box is printed on stderr; questions are
// answered No (the tool never decides on the user's behalf) and file dialogs are cancelled.
class CliUserInteraction : public UserInteraction
{
public:
    Button message(Icon icon, const QString& caption, const QString& text, Buttons buttons) override;
    FileAnswer fileDialog(FileKind kind, const FileRequest& request) override;
    QString desktopFolder() override;
};

} // namespace cli

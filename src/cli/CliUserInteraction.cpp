#include "cli/CliUserInteraction.h"

#include "cli/CliCommand.h"

#include <QDir>

namespace cli {

UserInteraction::Button CliUserInteraction::message(Icon, const QString& caption, const QString& text, Buttons buttons)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    printErr(QStringLiteral("%1: %2\n").arg(caption, shown));
    if (buttons.testFlag(No))
        return No;
    return buttons.testFlag(Cancel) ? Cancel : Ok;
}

UserInteraction::FileAnswer CliUserInteraction::fileDialog(FileKind, const FileRequest&)
{
    return {};
}

QString CliUserInteraction::desktopFolder()
{
    return QDir::homePath();
}

} // namespace cli

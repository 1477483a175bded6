#include "widgets/ProgramIcon.h"

#include <QGuiApplication>
#include <QIcon>

namespace widgets {

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/vordell/vordell.svg"));
}

void installProgramIcon(QGuiApplication& app)
{
    app.setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("vordell"));
}

} // namespace widgets

#include "widgets/WebEngineSetup.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <unistd.h>

namespace widgets {

void prepareWebEngine()
{
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace widgets

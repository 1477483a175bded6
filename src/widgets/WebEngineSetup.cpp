#include "widgets/WebEngineSetup.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QtGlobal>

#include <unistd.h>

namespace widgets {

void prepareWebEngine()
{
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The browser engine reports its set-up at info level on every start; a user starting the
    // program from a terminal has no use for it (QT_LOGGING_RULES can still turn it on).
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}

} // namespace widgets

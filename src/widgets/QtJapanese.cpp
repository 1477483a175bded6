#include "widgets/QtJapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace widgets {

bool installQtJapanese(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    // "qt_ja" gathers the translations of every Qt module installed.
    if (!translator->load(QStringLiteral("qt_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace widgets

#include "widgets/WebEngineSetup.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    widgets::prepareWebEngine();
    QApplication app(argc, argv);
    // The settings the windows remember go to a test place, never the user's, and to one of this
    // process's own: tests run side by side must not see each other's choices.
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir settings;
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

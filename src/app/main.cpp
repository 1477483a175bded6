#include "app/MainWindow.h"
#include "widgets/QtUserInteraction.h"
#include "widgets/WebEngineSetup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    widgets::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    widgets::QtUserInteraction interaction;
    UserInteraction::setCurrent(&interaction);

    // The program works on the files of its own folder.
    app::TFrmMain window(QApplication::applicationDirPath());
    if (!window.start())
        return 1;
    window.show();
    const int result = app.exec();
    UserInteraction::setCurrent(nullptr);
    return result;
}

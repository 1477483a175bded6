#include "app/DraftKeeper.h"
#include "app/EndRequest.h"
#include "app/MainWindow.h"
#include "app/PdfCommand.h"
#include "store/ProgramFolderLocation.h"
#include "widgets/ProgramIcon.h"
#include "widgets/QtJapanese.h"
#include "widgets/QtUserInteraction.h"
#include "widgets/WheelGuard.h"
#include "widgets/WebEngineSetup.h"

#include <QApplication>
#include <QDir>

#include <cstdlib>

int main(int argc, char** argv)
{
    // `--pdf` writes a report without showing the program.
    if (const std::optional<int> code = app::runPdfCommand(argc, argv))
        return *code;
    widgets::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    widgets::installQtJapanese(app);
    widgets::installProgramIcon(app);
    widgets::installWheelGuard(app);
    widgets::QtUserInteraction interaction;
    UserInteraction::setCurrent(&interaction);

    // The program works on the files of its program folder: --home DIR, else its own folder when
    // that holds the data (a build or a portable copy), else the user's own data folder.
    const QStringList args = QApplication::arguments();
    const qsizetype homeAt = args.indexOf(QStringLiteral("--home"));
    const QString home = homeAt > 0 && homeAt + 1 < args.size() ? QDir(args.at(homeAt + 1)).absolutePath() : QString();
    QString error;
    const QString folder = store::locateProgramFolder(home, &error);
    if (folder.isEmpty()) {
        interaction.error(kProgramTitle, error);
        return 1;
    }
    app::MainWindow window(folder);
    if (!window.start())
        return 1;
    window.show();
    // Told to end by the system, the program keeps what was typed as the draft and ends at once:
    // no question can be answered then, and only 保存 writes the tables.
    app::onEndRequest([&window] {
        window.drafts().writeNow();
        window.drafts().waitForWrites();
        std::_Exit(0);
    });
    const int result = app.exec();
    UserInteraction::setCurrent(nullptr);
    return result;
}

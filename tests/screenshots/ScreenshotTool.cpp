// Renders the program's windows to PNG files so that anyone can look at the screens without
// running the program: vordell-screenshots OUTPUT_FOLDER [PROGRAM_FOLDER] [NAME...]
#include "ReportScreenshots.h"
#include "ScreenshotRenderers.h"
#include "widgets/QtJapanese.h"
#include "widgets/WebEngineSetup.h"

#include "util/UserInteraction.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

namespace {

// Message boxes cannot be photographed in passing: each is written to stderr and answered OK.
class LoggingInteraction : public UserInteraction
{
public:
    Button message(Icon, const QString& caption, const QString& text, Buttons buttons) override
    {
        QTextStream(stderr) << "message box [" << caption << "] " << text << '\n';
        return buttons.testFlag(Ok) ? Ok : buttons.testFlag(Yes) ? Yes : Cancel;
    }
    FileAnswer fileDialog(FileKind, const FileRequest& request) override { return {QString(), request.filterIndex}; }
    QString desktopFolder() override { return QDir::homePath(); }
};

} // namespace

int main(int argc, char** argv)
{
    widgets::prepareWebEngine();
    QApplication app(argc, argv);
    widgets::installQtJapanese(app);
    // The pictures show the windows as a first run does: the settings they remember go to a test
    // place, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        QTextStream(stderr) << "usage: vordell-screenshots OUTPUT_FOLDER [PROGRAM_FOLDER] [NAME...]\n";
        for (const auto& renderer : screenshots::renderers())
            QTextStream(stderr) << "  " << renderer.name << ": " << renderer.description << '\n';
        return 2;
    }
    const QString output = args.at(0);
    const QString programFolder = args.value(1, QApplication::applicationDirPath());
    const QStringList wanted = args.mid(2);
    if (!QDir().mkpath(output)) {
        QTextStream(stderr) << "cannot create " << output << '\n';
        return 1;
    }
    LoggingInteraction interaction;
    UserInteraction::setCurrent(&interaction);

    int failures = 0;
    for (const auto& renderer : screenshots::renderers()) {
        if (!wanted.isEmpty() && !wanted.contains(renderer.name))
            continue;
        std::unique_ptr<QWidget> window = renderer.build(programFolder);
        window->show();
        QApplication::processEvents();
        const QString file = QDir(output).filePath(renderer.name + QStringLiteral(".png"));
        if (screenshots::grabWithBrowsers(window.get()).save(file)) {
            QTextStream(stdout) << file << '\n';
        } else {
            QTextStream(stderr) << "cannot write " << file << '\n';
            ++failures;
        }
    }
    UserInteraction::setCurrent(nullptr);
    return failures ? 1 : 0;
}

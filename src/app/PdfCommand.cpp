#include "app/PdfCommand.h"

#include "app/ReportBrowser.h"
#include "report/ReportGenerator.h"
#include "store/DataModule.h"
#include "store/ProgramFolderLocation.h"
#include "util/UserInteraction.h"
#include "widgets/WebEngineSetup.h"

#include <QApplication>
#include <QDir>
#include <QStringList>
#include <QTimer>

#include <cstdio>

namespace app {

namespace {

const QString kUsage = QStringLiteral("usage: vordell [--home DIR] --pdf REG_NO OUT.pdf [--tab N]");

void printError(const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
}

// Without a screen every box goes to stderr; questions are answered No and dialogs cancelled.
class StderrInteraction : public UserInteraction
{
public:
    Button message(Icon, const QString& caption, const QString& text, Buttons buttons) override
    {
        printError(caption + QStringLiteral(": ") + QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        return buttons.testFlag(No) ? No : buttons.testFlag(Cancel) ? Cancel : Ok;
    }
    FileAnswer fileDialog(FileKind, const FileRequest&) override { return {}; }
    QString desktopFolder() override { return QDir::homePath(); }
};

struct PdfRequest
{
    QString home;
    QString regNo;
    QString output;
    int tab = 0;
};

// The request, or the message that says what is wrong with the arguments.
std::optional<PdfRequest> parse(const QStringList& args, QString* error)
{
    PdfRequest request;
    bool pdf = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--home") && i + 1 < args.size()) {
            request.home = args.at(++i);
        } else if (arg == QLatin1String("--pdf") && i + 2 < args.size()) {
            pdf = true;
            request.regNo = args.at(++i).trimmed();
            request.output = args.at(++i);
        } else if (arg == QLatin1String("--tab") && i + 1 < args.size()) {
            bool ok = false;
            request.tab = args.at(++i).toInt(&ok);
            if (!ok || request.tab < 0 || request.tab > 4) {
                *error = QStringLiteral("--tab takes 0 to 4");
                return std::nullopt;
            }
        } else {
            *error = kUsage;
            return std::nullopt;
        }
    }
    if (!pdf) {
        *error = kUsage;
        return std::nullopt;
    }
    return request;
}

// Generates the report of the registration and writes it as PDF; the message when it fails.
QString writePdf(const PdfRequest& request)
{
    StderrInteraction interaction;
    UserInteraction* previous = UserInteraction::setCurrent(&interaction);
    // The same program folder the program itself would work on.
    QString error;
    const QString home = store::locateProgramFolder(request.home.isEmpty() ? QString() : QDir(request.home).absolutePath(), &error);
    if (home.isEmpty()) {
        UserInteraction::setCurrent(previous);
        return error;
    }
    {
        store::DataModule dm(home, &interaction);
        if (!dm.start()) {
            error = dm.startError().isEmpty() ? QStringLiteral("cannot open the data folder of %1").arg(home) : dm.startError();
        } else if (!dm.table(QStringLiteral("NT_TBL_MAIN"))->locate(QStringLiteral("REG_NO"), request.regNo)) {
            error = QStringLiteral("no registration %1").arg(request.regNo);
        } else {
            QString report;
            if (report::GenerateReport(dm, report::screenFromTables(dm), request.tab, &report, &error)) {
                ReportWebPage page(report, dm.folder().path(QStringLiteral("Images")));
                QEventLoop loop;
                QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
                    if (!ok) {
                        error = QStringLiteral("cannot show %1").arg(QDir::toNativeSeparators(report));
                        loop.quit();
                        return;
                    }
                    writeReportPdf(&page, request.output, [&](const QString& written) {
                        error = written;
                        loop.quit();
                    });
                });
                QTimer::singleShot(120000, &loop, [&] {
                    error = QStringLiteral("the browser engine did not finish the PDF in time");
                    loop.quit();
                });
                page.setUrl(page.freshReportUrl());
                loop.exec();
            }
        }
        QString closeError;
        if (!dm.CloseAllTables(&closeError) && error.isEmpty())
            error = closeError;
    }
    UserInteraction::setCurrent(previous);
    return error;
}

} // namespace

std::optional<int> runPdfCommand(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (!args.contains(QLatin1String("--pdf")))
        return std::nullopt;
    QString error;
    const std::optional<PdfRequest> request = parse(args, &error);
    if (!request) {
        printError(error);
        return 1;
    }
    // Nothing is shown: the browser engine renders without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    widgets::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    error = writePdf(*request);
    if (!error.isEmpty()) {
        printError(QString(error).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        return 1;
    }
    return 0;
}

} // namespace app

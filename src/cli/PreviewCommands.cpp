#include "cli/CliCommand.h"
#include "cli/CliUserInteraction.h"
#include "cli/DataModuleSession.h"
#include "report/ReportGenerator.h"
#include "store/DataModule.h"

#include <QFile>

namespace {

const QString kUsage = QStringLiteral("usage: vordell-cli [--home DIR] preview [--tab N] REG_NO OUT.htm\n");

// Writes the report of one registration as the preview page shows it after opening it: the
// template of the chosen tab filled from the stored rows, copied from NewTech.htm to OUT.htm.
int preview(cli::CliContext& context)
{
    QStringList args = context.args;
    int tab = 0;
    if (args.size() == 4 && args.first() == QLatin1String("--tab")) {
        bool ok = false;
        tab = args.at(1).toInt(&ok);
        if (!ok || tab < 0 || tab > 4) {
            cli::printErr(QStringLiteral("--tab takes 0 to 4\n"));
            return 2;
        }
        args = args.mid(2);
    }
    if (args.size() != 2) {
        cli::printErr(kUsage);
        return 2;
    }
    cli::CliUserInteraction interaction;
    store::DataModule dm(context.home, &interaction);
    if (!cli::startDataModule(context, dm))
        return 1;
    int code = 0;
    store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
    QString generated;
    QString error;
    if (!main->locate(QStringLiteral("REG_NO"), args.at(0).trimmed())) {
        cli::printErr(QStringLiteral("no registration %1\n").arg(args.at(0)));
        code = 1;
    } else if (!report::GenerateReport(dm, report::screenFromTables(dm), tab, &generated, &error)) {
        cli::printErr(error + QLatin1Char('\n'));
        code = 1;
    } else {
        QFile::remove(args.at(1));
        if (!QFile::copy(generated, args.at(1))) {
            cli::printErr(QStringLiteral("cannot write %1\n").arg(args.at(1)));
            code = 1;
        }
    }
    if (!dm.CloseAllTables(&error)) {
        cli::printErr(error + QLatin1Char('\n'));
        return 1;
    }
    return code;
}

const cli::CliRegistration registerPreview(
    {QStringLiteral("preview"),
     QStringLiteral("preview [--tab N] REG_NO OUT.htm  the printable report of a registration (tab 0 whole, 1-4 one section)"),
     preview});

} // namespace

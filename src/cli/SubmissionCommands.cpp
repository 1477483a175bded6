#include "cli/CliCommand.h"
#include "cli/CliUserInteraction.h"
#include "cli/DataModuleSession.h"
#include "store/DataModule.h"
#include "submission/SubmissionExport.h"
#include "submission/SubmissionImport.h"

#include <QFileInfo>

namespace {

int exportRegistration(cli::CliContext& context)
{
    if (context.args.size() != 2) {
        cli::printErr(QStringLiteral("usage: vordell-cli [--home DIR] export REG_NO FILE.lzh\n"));
        return 2;
    }
    const QString regNo = context.args.at(0).trimmed();
    const QString path = QFileInfo(context.args.at(1)).absoluteFilePath();
    cli::CliUserInteraction interaction;
    store::DataModule dm(context.home, &interaction);
    if (!cli::startDataModule(context, dm))
        return 1;
    if (!dm.table(QStringLiteral("NT_TBL_MAIN"))->locate(QStringLiteral("REG_NO"), regNo)) {
        cli::printErr(QStringLiteral("%1: no such registration\n").arg(regNo));
        return cli::finishDataModuleAndExit(dm, 1);
    }
    submission::SubmissionExport exporter(dm, interaction);
    const bool written = exporter.exportSubmissionFile(path) == submission::SubmissionExport::Outcome::Written;
    return cli::finishDataModuleAndExit(dm, written ? 0 : 1);
}

int importSubmission(cli::CliContext& context)
{
    if (context.args.size() != 1) {
        cli::printErr(QStringLiteral("usage: vordell-cli [--home DIR] import FILE.lzh\n"));
        return 2;
    }
    cli::CliUserInteraction interaction;
    store::DataModule dm(context.home, &interaction);
    if (!cli::startDataModule(context, dm))
        return 1;
    submission::SubmissionImport importer(dm, interaction);
    if (importer.importSubmissionFile(QFileInfo(context.args.at(0)).absoluteFilePath()) != submission::SubmissionImport::Outcome::Imported)
        return cli::finishDataModuleAndExit(dm, 1);
    cli::printOut(importer.importedNumber() + QLatin1Char('\n'));
    return cli::finishDataModuleAndExit(dm, 0);
}

const cli::CliRegistration registerExport({QStringLiteral("export"),
                                           QStringLiteral("export REG_NO FILE.lzh  write the submission file of a registration"),
                                           exportRegistration});
const cli::CliRegistration registerImport({QStringLiteral("import"),
                                           QStringLiteral("import FILE.lzh    add the registration of a submission file; prints its new number"),
                                           importSubmission});

} // namespace

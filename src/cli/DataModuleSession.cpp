#include "cli/DataModuleSession.h"

#include "store/DataModule.h"

#include <cstdio>
#include <cstdlib>

namespace cli {

bool requireProgramFolder(const CliContext& context)
{
    if (!context.home.isEmpty())
        return true;
    printErr(QString(context.homeError).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + QLatin1Char('\n'));
    return false;
}

bool startDataModule(CliContext& context, store::DataModule& dm)
{
    if (!requireProgramFolder(context))
        return false;
    if (context.restoreBackup)
        dm.setAnswerForBrokenData(true);
    if (dm.start())
        return true;
    if (!dm.startError().isEmpty())
        printErr(dm.startError() + QLatin1Char('\n'));
    return false;
}

int finishDataModuleAndExit(store::DataModule& dm, int code)
{
    QString error;
    if (!dm.WriteAllTablesBeforeExit(&error)) {
        printErr(error + QLatin1Char('\n'));
        return 1;
    }
    // Handing back the rows of every table one by one would take a tenth of the run.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
}

} // namespace cli

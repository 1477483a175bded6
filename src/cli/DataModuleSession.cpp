#include "cli/DataModuleSession.h"

#include "store/DataModule.h"

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

int finishDataModule(store::DataModule& dm, int code)
{
    QString error;
    if (!dm.CloseAllTables(&error)) {
        printErr(error + QLatin1Char('\n'));
        return 1;
    }
    return code;
}

} // namespace cli

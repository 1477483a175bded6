#include "cli/CliCommand.h"
#include "cli/DataModuleSession.h"
#include "store/ShippedDataInstall.h"

namespace {

// Brings the program folder up to date with shipped data, as the installed program does for the
// user's folder at every start; the build assembles its program folder with it.
int installData(cli::CliContext& context)
{
    if (context.args.size() != 1) {
        cli::printErr(QStringLiteral("usage: vordell-cli [--home DIR] install-data SHIPPED_DIR\n"));
        return 2;
    }
    if (!cli::requireProgramFolder(context))
        return 1;
    QString error;
    if (!store::installShippedData(context.args.first(), context.home, &error)) {
        cli::printErr(error + QLatin1Char('\n'));
        return 1;
    }
    return 0;
}

const cli::CliRegistration registerInstallData(
    {QStringLiteral("install-data"),
     QStringLiteral("install-data DIR   bring the program folder up to date with the shipped data in DIR (keeps registrations)"),
     installData});

} // namespace

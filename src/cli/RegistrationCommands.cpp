#include "cli/CliCommand.h"
#include "cli/CliUserInteraction.h"
#include "cli/DataModuleSession.h"
#include "store/DataModule.h"
#include "store/RegistrationList.h"
#include "submission/RegistrationCopy.h"

#include <algorithm>

namespace {

int list(cli::CliContext& context)
{
    if (context.args.size() > 1) {
        cli::printErr(QStringLiteral("usage: vordell-cli [--home DIR] list [TEXT]\n"));
        return 2;
    }
    cli::CliUserInteraction interaction;
    store::DataModule dm(context.home, &interaction);
    if (!cli::startDataModule(context, dm))
        return 1;
    QList<store::RegistrationEntry> entries = store::entriesMatching(
        store::registrationEntries(*dm.table(QStringLiteral("NT_TBL_MAIN")), dm.saveTimes()), context.args.value(0));
    // In number order, as the main table orders its rows.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const store::RegistrationEntry& a, const store::RegistrationEntry& b) { return a.number < b.number; });
    QString out;
    for (const store::RegistrationEntry& entry : std::as_const(entries))
        out += entry.number + QLatin1Char('\t') + entry.title + QLatin1Char('\n');
    cli::printOut(out);
    return cli::finishDataModuleAndExit(dm, 0);
}

int duplicate(cli::CliContext& context)
{
    if (context.args.size() != 1) {
        cli::printErr(QStringLiteral("usage: vordell-cli [--home DIR] duplicate REG_NO\n"));
        return 2;
    }
    cli::CliUserInteraction interaction;
    store::DataModule dm(context.home, &interaction);
    if (!cli::startDataModule(context, dm))
        return 1;
    QString number;
    QString error;
    if (!submission::duplicateRegistration(dm, context.args.first(), submission::CopyEnding::Saved, &number, &error)) {
        cli::printErr(error.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + QLatin1Char('\n'));
        return cli::finishDataModuleAndExit(dm, 1);
    }
    cli::printOut(number + QLatin1Char('\n'));
    return cli::finishDataModuleAndExit(dm, 0);
}

int nextNumber(cli::CliContext& context)
{
    if (!context.args.isEmpty()) {
        cli::printErr(QStringLiteral("usage: vordell-cli [--home DIR] next-number\n"));
        return 2;
    }
    cli::CliUserInteraction interaction;
    store::DataModule dm(context.home, &interaction);
    if (!cli::startDataModule(context, dm))
        return 1;
    QString number;
    QString error;
    if (!dm.NextLocalNumber(&number, &error)) {
        cli::printErr(error.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + QLatin1Char('\n'));
        return cli::finishDataModuleAndExit(dm, 1);
    }
    dm.table(QStringLiteral("NT_TBL_MAIN"))->cancel(); // only the number is asked for
    cli::printOut(number.trimmed() + QLatin1Char('\n'));
    return cli::finishDataModuleAndExit(dm, 0);
}

const cli::CliRegistration registerList(
    {QStringLiteral("list"),
     QStringLiteral("list [TEXT]        number and technology name of each registration, in number order; with TEXT only those\n"
                    "                   whose number, name, subtitle or developer holds it (widths and letter case aside)"),
     list});
const cli::CliRegistration registerDuplicate(
    {QStringLiteral("duplicate"),
     QStringLiteral("duplicate REG_NO   a new registration holding everything of REG_NO, photos too; prints its number"),
     duplicate});
const cli::CliRegistration registerNextNumber({QStringLiteral("next-number"),
                                               QStringLiteral("next-number        the local registration number a new registration would get"),
                                               nextNumber});

} // namespace

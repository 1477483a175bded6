#include "cli/CliCommand.h"
#include "cli/CliUserInteraction.h"
#include "cli/DataModuleSession.h"
#include "store/DataModule.h"
#include "store/Schema.h"

namespace {

int list(cli::CliContext& context)
{
    if (!context.args.isEmpty()) {
        cli::printErr(QStringLiteral("usage: vordell-cli [--home DIR] list\n"));
        return 2;
    }
    cli::CliUserInteraction interaction;
    store::DataModule dm(context.home, &interaction);
    if (!cli::startDataModule(context, dm))
        return 1;
    // A second cursor over the registrations, in the main table's order: walking it moves none
    // of the detail tables along.
    store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
    store::Table registrations(main->name());
    registrations.cloneCursor(main);
    if (const store::schema::TableDef* def = store::schema::findTable(main->name()))
        registrations.setIndexFieldNames(def->indexFieldNames);
    const store::Field number = registrations.field(QStringLiteral("REG_NO"));
    const store::Field title = registrations.field(QStringLiteral("TECH_TITLE"));
    QString out;
    for (registrations.first(); !registrations.eof(); registrations.next())
        out += number.asString() + QLatin1Char('\t') + title.asString() + QLatin1Char('\n');
    cli::printOut(out);
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

const cli::CliRegistration registerList({QStringLiteral("list"),
                                         QStringLiteral("list               number and technology name of each registration, in number order"),
                                         list});
const cli::CliRegistration registerNextNumber({QStringLiteral("next-number"),
                                               QStringLiteral("next-number        the local registration number a new registration would get"),
                                               nextNumber});

} // namespace

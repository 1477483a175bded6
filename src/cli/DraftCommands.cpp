#include "cli/CliCommand.h"
#include "cli/TabSeparated.h"
#include "cli/DataModuleSession.h"
#include "entry/ChangedItems.h"
#include "store/Draft.h"
#include "store/ProgramFolder.h"

namespace {

int drafts(cli::CliContext& context)
{
    if (!context.args.isEmpty()) {
        cli::printErr(QStringLiteral("usage: vordell-cli drafts\n"));
        return 2;
    }
    if (!cli::requireProgramFolder(context))
        return 1;
    const store::ProgramFolder folder(context.home);
    int code = 0;
    for (const QString& path : store::drafts::list(folder)) {
        store::Draft draft;
        QString error;
        if (!store::drafts::read(path, &draft, &error)) {
            cli::printErr(error + QLatin1Char('\n'));
            code = 1;
            continue;
        }
        const QString head = draft.number + QLatin1Char('\t') + draft.changed.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        QString out;
        const QList<store::TableRows> saved = draft.isNew ? QList<store::TableRows>() : store::drafts::savedRows(folder, draft.number);
        for (const changeditems::ChangedItem& item : changeditems::compare(saved, draft.tables))
            out += head + QLatin1Char('\t') + item.page + QLatin1Char('\t') + item.caption + QLatin1Char('\t') + cli::escapedCell(item.before)
                + QLatin1Char('\t') + cli::escapedCell(item.after) + QLatin1Char('\n');
        cli::printOut(out);
    }
    return code;
}

cli::CliRegistration registration({QStringLiteral("drafts"),
                                   QStringLiteral("drafts                 list the unsaved changes kept as drafts (number, time, page, item, saved, draft)"),
                                   drafts});

} // namespace

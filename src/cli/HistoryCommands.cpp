#include "cli/CliCommand.h"
#include "cli/CliUserInteraction.h"
#include "cli/DataModuleSession.h"
#include "store/DataModule.h"
#include "submission/SubmissionChanges.h"

#include <QFileInfo>

namespace {

constexpr int kSame = 0;
constexpr int kChanged = 1;
constexpr int kCannotCompare = 2;

bool knownRegistration(store::DataModule& dm, const QString& regNo)
{
    if (dm.table(QStringLiteral("NT_TBL_MAIN"))->locate(QStringLiteral("REG_NO"), regNo))
        return true;
    cli::printErr(QStringLiteral("%1: no such registration\n").arg(regNo));
    return false;
}

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

// Reading only: nothing is written back, so the exit code is the comparison's.
int diff(cli::CliContext& context)
{
    if (context.args.isEmpty() || context.args.size() > 2) {
        cli::printErr(QStringLiteral("usage: vordell-cli [--home DIR] diff REG_NO [FILE.lzh]\n"));
        return kCannotCompare;
    }
    const QString regNo = context.args.at(0).trimmed();
    cli::CliUserInteraction interaction;
    store::DataModule dm(context.home, &interaction);
    if (!cli::startDataModule(context, dm))
        return kCannotCompare;
    if (!knownRegistration(dm, regNo))
        return cli::finishDataModuleAndExit(dm, kCannotCompare);
    const submission::ChangesSinceSubmission changes = context.args.size() == 2
        ? submission::changesSinceFile(dm, regNo, QFileInfo(context.args.at(1)).absoluteFilePath())
        : submission::changesSinceLastSubmission(dm, regNo);
    for (const QString& note : changes.notes)
        cli::printErr(oneLine(note) + QLatin1Char('\n'));
    if (!changes.compared) {
        cli::printErr(oneLine(changes.error) + QLatin1Char('\n'));
        return cli::finishDataModuleAndExit(dm, kCannotCompare);
    }
    QString out;
    for (const submission::Difference& difference : changes.differences)
        out += difference.line() + QLatin1Char('\n');
    if (changes.differences.isEmpty())
        cli::printErr(submission::kNoChanges + QLatin1Char('\n'));
    cli::printOut(out);
    return cli::finishDataModuleAndExit(dm, changes.differences.isEmpty() ? kSame : kChanged);
}

int history(cli::CliContext& context)
{
    if (context.args.size() != 1) {
        cli::printErr(QStringLiteral("usage: vordell-cli [--home DIR] history REG_NO\n"));
        return 2;
    }
    const QString regNo = context.args.at(0).trimmed();
    cli::CliUserInteraction interaction;
    store::DataModule dm(context.home, &interaction);
    if (!cli::startDataModule(context, dm))
        return 1;
    submission::SubmissionHistory kept(dm.folder());
    QString error;
    if (!kept.load(&error)) {
        cli::printErr(oneLine(error) + QLatin1Char('\n'));
        return cli::finishDataModuleAndExit(dm, 1);
    }
    QString out;
    for (const submission::KeptSubmission& entry : kept.entries(regNo)) {
        out += QStringList{entry.time.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")), entry.kindName(), entry.userName,
                           QString::number(entry.size), QString::fromLatin1(entry.sha256)}
                   .join(QLatin1Char('\t'))
            + QLatin1Char('\n');
    }
    cli::printOut(out);
    return cli::finishDataModuleAndExit(dm, 0);
}

const cli::CliRegistration registerDiff(
    {QStringLiteral("diff"),
     QStringLiteral("diff REG_NO [FILE.lzh]  what changed since the last kept submission (or the file), one line each "
                    "(page, item, in the file, now); exit 0 none, 1 some, 2 cannot compare"),
     diff});
const cli::CliRegistration registerHistory({QStringLiteral("history"),
                                            QStringLiteral("history REG_NO     the kept submission files of a registration, newest first "
                                                           "(time, 提出/取り込み, name, size, SHA-256)"),
                                            history});

} // namespace

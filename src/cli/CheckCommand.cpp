#include "cli/CliCommand.h"
#include "cli/CliUserInteraction.h"
#include "cli/DataModuleSession.h"
#include "store/DataModule.h"
#include "submission/RegistrationProblems.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

constexpr int kNoProblem = 0;
constexpr int kProblems = 1;
constexpr int kUnreadable = 2;

int report(const QList<inputcheck::Problem>& problems)
{
    QString out;
    for (const inputcheck::Problem& problem : problems)
        out += problem.line() + QLatin1Char('\n');
    cli::printOut(out);
    return problems.isEmpty() ? kNoProblem : kProblems;
}

// A submission file is checked from a folder of its own: nothing of it reaches the data folder.
int checkSubmissionFile(store::DataModule& dm, const QString& path)
{
    QTemporaryDir folder;
    QString error;
    submission::StoredRegistration registration;
    if (!folder.isValid() || !submission::ExtractSubmissionFile(path, folder.path(), &error)
        || !submission::extractedRegistration(folder.path(), &registration, &error)) {
        cli::printErr(QStringLiteral("%1: %2\n").arg(path, error.replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
        return kUnreadable;
    }
    return report(submission::RegistrationProblems(dm, registration));
}

int checkRegistration(store::DataModule& dm, const QString& number)
{
    if (!dm.table(QStringLiteral("NT_TBL_MAIN"))->locate(QStringLiteral("REG_NO"), number)) {
        cli::printErr(QStringLiteral("%1: no such registration\n").arg(number));
        return kUnreadable;
    }
    return report(submission::RegistrationProblems(dm, submission::currentRegistration(dm)));
}

int check(cli::CliContext& context)
{
    if (context.args.size() != 1) {
        cli::printErr(QStringLiteral("usage: vordell-cli [--home DIR] check REG_NO|FILE.lzh\n"));
        return kUnreadable;
    }
    const QString subject = context.args.at(0);
    cli::CliUserInteraction interaction;
    store::DataModule dm(context.home, &interaction);
    if (!cli::startDataModule(context, dm))
        return kUnreadable;
    const bool isFile = subject.endsWith(QLatin1String(".lzh"), Qt::CaseInsensitive) || QFileInfo(subject).isFile();
    const int code = isFile ? checkSubmissionFile(dm, QFileInfo(subject).absoluteFilePath()) : checkRegistration(dm, subject.trimmed());
    // Checking changes nothing, so nothing is written back.
    return cli::finishDataModuleAndExit(dm, code) == code ? code : kUnreadable;
}

const cli::CliRegistration registerCheck(
    {QStringLiteral("check"),
     QStringLiteral("check REG_NO|FILE.lzh  every problem of a registration or submission file, one line each "
                    "(page, 保存/提出, message); exit 0 none, 1 some, 2 unreadable"),
     check});

} // namespace

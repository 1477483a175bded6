#include "submission/SubmissionChanges.h"

#include "store/DataModule.h"

#include <QDir>
#include <QFileInfo>

namespace submission {

namespace {

QString keptDescription(const KeptSubmission& kept)
{
    return QStringLiteral("%1（%2 %3）").arg(kept.userName, kept.time.toString(QStringLiteral("yyyy/MM/dd hh:mm")), kept.kindName());
}

} // namespace

ChangesSinceSubmission changesSinceLastSubmission(const store::DataModule& dm, const QString& regNo)
{
    ChangesSinceSubmission result;
    SubmissionHistory history(dm.folder());
    if (!history.load(&result.error))
        return result;
    const QList<KeptSubmission> kept = history.entries(regNo);
    if (kept.isEmpty()) {
        result.error = QStringLiteral("%1: 保管した提出ファイルがありません。").arg(regNo);
        return result;
    }
    for (int n = 0; n < kept.size(); ++n) {
        QString problem = history.problemOf(kept.at(n));
        RegistrationValues file;
        if (problem.isEmpty() && !submissionValues(history.pathOf(kept.at(n)), &file, &problem))
            problem = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(history.pathOf(kept.at(n))), problem);
        if (!problem.isEmpty()) {
            result.notes.append(problem);
            continue;
        }
        if (n > 0)
            result.notes.append(QStringLiteral("%1 と比較します。").arg(keptDescription(kept.at(n))));
        result.compared = true;
        result.against = keptDescription(kept.at(n));
        result.differences = compareRegistrations(file, storedValues(dm, regNo), CodeNames(dm));
        return result;
    }
    result.error = result.notes.join(QLatin1Char('\n'));
    return result;
}

ChangesSinceSubmission changesSinceFile(const store::DataModule& dm, const QString& regNo, const QString& path)
{
    ChangesSinceSubmission result;
    RegistrationValues file;
    QString problem;
    if (!submissionValues(path, &file, &problem)) {
        result.error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), problem);
        return result;
    }
    result.compared = true;
    result.against = QFileInfo(path).fileName();
    result.differences = compareRegistrations(file, storedValues(dm, regNo), CodeNames(dm));
    return result;
}

bool hasKeptSubmission(const store::DataModule& dm, const QString& regNo)
{
    SubmissionHistory history(dm.folder());
    QString error;
    return history.load(&error) && history.lastSubmission(regNo).has_value();
}

bool keepSubmission(const store::DataModule& dm, const QString& regNo, const QString& file, KeptSubmission::Kind kind, QString* error)
{
    SubmissionHistory history(dm.folder());
    return history.load(error)
        && history.keep(regNo, file, kind, QFileInfo(file).fileName(), registrationFingerprints(dm, {regNo}).value(regNo), error);
}

bool setAsideSubmissions(const store::DataModule& dm, const QString& regNo, QString* error)
{
    SubmissionHistory history(dm.folder());
    return history.load(error) && history.setAside(regNo, error);
}

} // namespace submission

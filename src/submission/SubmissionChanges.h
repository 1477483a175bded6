#pragma once

#include "submission/SubmissionComparison.h"
#include "submission/SubmissionHistory.h"

#include <QStringList>

namespace store {
class DataModule;
}

// The comparison of a registration as saved with a submission file — the newest kept one, or a
// file the user names — and the keeping of each file handed in or taken over.
namespace submission {

struct ChangesSinceSubmission
{
    bool compared = false;          // false: there was nothing readable to compare with (see `error`)
    QString against;                // what was compared with: the file's name and when it was kept
    QStringList notes;              // kept files found missing or damaged, and the fallback taken
    QList<Difference> differences;
    QString error;
};

// Against the newest readable kept file of the registration; a missing or damaged one is named in
// the notes and the next older one is used.
ChangesSinceSubmission changesSinceLastSubmission(const store::DataModule& dm, const QString& regNo);
// Against a submission file the user names.
ChangesSinceSubmission changesSinceFile(const store::DataModule& dm, const QString& regNo, const QString& path);
// True when the registration has a kept file (the export then shows what changed first).
bool hasKeptSubmission(const store::DataModule& dm, const QString& regNo);

// Keeps a copy of a submission file just written (kind Submitted) or imported (kind Imported) for
// the registration; false with the reason when it could not be kept.
bool keepSubmission(const store::DataModule& dm, const QString& regNo, const QString& file, KeptSubmission::Kind kind,
                    QString* error);
// Moves the kept files of a deleted registration aside.
bool setAsideSubmissions(const store::DataModule& dm, const QString& regNo, QString* error);

} // namespace submission

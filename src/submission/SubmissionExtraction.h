#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

// What a submission file may hold, and its bounded extraction: only the members a submission
// consists of (the thirteen tables, the photos its image rows name, and the old-version data file
// that tells an old submission apart), each within a size that no real submission reaches.
namespace submission {

// The most rows one registration can have in a table, as the entry screens let the user add them
// (for the breakdown rows: of each kind); 0 for a table that is not a registration table.
int rowsPerRegistration(const QString& table);

// The most bytes a table member may hold: the file that 10,000 registrations would make of the
// table, each with all its rows and every field filled to its limit.
qint64 tableMemberLimit(const QString& table);
// The most bytes a photo member may hold: what the photo rules accept at selection.
qint64 photoMemberLimit();

// Extracts the members of a submission file into `folder`. False, with the reason, when the file
// cannot be read as an archive (kNotSubmissionData) or a member is larger than its limit (the
// refusal names the member, its size and the limit).
bool extractSubmission(const QString& path, const QString& folder, QString* error);

// Why the photos extracted into `folder` cannot be imported: the first that fails the checks of a
// chosen photo (GIF or JPEG content, width, size), named; empty when every one passes.
QString photoRefusal(const QString& folder);

// Why the rows of one registration's table cannot be taken over: more rows (of one value of
// `kindField`, when it is a field) than the program can enter, "NT_TBL_COMPANY.Cds に 41 行あります。…";
// empty when the rows are within the bound.
QString rowCountRefusal(const QString& table, const QList<QVector<QVariant>>& rows, int kindField = -1);

} // namespace submission

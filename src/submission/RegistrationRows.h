#pragma once

#include "store/Table.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace store {
class DataModule;
}

// The rows of one registration as they leave the tables (an export, a copy) and as they come in
// under a new number (an import, a copy).
namespace submission {

using RegistrationRowSet = QHash<QString, QList<store::Table::RowValues>>;

// The thirteen registration tables in the order their rows are appended: NT_TBL_MAIN last, so
// that a failure on the way leaves no main row pointing at missing details.
const QStringList& appendOrder();

// The stored rows of registration `regNo` in each of the thirteen tables: those whose REG_NO is
// the number, and the comparison's detail rows by the identifiers of its sheets.
RegistrationRowSet registrationRows(const store::DataModule& dm, const QString& regNo);

// A photo file that comes with a registration's image row: where it is, and its new name.
struct PhotoFile
{
    QString source;  // path of the existing file
    QString newName; // file name under the new number
};

// The rows of `table` (in the layout of `live`) put under registration `number`: REG_NO set, the
// contacts numbered 1, 2, 3 … in their order (REC_ID), the comparison's rows given the number's
// digits as identifier. An image row comes only with its photo, found in `photoFolder` under the
// old number and slot letter, and names the photo's new file; each such photo is added to `photos`.
QList<store::Table::RowValues> rowsUnderNumber(const QString& table, const store::Table& live, QList<store::Table::RowValues> rows,
                                               const QString& number, const QString& photoFolder, QList<PhotoFile>* photos);

} // namespace submission

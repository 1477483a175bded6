#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace store {

// The keys that join the rows of one registration: a registration number appears at most once in
// NT_TBL_MAIN, and every row of a detail table names a row of its master table (REG_NO of
// NT_TBL_MAIN; REC_ID of NT_TBL_COMPARE_MAIN for the breakdown rows). Rows without a key belong to
// no registration and are not judged. `column` gives the values of a field of a table, one per
// row; the result is empty when the keys hold, otherwise a message naming the table and the key.
using KeyColumn = std::function<QStringList(const QString& table, const QString& field)>;
QString registrationKeyProblem(const KeyColumn& column);

} // namespace store

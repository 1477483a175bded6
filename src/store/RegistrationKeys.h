#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace store {

// The key of the registrations: a registration number appears at most once in NT_TBL_MAIN (a
// table where it repeats was damaged, however well formed it reads). Detail rows without a main row
// are not judged: the record dialogs write their rows at once, so a registration that was never
// saved before the program ended leaves them, and the rows of a deleted registration may remain too.
// Rows without a number belong to no registration. `column` gives the values of a field of a table,
// one per row; the result is empty when the key holds, otherwise a message naming the table and
// the number.
using KeyColumn = std::function<QStringList(const QString& table, const QString& field)>;
QString registrationKeyProblem(const KeyColumn& column);

} // namespace store

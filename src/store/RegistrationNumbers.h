#pragma once

#include <QString>

namespace store {

class Table;

// The regional prefixes of registration numbers: ten of three characters, ten of four.
extern const QStringList kRegionalPrefixes;

// The photo slot letter of a photo file name that begins with a registration-number prefix: the
// character just before the first "."; empty otherwise ("THK-000123A.jpg" gives "A").
QString PhotoSlotOfFileName(const QString& fileName);

// One more than the largest whole number in field `position` (from 0) over the rows the table
// shows, as text; "1" when there is none.
QString GetMaxID(Table* table, int position);

// True when the table shows fewer than `limit` rows: the test of the "add" buttons.
bool GetDBGridRowCount(Table* table, int limit);

// The first file in the folder matching the wildcard pattern, or empty.
QString FndFile(const QString& folder, const QString& pattern);

// The size of the file in bytes, 0 when it does not exist.
qint64 FileSizeOf(const QString& path);

// The stored form of the n-th local number: "XXK-" and six digits.
QString localNumber(int n);

} // namespace store

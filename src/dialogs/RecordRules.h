#pragma once

#include <QList>
#include <QString>

// The rules of the sub-record dialogs that work on plain values.
namespace dialogs::rules {

// A construction date as typed: empty, or "yyyy/mm/dd" exactly (10 characters, "/" as the 5th and
// 8th) naming a real day. `yyyymmdd` receives the date as that number, 0 for an empty text.
bool readRecordDate(const QString& text, int* yyyymmdd);

// The order value that puts a contact at list position `p` (counting from 1) of contacts whose
// order values are `orders`, in list order: between that contact and the next one, or one past
// it when it is the last. A position no contact has (0) gives 0, which puts the contact first.
double orderAtPosition(const QList<double>& orders, int p);

// The post-code box check: the box holds exactly `digits` ASCII digits.
bool isPostCodePart(const QString& text, int digits);

} // namespace dialogs::rules

#pragma once

#include <QString>

// Post codes are stored as "〒" + three digits + "-" + four digits and edited in two boxes.
namespace postcode {

// The two parts joined by `separator`, both trimmed; empty when either part is empty.
QString JoinPostCode(const QString& first, const QString& second, const QString& separator = QStringLiteral("-"));

// The stored form of the two boxes: "〒" + the joined parts, or empty when either is empty.
QString storedForm(const QString& first, const QString& second);

// The two boxes of a stored post code; a code that does not begin with "〒" gives empty boxes.
void split(const QString& stored, QString* first, QString* second);

} // namespace postcode

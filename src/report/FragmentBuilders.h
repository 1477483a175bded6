#pragma once

#include "entry/Conditions.h"

#include <QList>
#include <QString>

namespace store {
class ProgramFolder;
class Table;
} // namespace store

// Pieces of HTML that the report puts where one tag stands for a photo, a list of records or the
// cycle-cost table. Lines end in CR LF (the last line of a fragment without one). Registration
// text is escaped; a record value shows its line breaks as "<BR>".
namespace report {

// The photo `fileName` of the folder "Images" centred, with the caption under it; empty when the
// name is empty. A photo wider than 400 pixels is shown 400 wide with its height scaled (halves
// up); any other photo (or one whose size cannot be read) at its own size.
QString BuildPhotoBlock(const store::ProgramFolder& folder, const QString& caption, const QString& fileName);

// One "<TR>" row per record the table shows, one "<TD>" cell per field except the positions in
// `leaveOut`. A number field's cell is class "num" (right-aligned, unbroken); a short value that
// reads as one piece (a date, a number, a phone or registration number) is class "whole"
// (unbroken). The table's current record is not moved.
QString BuildRecordRows(const store::Table& table, const QList<int>& leaveOut);

// As BuildRecordRows, without the "<BR>" of line breaks, and with the field at position
// `moved.second` placed in front of the field at position `moved.first` + 1.
QString BuildContactRows(const store::Table& table, const QList<int>& leaveOut, std::pair<int, int> moved);

// The construction conditions in the report's form style: a "施工条件" heading row, then one row per
// item with its caption and its value; empty when no item has a value.
QString BuildConditionTable(const QList<conditions::ShownCondition>& items);

// The fixed table of the cycle costs after 1, 3, 5 and 10 years, carrying the eight cost tags.
QString BuildCycleCostTable();

} // namespace report

#pragma once

#include "store/Draft.h"

#include <QList>
#include <QString>

// What differs between two states of one registration (its saved rows and a draft, say), item by
// item as the screens name them.
namespace changeditems {

struct ChangedItem
{
    QString page;    // the entry page or dialog that shows the item
    QString caption; // the item's caption; for a record of a dialog, with the record's identifier
    QString before;  // the value as text ("" when absent)
    QString after;

    bool operator==(const ChangedItem&) const = default;
};

// The items whose values differ, table by table in the order of `after`, fields in table order.
// Rows of tables with several rows a registration are matched by their identifier (a record's ID,
// a condition's item, a photo's slot, a breakdown's kind and line); a row present on one side
// only shows each of its values against an empty one. REG_NO and the comparison's REC_ID, which
// tie the rows together, are no items.
QList<ChangedItem> compare(const QList<store::TableRows>& before, const QList<store::TableRows>& after);

} // namespace changeditems

#include "widgets/VisibleRows.h"

#include <QSignalBlocker>

namespace widgets {

bool walkVisibleRows(store::Table* table, const std::function<void(store::Table&)>& visit)
{
    if (!table || !table->isActive() || table->isEditing())
        return false;
    const QSignalBlocker blocker(table);
    const int current = table->recNo();
    for (table->first(); !table->eof(); table->next())
        visit(*table);
    if (current > 0)
        table->setRecNo(current);
    else
        table->first();
    return true;
}

bool visibleRowValues(store::Table* table, QVector<store::Table::RowValues>* rows)
{
    rows->clear();
    return walkVisibleRows(table, [rows](store::Table& t) {
        store::Table::RowValues values(t.fieldCount());
        for (int f = 0; f < values.size(); ++f)
            values[f] = t.field(f).value();
        rows->append(values);
    });
}

} // namespace widgets

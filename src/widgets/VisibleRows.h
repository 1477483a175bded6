#pragma once

#include "store/Table.h"

#include <QVector>

#include <functional>

namespace widgets {

// Walks the rows a table shows (its filter, order and master applied), calling `visit` with the
// table positioned on each row, and returns to the row it was on. Nobody watching the table sees
// the walk: its signals are blocked meanwhile. A table in edit or insert state is not walked (moving
// would post its row): the answer is then false.
bool walkVisibleRows(store::Table* table, const std::function<void(store::Table&)>& visit);

// The stored values of every row the table shows, in order; false as above.
bool visibleRowValues(store::Table* table, QVector<store::Table::RowValues>* rows);

} // namespace widgets

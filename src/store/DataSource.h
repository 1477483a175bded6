#pragma once

#include "store/Table.h"

#include <QObject>
#include <QPointer>

namespace store {

// What the entry controls watch: a table's current row. The controls reload on dataChanged
// (the row moved, was posted or cancelled, or the table opened or closed), follow stateChanged,
// and show single values set by code through fieldChanged.
class DataSource : public QObject
{
    Q_OBJECT

public:
    explicit DataSource(Table* table, QObject* parent = nullptr);
    Table* table() const { return m_table; }

signals:
    void dataChanged();
    void stateChanged();
    void fieldChanged(int index);

private:
    QPointer<Table> m_table;
};

} // namespace store

#include "store/DataSource.h"

namespace store {

DataSource::DataSource(Table* table, QObject* parent)
    : QObject(parent)
    , m_table(table)
{
    setObjectName(QStringLiteral("Ds") + table->name());
    connect(table, &Table::recordChanged, this, &DataSource::dataChanged);
    connect(table, &Table::stateChanged, this, &DataSource::stateChanged);
    connect(table, &Table::fieldChanged, this, &DataSource::fieldChanged);
}

} // namespace store

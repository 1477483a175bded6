#pragma once

#include "store/DataModule.h"
#include "store/Schema.h"
#include "store/Table.h"

#include <QSet>
#include <QStringList>

namespace testsupport {

// The rows of the registration tables that name no row of their master table (or name none at
// all), each described for a failure message; empty when every row has its registration. Header
// only, for the crash worker and the fuzz targets, which link no test library.
inline QStringList rowsWithoutTheirRegistration(store::DataModule& dm)
{
    QStringList orphans;
    for (const store::schema::TableDef& def : store::schema::registrationTables()) {
        if (def.masterTable.isEmpty())
            continue;
        store::Table* master = dm.table(def.masterTable);
        store::Table* detail = dm.table(def.name);
        const int masterKey = master->fieldIndex(def.masterFields);
        const int detailKey = detail->fieldIndex(def.detailFields);
        QSet<QString> keys;
        for (const store::Table::RowValues& row : master->allRows())
            keys.insert(row.at(masterKey).toString().trimmed());
        for (const store::Table::RowValues& row : detail->allRows()) {
            const QString key = row.at(detailKey).toString().trimmed();
            if (key.isEmpty() || !keys.contains(key))
                orphans << QStringLiteral("%1 has a row with %2 \"%3\" and no main row").arg(def.name, def.detailFields, key);
        }
    }
    return orphans;
}

} // namespace testsupport

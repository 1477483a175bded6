#include "store/DraftRows.h"

#include "store/DataModule.h"

namespace store::draftrows {

namespace {

// The tables whose rows the screens edit through views, one view a row: the view's name and the
// field that tells which of them shows a row.
struct Views
{
    const char* table;
    const char* keyField;
    QStringList views;
    QStringList keys; // the key value each view shows, in the order of `views`
};

const QList<Views>& editedThroughViews()
{
    static const QList<Views> tables = {
        {"NT_TBL_CONST_CONDITION",
         "ORD",
         {"NT_TBL_CONST_CONDITION_1", "NT_TBL_CONST_CONDITION_2", "NT_TBL_CONST_CONDITION_3", "NT_TBL_CONST_CONDITION_4",
          "NT_TBL_CONST_CONDITION_5", "NT_TBL_CONST_CONDITION_6"},
         {"1", "2", "3", "4", "5", "6"}},
        {"NT_TBL_INFO_IMAGES",
         "IMAGES_TYPE",
         {"NT_TBL_INFO_IMAGES1", "NT_TBL_INFO_IMAGES2", "NT_TBL_INFO_IMAGES3", "NT_TBL_INFO_IMAGES4", "NT_TBL_INFO_IMAGES5",
          "NT_TBL_INFO_IMAGES6", "NT_TBL_INFO_IMAGES7"},
         {"A", "B", "S", "T", "G", "H", "I"}},
    };
    return tables;
}

// Tables of one row a registration.
const QStringList kSingleRowTables = {"NT_TBL_MAIN", "NT_TBL_DETAIL", "NT_TBL_DETAIL_FREE", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE",
                                      "NT_TBL_COMPARE_MAIN"};

bool hasRow(const Table* table)
{
    return table->isEditing() || table->recordCount() > 0;
}

// The current row with its pending change.
Table::RowValues currentRow(const Table* table)
{
    Table::RowValues values(table->fieldCount());
    for (int f = 0; f < values.size(); ++f)
        values[f] = table->valueAt(f);
    return values;
}

QList<Table::RowValues> shownRows(const Table* table)
{
    QList<Table::RowValues> rows;
    const int count = table->recordCount();
    for (int row = 0; row < count; ++row) {
        Table::RowValues values(table->fieldCount());
        for (int f = 0; f < values.size(); ++f)
            values[f] = table->visibleValue(row, f);
        rows.append(values);
    }
    return rows;
}

bool ties(const QString& table, const QString& field)
{
    return field == QLatin1String("REG_NO") || (field == QLatin1String("REC_ID") && table == QLatin1String("NT_TBL_COMPARE_MAIN"));
}

// The draft's values of `row` set on the current row of `table` where they differ.
void putRow(Table* table, const TableRows& from, int row)
{
    if (!table->isEditing()) {
        if (table->recordCount() > 0)
            table->edit();
        else
            table->append();
    }
    for (int f = 0; f < from.fields.size(); ++f) {
        const FieldDef& def = from.fields.at(f);
        const int to = table->fieldIndex(def.name);
        if (to < 0 || !def.isStored() || table->fields().at(to).type == FieldType::Lookup || ties(from.table, def.name))
            continue;
        const QVariant value = f < from.rows.at(row).size() ? from.rows.at(row).at(f) : QVariant();
        if (valueText(def, value) != valueText(table->fields().at(to), table->valueAt(to)))
            table->field(to).setValue(value);
    }
}

} // namespace

QList<TableRows> capture(const DataModule& dm)
{
    QList<TableRows> tables;
    for (Table* table : dm.registrationTables()) {
        TableRows rows{table->name(), table->fields(), {}};
        if (kSingleRowTables.contains(table->name())) {
            if (hasRow(table))
                rows.rows.append(currentRow(table));
        } else {
            rows.rows = shownRows(table);
            for (const Views& edited : editedThroughViews()) {
                if (table->name() != QLatin1String(edited.table))
                    continue;
                const int key = table->fieldIndex(QLatin1String(edited.keyField));
                for (const QString& name : edited.views) {
                    const Table* view = dm.table(name);
                    if (!view || !view->isEditing())
                        continue;
                    const Table::RowValues pending = currentRow(view);
                    qsizetype at = -1;
                    for (qsizetype r = 0; r < rows.rows.size() && view->state() == Table::State::Edit; ++r) {
                        if (valueText(rows.fields.at(key), rows.rows.at(r).at(key)) == valueText(rows.fields.at(key), pending.at(key)))
                            at = r;
                    }
                    if (at >= 0)
                        rows.rows[at] = pending;
                    else
                        rows.rows.append(pending);
                }
            }
        }
        tables.append(rows);
    }
    return tables;
}

void apply(DataModule& dm, const QList<TableRows>& tables)
{
    for (const TableRows& from : tables) {
        if (kSingleRowTables.contains(from.table)) {
            if (!from.rows.isEmpty())
                putRow(dm.table(from.table), from, 0);
            continue;
        }
        for (const Views& edited : editedThroughViews()) {
            if (from.table != QLatin1String(edited.table))
                continue;
            for (int row = 0; row < from.rows.size(); ++row) {
                const QString key = from.value(row, QLatin1String(edited.keyField)).toString().trimmed();
                const qsizetype view = edited.keys.indexOf(key);
                if (view >= 0)
                    putRow(dm.table(edited.views.at(view)), from, row);
            }
        }
    }
}

} // namespace store::draftrows

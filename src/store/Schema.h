#pragma once

#include "store/FieldDef.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

// Every table the system keeps, declared once: the registration tables, the lookup tables, the
// filtered views over registration tables and the working datasets.
namespace store::schema {

enum class TableGroup { Registration, Lookup };

struct TableDef
{
    QString name;                      // "NT_TBL_MAIN"; the component is "Cds" + name
    TableGroup group = TableGroup::Registration;
    QList<FieldDef> fields;            // the full layout in file order (templates and new files use it)
    bool bindsDeclaredFields = true;   // false: the open table takes its layout from its file
    QString indexFieldNames;           // "REG_NO;SALES_ORDER_OTHER;REC_ID"
    QString masterTable;               // "NT_TBL_MAIN" (empty: no master)
    QString masterFields;              // "REG_NO"
    QString detailFields;              // "REG_NO"
    QList<QVector<QVariant>> initialRows;
};

// A second cursor over a registration table, restricted by a fixed filter and a master link.
struct ViewDef
{
    QString name;                      // component name, "CdsNT_TBL_COMPARE_DETAIL1"
    QString over;                      // "NT_TBL_COMPARE_DETAIL"
    QString filter;                    // "RECORD_TYPE = '0'"
    QString masterTable;
    QString masterFields;
    QString detailFields;
    QString indexFieldNames;
};

// A table with no file of its own, pointed at a file when used.
struct WorkingDef
{
    QString name;                      // component name, "CdsTempNT_TBL_MAIN"
    QString layoutOf;                  // registration table whose layout it declares; empty: any
};

const QList<TableDef>& registrationTables(); // the thirteen, in the order the data folder lists them
const QList<TableDef>& lookupTables();       // the eleven
const TableDef* findTable(const QString& name); // registration or lookup table; nullptr when unknown
const QList<ViewDef>& views();
const QList<WorkingDef>& workingDatasets();

} // namespace store::schema

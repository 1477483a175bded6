#pragma once

#include "store/DataModule.h"
#include "store/TableFile.h"

#include <QStringList>
#include <gtest/gtest.h>

// The rows of the registration tables as the tests of the editing cycle look at them: in memory
// and in the table files of the data folder.
namespace registrationrows {

inline const QStringList kRegistrationTables = {
    "NT_TBL_MAIN", "NT_TBL_DETAIL", "NT_TBL_DETAIL_FREE", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE", "NT_TBL_COMPANY",
    "NT_TBL_EVALUATE_RESULT", "PL_TBL_PROJECT_MOC", "PL_TBL_PROJECT_PRIVATE", "NT_TBL_COMPARE_MAIN", "NT_TBL_COMPARE_DETAIL",
    "NT_TBL_CONST_CONDITION", "NT_TBL_INFO_IMAGES"};

// The values of one field in every row of a table, in memory and in its file.
inline QStringList valuesInMemory(const store::DataModule& dm, const QString& tableName, const QString& fieldName)
{
    QStringList values;
    const int index = dm.table(tableName)->fieldIndex(fieldName);
    for (const auto& row : dm.table(tableName)->allRows())
        values << row.value(index).toString().trimmed();
    return values;
}

inline QStringList valuesInFile(const store::DataModule& dm, const QString& tableName, const QString& fieldName)
{
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    EXPECT_TRUE(store::TableFile::read(dm.folder().tablePath(tableName), &fields, &rows, nullptr));
    int index = -1;
    for (int f = 0; f < fields.size(); ++f)
        if (fields.at(f).name == fieldName)
            index = f;
    QStringList values;
    for (const auto& row : rows)
        values << row.value(index).toString().trimmed();
    return values;
}

// Every registration table holds rows of exactly `numbers` (each row with its number), in memory
// and in the files.
inline void expectRegistrations(const store::DataModule& dm, const QStringList& numbers)
{
    for (const QString& name : kRegistrationTables) {
        if (name == QLatin1String("NT_TBL_COMPARE_DETAIL"))
            continue;
        for (const QStringList& values : {valuesInMemory(dm, name, "REG_NO"), valuesInFile(dm, name, "REG_NO")}) {
            for (const QString& value : values)
                EXPECT_TRUE(numbers.contains(value)) << name.toStdString() << " holds a row of '" << value.toStdString() << "'";
        }
    }
    for (const QStringList& values : {valuesInMemory(dm, "NT_TBL_MAIN", "REG_NO"), valuesInFile(dm, "NT_TBL_MAIN", "REG_NO")}) {
        QStringList sorted = values;
        sorted.sort();
        EXPECT_EQ(sorted, numbers);
    }
}

} // namespace registrationrows

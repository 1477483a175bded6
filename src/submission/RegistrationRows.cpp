#include "submission/RegistrationRows.h"

#include "store/DataModule.h"
#include "store/ProgramFolder.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace submission {

namespace {

void setByName(const store::Table& table, store::Table::RowValues& row, const QString& field, const QVariant& value)
{
    const int index = table.fieldIndex(field);
    if (index >= 0 && index < row.size())
        row[index] = value;
}

QList<store::Table::RowValues> rowsWhere(const store::Table& live, const QString& field, const std::function<bool(const QVariant&)>& selected)
{
    QList<store::Table::RowValues> rows;
    const int index = live.fieldIndex(field);
    if (index < 0)
        return rows;
    live.forEachStoredRowWhere(index, selected, [&rows](const store::Table::RowValues& row) { rows.append(row); });
    return rows;
}

} // namespace

const QStringList& appendOrder()
{
    static const QStringList order = {"NT_TBL_DETAIL",       "NT_TBL_DETAIL_FREE",    "NT_TBL_DESCRIPTION",     "NT_TBL_PICTURE",
                                      "NT_TBL_COMPANY",      "NT_TBL_EVALUATE_RESULT", "PL_TBL_PROJECT_MOC",     "PL_TBL_PROJECT_PRIVATE",
                                      "NT_TBL_COMPARE_MAIN", "NT_TBL_COMPARE_DETAIL",  "NT_TBL_CONST_CONDITION", "NT_TBL_INFO_IMAGES",
                                      "NT_TBL_MAIN"};
    return order;
}

RegistrationRowSet registrationRows(const store::DataModule& dm, const QString& regNo)
{
    const QString wanted = regNo.trimmed();
    const auto sameNumber = [&](const QVariant& value) { return value.toString().trimmed() == wanted; };
    const store::Table* sheets = dm.table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    QSet<qint64> sheetIds;
    const int sheetId = sheets->fieldIndex(QStringLiteral("REC_ID"));
    for (const store::Table::RowValues& row : rowsWhere(*sheets, QStringLiteral("REG_NO"), sameNumber)) {
        if (!row.value(sheetId).isNull())
            sheetIds.insert(row.value(sheetId).toLongLong());
    }
    RegistrationRowSet rows;
    for (const QString& table : appendOrder()) {
        const store::Table& live = *dm.table(table);
        rows.insert(table, table == QLatin1String("NT_TBL_COMPARE_DETAIL")
                               ? rowsWhere(live, QStringLiteral("REC_ID"), [&](const QVariant& id) { return !id.isNull() && sheetIds.contains(id.toLongLong()); })
                               : rowsWhere(live, QStringLiteral("REG_NO"), sameNumber));
    }
    return rows;
}

QList<store::Table::RowValues> rowsUnderNumber(const QString& table, const store::Table& live, QList<store::Table::RowValues> rows,
                                               const QString& number, const QString& photoFolder, QList<PhotoFile>* photos)
{
    const int regNo = live.fieldIndex(QStringLiteral("REG_NO"));
    const int recId = live.fieldIndex(QStringLiteral("REC_ID"));
    const bool contacts = table == QLatin1String("NT_TBL_COMPANY");
    const bool sheet = table == QLatin1String("NT_TBL_COMPARE_MAIN") || table == QLatin1String("NT_TBL_COMPARE_DETAIL");
    if (contacts && regNo >= 0 && recId >= 0) {
        std::stable_sort(rows.begin(), rows.end(), [&](const store::Table::RowValues& a, const store::Table::RowValues& b) {
            const QString ka = a.value(regNo).toString();
            const QString kb = b.value(regNo).toString();
            return ka != kb ? ka < kb : a.value(recId).toDouble() < b.value(recId).toDouble();
        });
    }
    const int sheetId = number.mid(4).toInt();
    QList<store::Table::RowValues> result;
    for (store::Table::RowValues row : std::as_const(rows)) {
        if (table == QLatin1String("NT_TBL_INFO_IMAGES")) {
            // A photo row comes over only with its photo, under the photo's new name.
            const QString type = row.value(live.fieldIndex(QStringLiteral("IMAGES_TYPE"))).toString();
            const QString base = row.value(regNo).toString().trimmed() + type;
            QString source;
            QString extension;
            for (const char* candidate : {".jpg", ".GIF", ".jpeg"}) {
                const QString path = store::ProgramFolder::resolveIn(photoFolder, base + QLatin1String(candidate));
                if (extension.isEmpty() && QFileInfo(path).isFile()) {
                    source = path;
                    extension = QString::fromLatin1(candidate).toLower();
                }
            }
            if (extension.isEmpty())
                continue;
            setByName(live, row, QStringLiteral("IMAGES_FILE"), number + type + extension);
            if (photos)
                photos->append({source, number + type + extension});
        }
        if (regNo >= 0)
            row[regNo] = number;
        if (recId >= 0)
            row[recId] = contacts ? int(result.size()) + 1 : sheet ? sheetId : 0;
        result.append(row);
    }
    return result;
}

} // namespace submission

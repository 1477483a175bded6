#include "entry/ChangedItems.h"

#include "entry/ItemCaptions.h"

#include <QHash>

#include <algorithm>

namespace changeditems {

namespace {

// The fields that tell apart the rows of a table with several rows a registration; none for a
// table of one row.
QStringList identifyingFields(const QString& table)
{
    static const QHash<QString, QStringList> fields = {
        {QStringLiteral("NT_TBL_COMPANY"), {QStringLiteral("REC_ID")}},
        {QStringLiteral("NT_TBL_EVALUATE_RESULT"), {QStringLiteral("EVALUATE_ID")}},
        {QStringLiteral("PL_TBL_PROJECT_MOC"), {QStringLiteral("MOC_ID")}},
        {QStringLiteral("PL_TBL_PROJECT_PRIVATE"), {QStringLiteral("PRIVATE_ID")}},
        {QStringLiteral("NT_TBL_COMPARE_DETAIL"), {QStringLiteral("RECORD_TYPE"), QStringLiteral("ORD")}},
        {QStringLiteral("NT_TBL_CONST_CONDITION"), {QStringLiteral("ORD")}},
        {QStringLiteral("NT_TBL_INFO_IMAGES"), {QStringLiteral("IMAGES_TYPE")}},
    };
    return fields.value(table);
}

bool tiesRows(const QString& table, const QString& field)
{
    return field == QLatin1String("REG_NO")
        || (field == QLatin1String("REC_ID") && (table == QLatin1String("NT_TBL_COMPARE_MAIN") || table == QLatin1String("NT_TBL_COMPARE_DETAIL")));
}

QString text(const store::TableRows& rows, int row, int field)
{
    if (row < 0 || field < 0)
        return {};
    const QVector<QVariant>& values = rows.rows.at(row);
    return field < values.size() ? store::valueText(rows.fields.at(field), values.at(field)) : QString();
}

int fieldIndex(const store::TableRows& rows, const QString& name)
{
    for (int f = 0; f < rows.fields.size(); ++f) {
        if (rows.fields.at(f).name.compare(name, Qt::CaseInsensitive) == 0)
            return f;
    }
    return -1;
}

QString keyOf(const store::TableRows& rows, int row, const QStringList& fields)
{
    QStringList parts;
    for (const QString& field : fields)
        parts << text(rows, row, fieldIndex(rows, field)).trimmed();
    return parts.join(QLatin1Char('/'));
}

// The rows of both sides paired by their identifiers (one pair for a table of one row), in the
// order of `after`, then those found only before.
QList<std::pair<int, int>> pairRows(const store::TableRows* before, const store::TableRows& after, const QStringList& fields)
{
    QList<std::pair<int, int>> pairs;
    const int beforeCount = before ? int(before->rows.size()) : 0;
    if (fields.isEmpty()) {
        for (int row = 0; row < std::max(beforeCount, int(after.rows.size())); ++row)
            pairs.append({row < beforeCount ? row : -1, row < after.rows.size() ? row : -1});
        return pairs;
    }
    QHash<QString, int> beforeRows;
    for (int row = 0; row < beforeCount; ++row)
        beforeRows.insert(keyOf(*before, row, fields), row);
    for (int row = 0; row < after.rows.size(); ++row) {
        const QString key = keyOf(after, row, fields);
        pairs.append({beforeRows.value(key, -1), row});
        beforeRows.remove(key);
    }
    QList<int> onlyBefore = beforeRows.values();
    std::sort(onlyBefore.begin(), onlyBefore.end());
    for (int row : onlyBefore)
        pairs.append({row, -1});
    return pairs;
}

} // namespace

QList<ChangedItem> compare(const QList<store::TableRows>& before, const QList<store::TableRows>& after)
{
    QList<ChangedItem> items;
    for (const store::TableRows& now : after) {
        const store::TableRows* then = nullptr;
        for (const store::TableRows& rows : before) {
            if (rows.table == now.table)
                then = &rows;
        }
        const QStringList identifiers = identifyingFields(now.table);
        for (const auto& [thenRow, nowRow] : pairRows(then, now, identifiers)) {
            const store::TableRows& shownRows = nowRow >= 0 ? now : *then;
            const int shownRow = nowRow >= 0 ? nowRow : thenRow;
            const auto value = [&](const QString& field) { return text(shownRows, shownRow, fieldIndex(shownRows, field)).trimmed(); };
            const QString view = itemcaptions::viewOfRow(now.table, value(QStringLiteral("ORD")), value(QStringLiteral("IMAGES_TYPE")),
                                                         value(QStringLiteral("RECORD_TYPE")));
            const QString record = identifiers.isEmpty() || now.table == QLatin1String("NT_TBL_CONST_CONDITION")
                    || now.table == QLatin1String("NT_TBL_INFO_IMAGES")
                ? QString()
                : QStringLiteral(" [%1]").arg(keyOf(shownRows, shownRow, identifiers));
            for (int f = 0; f < now.fields.size(); ++f) {
                const QString field = now.fields.at(f).name;
                if (now.fields.at(f).type == store::FieldType::Lookup || tiesRows(now.table, field) || identifiers.contains(field))
                    continue;
                const QString was = thenRow >= 0 ? text(*then, thenRow, fieldIndex(*then, field)) : QString();
                const QString is = text(now, nowRow, f);
                if (was == is)
                    continue;
                itemcaptions::Item item = itemcaptions::of(view, field);
                if (item.isEmpty())
                    item = itemcaptions::of(now.table, field);
                items.append({item.page, (item.isEmpty() ? now.table + QLatin1Char('.') + field : item.caption) + record, was, is});
            }
        }
    }
    return items;
}

} // namespace changeditems

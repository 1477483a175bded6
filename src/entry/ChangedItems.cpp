#include "entry/ChangedItems.h"

#include "entry/Classification.h"
#include "entry/ItemCaptions.h"

#include <QHash>

#include <algorithm>
#include <functional>

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


// The classification slot whose stored code `field` of NT_TBL_MAIN is; 0 for any other field.
int classificationSlotOf(const QString& field)
{
    for (int slot = 1; slot <= classification::kSlots; ++slot)
        for (int level = 1; level <= classification::kLevels; ++level)
            if (field.compare(classification::codeBoxName(level, slot), Qt::CaseInsensitive) == 0)
                return slot;
    return 0;
}

// The item a field of a row shows as, with the caption the screens give it; `value` reads the
// row's other fields. For a row of several (a contact, a record, a breakdown line, a condition, a
// photo) the caption names the rows first ("施工実績（国土交通省） 工事名").
captions::Item itemOf(const QString& table, const QString& field, const std::function<QString(const QString&)>& value)
{
    const QString name = field.toUpper();
    if (table == QLatin1String("NT_TBL_CONST_CONDITION")) {
        captions::Item item = captions::conditionsItem();
        // A condition's value is its text or its number; the other fields say how it reads.
        static const QHash<QString, QString> parts = {{QStringLiteral("TXT"), QString()},
                                                      {QStringLiteral("MIN_VAL"), QString()},
                                                      {QStringLiteral("MAX_VAL"), QStringLiteral(" 上限")},
                                                      {QStringLiteral("F_UNIT"), QStringLiteral(" 単位")},
                                                      {QStringLiteral("TYPE"), QStringLiteral(" 種類")},
                                                      {QStringLiteral("NAME"), QStringLiteral(" 名称")}};
        const QString condition = value(QStringLiteral("NAME"));
        item.caption += QLatin1Char(' ') + (condition.isEmpty() ? value(QStringLiteral("ORD")) : condition) + parts.value(name, QLatin1Char(' ') + name);
        return item;
    }
    if (table == QLatin1String("NT_TBL_INFO_IMAGES")) {
        // The photo is known by the name of the file chosen; the file kept for it is the program's.
        captions::Item item = captions::photoItem(value(QStringLiteral("IMAGES_TYPE")));
        if (item.isShown() && name != QLatin1String("IMAGES_ORIGINAL"))
            item.caption += QStringLiteral(" 保存ファイル");
        return item;
    }
    if (table == QLatin1String("NT_TBL_MAIN")) {
        if (const int slot = classificationSlotOf(name))
            return captions::classificationItem(slot);
    }
    if (table == QLatin1String("NT_TBL_DESCRIPTION") && captions::descriptionTableFields().contains(name))
        return captions::descriptionTableItem(name);
    captions::Item item = captions::fieldItem(table, name);
    const captions::Item rows = captions::rowsItem(table, value(QStringLiteral("RECORD_TYPE")));
    if (rows.isShown() && item.isShown())
        item.caption = rows.caption + QLatin1Char(' ') + item.caption;
    return item;
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
                const captions::Item item = itemOf(now.table, field, value);
                items.append({item.page, (item.isShown() ? item.caption : now.table + QLatin1Char('.') + field) + record,
                              captions::shownValue(item, was, {}), captions::shownValue(item, is, {})});
            }
        }
    }
    return items;
}

} // namespace changeditems

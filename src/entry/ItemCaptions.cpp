#include "entry/ItemCaptions.h"

#include <QHash>
#include <QStringList>

namespace itemcaptions {

namespace {

struct Entry
{
    const char* table;
    const char* field;
    const char* page;
    const char* caption;
};

// Every field a control of the entry pages or of a dialog shows, with that control's caption.
// ItemCaptionsTest compares it with the controls of the running screens.
const Entry kEntries[] = {
#include "entry/ItemCaptionsData.inc"
};

const QHash<QString, Item>& items()
{
    static const QHash<QString, Item> map = [] {
        QHash<QString, Item> result;
        for (const Entry& entry : kEntries)
            result.insert(QString::fromLatin1(entry.table) + QLatin1Char('.') + QString::fromLatin1(entry.field),
                          {QString::fromUtf8(entry.page), QString::fromUtf8(entry.caption)});
        return result;
    }();
    return map;
}

} // namespace

Item of(const QString& table, const QString& field)
{
    return items().value(table + QLatin1Char('.') + field.toUpper());
}

QString viewOfRow(const QString& table, const QString& ord, const QString& imagesType, const QString& recordType)
{
    static const QStringList letters = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("S"), QStringLiteral("T"),
                                      QStringLiteral("G"), QStringLiteral("H"), QStringLiteral("I")};
    if (table == QLatin1String("NT_TBL_CONST_CONDITION") && !ord.isEmpty())
        return table + QLatin1Char('_') + ord;
    if (table == QLatin1String("NT_TBL_INFO_IMAGES") && letters.contains(imagesType))
        return table + QString::number(letters.indexOf(imagesType) + 1);
    if (table == QLatin1String("NT_TBL_COMPARE_DETAIL"))
        return table + (recordType == QLatin1String("1") ? QLatin1String("2") : QLatin1String("1"));
    return table;
}

} // namespace itemcaptions

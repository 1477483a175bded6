#include "entry/Classification.h"

#include "store/Table.h"

namespace classification {

namespace {

constexpr int kCodeField = 0;
constexpr int kTitleField = 1;

QString valueAt(store::Table* table, int row, int field)
{
    return table->visibleValue(row, field).toString();
}

} // namespace

QString levelTableName(int level)
{
    static const QStringList tables = {"NT_STBL_INFO_GRP3", "NT_STBL_INFO_GRP4", "NT_STBL_INFO_GRP5", "NT_STBL_INFO_GRP2"};
    return tables.value(level - 1);
}

QString listBoxName(int level, int slot)
{
    return QStringLiteral("Level%1").arg(level) + (slot == 1 ? QString() : QStringLiteral("_%1").arg(slot));
}

QString codeBoxName(int level, int slot)
{
    return QStringLiteral("LEVEL%1_COMBO").arg(level) + (slot == 1 ? QString() : QString::number(slot));
}

CodeRange childCodeRange(const QString& parentCode)
{
    const QString lo = parentCode + QStringLiteral("00");
    // The next code of the parent's length: leading zeros kept, so that text comparison orders
    // the codes as numbers.
    const QString hi = QString::number(lo.toLongLong() + 100).rightJustified(int(lo.size()), QLatin1Char('0'));
    return {lo, hi};
}

QString childCodeFilter(const QString& parentCode)
{
    const CodeRange range = childCodeRange(parentCode);
    // A parent of all nines has no next code of its length: its last child closes the range.
    if (range.hi.size() > range.lo.size())
        return QStringLiteral("CD >= %1 and CD <= %2").arg(range.lo, parentCode + QStringLiteral("99"));
    return QStringLiteral("CD >= %1 and CD < %2").arg(range.lo, range.hi);
}

QStringList titles(store::Table* table)
{
    QStringList result;
    for (int row = 0; row < table->recordCount(); ++row) {
        const QString title = valueAt(table, row, kTitleField);
        if (!title.isEmpty())
            result.append(title);
    }
    return result;
}

QStringList childTitles(store::Table* table, const QString& parentCode)
{
    table->setFilter(childCodeFilter(parentCode));
    table->setFiltered(true);
    return titles(table);
}

std::optional<QString> codeOfTitle(store::Table* table, const QString& title)
{
    for (int row = 0; row < table->recordCount(); ++row) {
        if (valueAt(table, row, kTitleField) == title)
            return valueAt(table, row, kCodeField);
    }
    return std::nullopt;
}

std::optional<QString> titleOfCode(store::Table* table, const QString& code)
{
    for (int row = 0; row < table->recordCount(); ++row) {
        if (valueAt(table, row, kCodeField) == code)
            return valueAt(table, row, kTitleField);
    }
    return std::nullopt;
}

QList<int> levelsClearedByChoice(int level, bool titleShown)
{
    switch (level) {
    case 1:
        return titleShown ? QList<int>{2, 3, 4} : QList<int>{1, 2, 3, 4};
    case 2:
        return {3, 4};
    case 3:
        return titleShown ? QList<int>{4} : QList<int>{3, 4};
    default:
        return titleShown ? QList<int>{} : QList<int>{4};
    }
}

} // namespace classification

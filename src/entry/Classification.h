#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace store {
class Table;
}

// The classification hierarchy: five slots of four levels, each level chosen from the rows of its
// lookup table (first field the code CD, second the title) whose codes extend the code chosen on
// the level above by two digits. Level 1 codes have 3 digits, level 2 codes 5, level 3 codes 7 and
// level 4 codes 9.
namespace classification {

constexpr int kSlots = 5;
constexpr int kLevels = 4;

// The lookup table of a level (1 … 4): NT_STBL_INFO_GRP3, GRP4, GRP5, GRP2.
QString levelTableName(int level);
// The list box of a level and slot: "Level2", "Level2_3".
QString listBoxName(int level, int slot);
// The hidden box of the stored code: "LEVEL2_COMBO", "LEVEL2_COMBO3".
QString codeBoxName(int level, int slot);

// The codes one level below `parentCode`: lo ≤ CD < hi, that is `parentCode` followed by two digits.
struct CodeRange
{
    QString lo;
    QString hi;
};
CodeRange childCodeRange(const QString& parentCode);
// The table filter selecting that range.
QString childCodeFilter(const QString& parentCode);

// The non-empty titles of the rows the table shows, in table order.
QStringList titles(store::Table* table);
// Filters the table to the codes below `parentCode` (the filter stays set) and returns the titles
// of those rows.
QStringList childTitles(store::Table* table, const QString& parentCode);
// The code of the first row the table shows whose title is `title`; none when no row has it.
std::optional<QString> codeOfTitle(store::Table* table, const QString& title);
// The title of the first row the table shows whose code is `code`; none when no row has it.
std::optional<QString> titleOfCode(store::Table* table, const QString& code);

// The levels of a slot emptied after a choice on `level`, depending on whether the list box of
// that level shows a title: a title discards the choices below it, the empty entry of level 1
// empties the whole slot.
QList<int> levelsClearedByChoice(int level, bool titleShown);

} // namespace classification

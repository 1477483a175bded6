#pragma once

#include <QString>

#include <optional>

namespace store {
class Table;
}

// The rules of the priced breakdown rows of the comparison sheet.
namespace comparison {

// Rows per technology.
inline constexpr int kBreakdownLimit = 50;

inline const QString kNewView = QStringLiteral("NT_TBL_COMPARE_DETAIL1"); // RECORD_TYPE "0"
inline const QString kOldView = QStringLiteral("NT_TBL_COMPARE_DETAIL2"); // RECORD_TYPE "1"

// A number box's text without its thousands commas ("1,000" gives "1000").
QString withoutThousandsCommas(const QString& text);

// The value of a number box, thousands commas left out: 0 when it is empty or holds no number.
double numberOrZero(const QString& text);

// The numeric check of a box: its text with every "," removed converts to a number.
bool isNumberText(const QString& text);

// A row's price: R2(quantity * unit price).
double priceOf(double quantity, double unitPrice);

// The comparison identifier of a registration: the number from its fifth character on, trimmed
// ("XXK-000012" gives "000012").
QString comparisonId(const QString& registrationNumber);

// The sum of PRICE over the rows a view shows, unrounded; with `skipEmpty` rows without a price are
// left out, otherwise they count as 0. The view ends on its first row.
double priceSum(store::Table* view, bool skipEmpty);

// The first failing step of the row check of a breakdown row, in the order the boxes are checked.
struct RowCheckFailure
{
    QString box;      // the control to give the focus to
    QString message;
    bool information = true; // an information box "情報"; false: a plain message box
};
struct BreakdownRowTexts
{
    QString item, method, quantity, unit, unitPrice;
};
std::optional<RowCheckFailure> checkBreakdownRow(const BreakdownRowTexts& row);

} // namespace comparison

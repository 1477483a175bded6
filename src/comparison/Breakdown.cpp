#include "comparison/Breakdown.h"

#include "store/Table.h"
#include "util/NumberText.h"

namespace comparison {

QString withoutThousandsCommas(const QString& text)
{
    return QString(text).remove(QLatin1Char(','));
}

double numberOrZero(const QString& text)
{
    double value = 0;
    if (text.isEmpty() || !numbertext::parse(withoutThousandsCommas(text), &value))
        return 0;
    return value;
}

bool isNumberText(const QString& text)
{
    double value = 0;
    return numbertext::parse(withoutThousandsCommas(text), &value);
}

double priceOf(double quantity, double unitPrice)
{
    return numbertext::round2(quantity * unitPrice);
}

QString comparisonId(const QString& registrationNumber)
{
    return registrationNumber.trimmed().mid(4).trimmed();
}

double priceSum(store::Table* view, bool skipEmpty)
{
    double total = 0;
    if (!view || !view->isActive())
        return total;
    for (view->first(); !view->eof(); view->next()) {
        const store::Field price = view->field(QStringLiteral("PRICE"));
        if (price.isNull() && skipEmpty)
            continue;
        total += numberOrZero(price.asString());
    }
    view->first();
    return total;
}

std::optional<RowCheckFailure> checkBreakdownRow(const BreakdownRowTexts& row)
{
    const struct
    {
        const QString& text;
        const char* box;
        const char* message;
    } required[] = {
        {row.item, "ITEM", "項目を入力してください。"},
        {row.method, "METHOD", "仕様を入力してください。"},
        {row.quantity, "F_VALUE", "数量を入力してください。"},
        {row.unit, "F_UNIT", "単位を入力してください。"},
        {row.unitPrice, "UNIT_PRICE", "単価を入力してください。"},
    };
    for (const auto& r : required) {
        if (r.text.isEmpty())
            return RowCheckFailure{QLatin1String(r.box), QString::fromUtf8(r.message), true};
    }
    for (const auto& [text, box] : {std::pair{&row.quantity, "F_VALUE"}, {&row.unitPrice, "UNIT_PRICE"}}) {
        if (!isNumberText(*text))
            return RowCheckFailure{QLatin1String(box), QStringLiteral("数値を入力してください。"), false};
    }
    return std::nullopt;
}

} // namespace comparison

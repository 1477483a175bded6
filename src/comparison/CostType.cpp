#include "comparison/CostType.h"

#include "store/Table.h"

namespace comparison {

const QList<CostTypeInfo>& costTypes()
{
    static const QList<CostTypeInfo> types = {
        {"1", "rbA1", QStringLiteral("Ａ（Ⅰ）型"), "pnlA1", QStringLiteral("損益分岐点型：Ａ(Ⅰ)型"), 'A'},
        {"2", "rbA2", QStringLiteral("Ａ（Ⅱ）型"), "pnlA2", QStringLiteral("損益分岐点型：Ａ(Ⅱ)型"), 'A'},
        {"3", "rbBp", QStringLiteral("Ｂ（＋）型"), "pnlBp", QStringLiteral("並行型：Ｂ(＋)型"), 'B'},
        {"4", "rbBm", QStringLiteral("Ｂ（－）型"), "pnlBm", QStringLiteral("並行型：Ｂ(－)型"), 'B'},
        {"5", "rbCp", QStringLiteral("Ｃ（＋）型"), "pnlCp", QStringLiteral("発散型：Ｃ(＋)型"), 'C'},
        {"6", "rbCm", QStringLiteral("Ｃ（－）型"), "pnlCm", QStringLiteral("発散型：Ｃ(－)型"), 'C'},
        {"7", "rbD1", QStringLiteral("Ｄ（Ⅰ）型"), "pnlD1", QStringLiteral("サイクルコスト型：Ｄ(Ⅰ)型"), 'D'},
        {"8", "rbD2", QStringLiteral("Ｄ（Ⅱ）型"), "pnlD2", QStringLiteral("サイクルコスト型：Ｄ(Ⅱ)型"), 'D'},
    };
    return types;
}

QString GetCostType(const QString& code)
{
    for (const CostTypeInfo& type : costTypes()) {
        if (type.code == code)
            return type.name;
    }
    return {};
}

bool isCycleCostType(const QString& code)
{
    return code == QLatin1String("7") || code == QLatin1String("8");
}

const QStringList& cycleCostFields()
{
    static const QStringList fields = {"NEWTECH_COST_ONE", "NEWTECH_COST_THREE", "NEWTECH_COST_FIVE", "NEWTECH_COST_TEN",
                                       "OLDTECH_COST_ONE", "OLDTECH_COST_THREE", "OLDTECH_COST_FIVE", "OLDTECH_COST_TEN"};
    return fields;
}

void clearUntitledFreeItems(store::Table* freeItems, const QString& title1, const QString& title2)
{
    if (!freeItems || !freeItems->isEditing())
        return;
    for (const auto& [title, field] : {std::pair{&title1, "FREE_ITEM1"}, {&title2, "FREE_ITEM2"}}) {
        if (title->isEmpty())
            freeItems->field(QLatin1String(field)).clear();
    }
}

} // namespace comparison

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace store {
class Table;
}

// The cost types of a registration (COST_TYPE of NT_TBL_DETAIL) and the free comparison items.
namespace comparison {

struct CostTypeInfo
{
    QString code;        // "1" … "8"
    QString radio;       // rbA1 …
    QString caption;     // caption of the radio button
    QString panel;       // pnlA1 …
    QString name;        // shown on the main window and printed
    QChar family;        // 'A' … 'D'
};

const QList<CostTypeInfo>& costTypes();

// The name of a type code, empty for anything that is not "1" … "8".
QString GetCostType(const QString& code);

// The two cycle-cost types "7" and "8" carry the eight cycle costs.
bool isCycleCostType(const QString& code);

// NEWTECH_COST_ONE … OLDTECH_COST_TEN, new technology first, by years 1, 3, 5, 10.
const QStringList& cycleCostFields();

// The free comparison items: while NT_TBL_DETAIL_FREE is being edited, the choice of an item whose
// title is empty is emptied (FREE_ITEM1 for the first title, FREE_ITEM2 for the second). In browse
// state nothing is touched.
void clearUntitledFreeItems(store::Table* freeItems, const QString& title1, const QString& title2);

} // namespace comparison

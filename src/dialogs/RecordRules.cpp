#include "dialogs/RecordRules.h"

#include <QDate>

#include <algorithm>

namespace dialogs::rules {

bool readRecordDate(const QString& text, int* yyyymmdd)
{
    *yyyymmdd = 0;
    if (text.isEmpty())
        return true;
    if (text.size() != 10 || text.at(4) != QLatin1Char('/') || text.at(7) != QLatin1Char('/'))
        return false;
    bool okYear = false, okMonth = false, okDay = false;
    const int year = text.left(4).toInt(&okYear);
    const int month = text.mid(5, 2).toInt(&okMonth);
    const int day = text.mid(8, 2).toInt(&okDay);
    if (!okYear || !okMonth || !okDay || !QDate(year, month, day).isValid())
        return false;
    *yyyymmdd = year * 10000 + month * 100 + day;
    return true;
}

double orderAtPosition(const QList<double>& orders, int p)
{
    if (p < 1 || p > orders.size())
        return 0;
    const double at = orders.at(p - 1);
    return p == orders.size() ? at + 1 : (at + orders.at(p)) / 2;
}

bool isPostCodePart(const QString& text, int digits)
{
    // Only ASCII digits: a sign or a blank would end up inside the stored code.
    return text.size() == digits
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

} // namespace dialogs::rules

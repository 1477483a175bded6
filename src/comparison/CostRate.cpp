#include "comparison/CostRate.h"

#include "util/NumberText.h"

#include <cmath>

namespace comparison {

double round2Signed(double value)
{
    return value >= 0 ? std::trunc(value * 100 + 0.5) / 100 : std::trunc(value * 100 - 0.5) / 100;
}

CostRate computeCostRate(double newSum, double oldSum)
{
    CostRate figures;
    figures.newCost = numbertext::round2(newSum);
    figures.oldCost = numbertext::round2(oldSum);
    if (figures.newCost != 0 && figures.oldCost != 0) {
        figures.rate = round2Signed((1 - figures.newCost / figures.oldCost) * 100);
        figures.wholeRate = figures.rate >= 0 ? std::trunc(figures.rate + 0.5) : std::trunc(figures.rate - 0.5);
    }
    return figures;
}

double changeRate(double newValue, double oldValue)
{
    if (newValue == 0 || oldValue == 0)
        return 0;
    double rate = 0;
    numbertext::parse(numbertext::format((1 - newValue / oldValue) * 100), &rate);
    return round2Signed(rate);
}

RateMirror mirrorOfRate(const QString& rateText)
{
    RateMirror mirror;
    double value = 0;
    if (rateText.isEmpty() || !numbertext::parse(rateText, &value))
        value = 0;
    mirror.label = numbertext::format(std::fabs(value));
    if (rateText.isEmpty())
        mirror.option = -1;
    else if (rateText == QLatin1String("0"))
        mirror.option = 1;
    else if (value > 0)
        mirror.option = 0;
    else if (value < 0)
        mirror.option = 2;
    return mirror;
}

} // namespace comparison

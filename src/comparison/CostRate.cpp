#include "comparison/CostRate.h"

#include "util/NumberText.h"

#include <cmath>

namespace comparison {

CostRate computeCostRate(double newSum, double oldSum)
{
    CostRate figures;
    figures.newCost = numbertext::round2(newSum);
    figures.oldCost = numbertext::round2(oldSum);
    if (figures.newCost != 0 && figures.oldCost != 0) {
        const double r = (1 - figures.newCost / figures.oldCost) * 100;
        if (r >= 0) {
            figures.rate = std::trunc(r * 100 + 0.5) / 100;
            figures.wholeRate = std::trunc(figures.rate + 0.5);
        } else {
            figures.rate = std::trunc(r * 100 - 0.5) / 100;
            figures.wholeRate = std::trunc(figures.rate - 0.5);
        }
    }
    return figures;
}

} // namespace comparison

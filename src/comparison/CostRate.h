#pragma once

#include <QString>

// The cost comparison figures: the two totals rounded to two decimals, the rate of change in
// percent (two decimals, half away from zero) and that rate as a whole number.
namespace comparison {

struct CostRate
{
    double newCost = 0;  // N
    double oldCost = 0;  // O
    double rate = 0;     // R
    double wholeRate = 0; // W
};

// From the unrounded sums of the new and the conventional technology's breakdown prices.
CostRate computeCostRate(double newSum, double oldSum);

// Two decimals, halves away from zero: Int(x * 100 + 0.5) / 100 for x >= 0, Int(x * 100 - 0.5) / 100
// below, Int dropping the fraction towards zero.
double round2Signed(double value);

// The rate of change shown on the comparison sheet: (1 - new / old) * 100, 0 when either is 0.
// Formed as text first and read back (at most 15 significant digits), then rounded by round2Signed.
// Positive: the new technology is cheaper (or shorter).
double changeRate(double newValue, double oldValue);

// What the main window shows for the text of a rate box: the absolute value ("0" for an empty box)
// and the option of the direction group: 0 gain (> 0), 1 the same (the text "0"), 2 loss (< 0), -1
// none (an empty box, or any other text whose value is 0).
struct RateMirror
{
    QString label;
    int option = -1;
};
RateMirror mirrorOfRate(const QString& rateText);

} // namespace comparison

#pragma once

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

} // namespace comparison

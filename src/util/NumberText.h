#pragma once

#include <QString>

// Numbers as the system shows and writes them: the general number-to-text form (up to 15
// significant digits, "." as decimal point, no thousands separators, no trailing zeros).
namespace numbertext {

QString format(double value);

// Reads a number written by a user or a file: optional blanks around it, an optional sign,
// digits with an optional "." and fraction, an optional exponent. False for anything else.
bool parse(const QString& text, double* value);

// Two-decimal rounding R2(x) = Int(x * 100 + 0.5) / 100, Int dropping the fraction towards zero.
double round2(double value);

} // namespace numbertext

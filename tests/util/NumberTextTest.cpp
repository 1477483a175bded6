#include "util/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

TEST(NumberText, ParseReadsTheGeneralFormExactlyAsQtDoesAndRefusesAnythingElse)
{
    // Values that need correct rounding, signs, blanks, a bare point and exponents.
    for (const char* text : {"0", "-0", "+3", " 12 ", "1000.5", "0.1", "0.3", "2.675", "1.", ".5", "-.25", "1e3", "1E-5",
                             "-2.5e+2", "123456789012345678", "9007199254740993", "4.9406564584124654e-324",
                             "1.7976931348623157e308", "0.000000000000000000000000000001"}) {
        double value = -1;
        ASSERT_TRUE(numbertext::parse(QString::fromLatin1(text), &value)) << text;
        bool ok = false;
        const double expected = QString::fromLatin1(text).trimmed().toDouble(&ok);
        ASSERT_TRUE(ok) << text;
        EXPECT_EQ(value, expected) << text;
        EXPECT_EQ(std::signbit(value), std::signbit(expected)) << text;
    }
    for (const char* text : {"", " ", "+", "-", ".", "1,5", "1.2.3", "e5", "1e", "1e+", "0x10", "inf", "nan", "1e400", "12a", "--1",
                             "+-1", "１２"}) {
        double value = 7;
        EXPECT_FALSE(numbertext::parse(QString::fromUtf8(text), &value)) << text;
        EXPECT_EQ(value, 7) << text;
    }
}

} // namespace

namespace {

// The form Qt writes with 15 significant digits, exponent as "1E20" / "1E-5".
QString generalForm(double value)
{
    QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    QString exponent = text.mid(e + 1);
    const bool negative = exponent.startsWith(QLatin1Char('-'));
    exponent.remove(QLatin1Char('+')).remove(QLatin1Char('-'));
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0')))
        exponent.remove(0, 1);
    return text.left(e) + QLatin1Char('E') + (negative ? QStringLiteral("-") : QString()) + exponent;
}

TEST(NumberText, FormatWritesFifteenSignificantDigitsAsQtDoes)
{
    // Ties at the 16th digit, the edges of the plain form, and numbers of every size.
    std::vector<double> values = {0.1, 0.3, 2.675, 1000.5, -12.345, 1e-4, 1e-5, 0.00012345, 1e14, 1e15, 123456789012345.0,
                                  999999999999999.0, 999999999999999.5, 940473267913058.5, 12345678901234.5, 5e-324, 1e300};
    std::mt19937_64 random(12);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(std::ldexp(double(random() >> 11), int(random() % 120) - 100));
        values.push_back(double(random() % 2000000000000000ULL) / 2);
        values.push_back(std::round(std::uniform_real_distribution<double>(-1e6, 1e6)(random) * 100) / 100);
    }
    for (double value : values) {
        for (double signedValue : {value, -value})
            ASSERT_EQ(numbertext::format(signedValue), generalForm(signedValue)) << signedValue;
    }
    EXPECT_EQ(numbertext::format(0), "0");
    EXPECT_EQ(numbertext::format(1e20), "1E20");
}

} // namespace

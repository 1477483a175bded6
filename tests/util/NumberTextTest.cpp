#include "util/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>

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

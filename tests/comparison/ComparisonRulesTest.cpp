#include "comparison/Breakdown.h"
#include "comparison/CostRate.h"
#include "comparison/CostType.h"
#include "util/NumberText.h"

#include <gtest/gtest.h>

using namespace comparison;

namespace {

TEST(ComparisonRates, RoundTwoDecimalsHalvesAwayFromZero)
{
    const struct
    {
        double value;
        double rounded;
    } cases[] = {{12.345, 12.35}, {-12.345, -12.35}, {0.005, 0.01}, {-0.005, -0.01}, {-0.004, 0}, {0, 0}, {99.994, 99.99}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(round2Signed(c.value), c.rounded) << c.value;
}

TEST(ComparisonRates, RateOfChangeIsZeroWhenEitherSideIsZero)
{
    const struct
    {
        double newValue, oldValue, rate;
    } cases[] = {
        {8000, 10000, 20},        {12000, 10000, -20},   {0, 10000, 0},        {10000, 0, 0},
        {87655, 100000, 12.35},   {112345, 100000, -12.35}, {1, 3, 66.67},     {2, 3, 33.33},
        {10, 10, 0},              {-5, 10, 150},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(changeRate(c.newValue, c.oldValue), c.rate) << c.newValue << " / " << c.oldValue;
}

TEST(ComparisonRates, CostFiguresAfterACancelRoundTotalsAndWholeRate)
{
    const CostRate cheaper = computeCostRate(87.5, 100);
    EXPECT_DOUBLE_EQ(cheaper.rate, 12.5);
    EXPECT_DOUBLE_EQ(cheaper.wholeRate, 13);
    const CostRate dearer = computeCostRate(112.5, 100);
    EXPECT_DOUBLE_EQ(dearer.rate, -12.5);
    EXPECT_DOUBLE_EQ(dearer.wholeRate, -13);
    const CostRate oneSided = computeCostRate(1234.567, 0.004);
    EXPECT_DOUBLE_EQ(oneSided.newCost, 1234.57);
    EXPECT_DOUBLE_EQ(oneSided.oldCost, 0);
    EXPECT_DOUBLE_EQ(oneSided.rate, 0);
    EXPECT_DOUBLE_EQ(oneSided.wholeRate, 0);
}

TEST(ComparisonRates, MirrorShowsTheAbsoluteValueAndTheDirection)
{
    const struct
    {
        const char* text;
        const char* label;
        int option;
    } cases[] = {{"20", "20", 0}, {"-20", "20", 2}, {"-12.5", "12.5", 2}, {"0", "0", 1}, {"", "0", -1}, {"0.0", "0", -1}, {"abc", "0", -1}};
    for (const auto& c : cases) {
        const RateMirror mirror = mirrorOfRate(QString::fromUtf8(c.text));
        EXPECT_EQ(mirror.label, QString::fromUtf8(c.label)) << c.text;
        EXPECT_EQ(mirror.option, c.option) << c.text;
    }
}

TEST(BreakdownRules, PriceIsRoundedHalfUpToTwoDecimals)
{
    EXPECT_EQ(numbertext::format(priceOf(12.5, 1000)), QStringLiteral("12500"));
    EXPECT_EQ(numbertext::format(priceOf(0.333, 10)), QStringLiteral("3.33"));
    EXPECT_EQ(numbertext::format(priceOf(0.125, 1)), QStringLiteral("0.13"));
    EXPECT_EQ(numbertext::format(priceOf(0, 5000)), QStringLiteral("0"));
}

TEST(BreakdownRules, RowCheckStopsAtTheFirstFailureInOrder)
{
    const BreakdownRowTexts full{QStringLiteral("土工"), QStringLiteral("掘削"), QStringLiteral("12.5"), QStringLiteral("m3"),
                                 QStringLiteral("1,000")};
    EXPECT_FALSE(checkBreakdownRow(full).has_value());

    const struct
    {
        BreakdownRowTexts row;
        const char* box;
        const char* message;
        bool information;
    } cases[] = {
        {{{}, {}, {}, {}, {}}, "ITEM", "項目を入力してください。", true},
        {{"a", {}, "x", {}, {}}, "METHOD", "仕様を入力してください。", true},
        {{"a", "b", {}, "m", "1"}, "F_VALUE", "数量を入力してください。", true},
        {{"a", "b", "1", {}, "1"}, "F_UNIT", "単位を入力してください。", true},
        {{"a", "b", "1", "m", {}}, "UNIT_PRICE", "単価を入力してください。", true},
        {{"a", "b", "1x", "m", "y"}, "F_VALUE", "数値を入力してください。", false},
        {{"a", "b", "1", "m", "5千"}, "UNIT_PRICE", "数値を入力してください。", false},
    };
    for (const auto& c : cases) {
        const std::optional<RowCheckFailure> failure = checkBreakdownRow(c.row);
        ASSERT_TRUE(failure.has_value()) << c.box;
        EXPECT_EQ(failure->box, QLatin1String(c.box));
        EXPECT_EQ(failure->message, QString::fromUtf8(c.message));
        EXPECT_EQ(failure->information, c.information) << c.box;
    }
}

TEST(BreakdownRules, ComparisonIdIsTheNumberAfterThePrefix)
{
    EXPECT_EQ(comparisonId(QStringLiteral("XXK-000012 ")), QStringLiteral("000012"));
    EXPECT_EQ(comparisonId(QStringLiteral(" QSK-123456")), QStringLiteral("123456"));
    EXPECT_EQ(comparisonId(QStringLiteral("XXK")), QString());
}

TEST(CostTypes, NamesOfTheEightCodesAndNothingElse)
{
    EXPECT_EQ(GetCostType(QStringLiteral("1")), QStringLiteral("損益分岐点型：Ａ(Ⅰ)型"));
    EXPECT_EQ(GetCostType(QStringLiteral("3")), QStringLiteral("並行型：Ｂ(＋)型"));
    EXPECT_EQ(GetCostType(QStringLiteral("8")), QStringLiteral("サイクルコスト型：Ｄ(Ⅱ)型"));
    for (const char* other : {"", "0", "9", "7 ", "A"})
        EXPECT_EQ(GetCostType(QLatin1String(other)), QString()) << other;
    EXPECT_TRUE(isCycleCostType(QStringLiteral("7")));
    EXPECT_TRUE(isCycleCostType(QStringLiteral("8")));
    EXPECT_FALSE(isCycleCostType(QStringLiteral("6")));
}

} // namespace

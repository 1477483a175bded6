#include "entry/Classification.h"

#include "store/Table.h"

#include <gtest/gtest.h>

namespace cls = classification;

namespace {

// A level table of the shipped hierarchy, as the data module opens it.
std::unique_ptr<store::Table> shippedLevelTable(int level)
{
    auto table = std::make_unique<store::Table>(cls::levelTableName(level));
    table->setFileName(QStringLiteral(VORDELL_SOURCE_DIR "/data/program/FLATT_FILES/") + cls::levelTableName(level) + QStringLiteral(".cds"));
    QString error;
    EXPECT_TRUE(table->open(&error)) << error.toStdString();
    return table;
}

// A small level-3 table around the edges of the range of 01002, with a repeated title.
std::unique_ptr<store::Table> smallTable()
{
    auto table = std::make_unique<store::Table>(QStringLiteral("NT_STBL_INFO_GRP5"));
    table->setDeclaredFields({store::text("CD", 7), store::text("GRP_TITLE5", 255)});
    table->setInitialRows({{"0100199", "before"}, {"0100200", "first"}, {"0100210", "same"}, {"0100220", ""},
                           {"0100250", "same"}, {"0100299", "last"}, {"0100300", "after"}, {"01002", "short"}});
    table->createDataSet();
    return table;
}

TEST(Classification, ControlNamesFollowLevelAndSlot)
{
    EXPECT_EQ(cls::listBoxName(1, 1), QStringLiteral("Level1"));
    EXPECT_EQ(cls::listBoxName(4, 5), QStringLiteral("Level4_5"));
    EXPECT_EQ(cls::codeBoxName(1, 1), QStringLiteral("LEVEL1_COMBO"));
    EXPECT_EQ(cls::codeBoxName(2, 3), QStringLiteral("LEVEL2_COMBO3"));
    EXPECT_EQ(cls::levelTableName(1), QStringLiteral("NT_STBL_INFO_GRP3"));
    EXPECT_EQ(cls::levelTableName(4), QStringLiteral("NT_STBL_INFO_GRP2"));
}

TEST(Classification, ChildRangeExtendsTheParentByTwoDigits)
{
    const struct
    {
        const char* parent;
        const char* lo;
        const char* hi;
    } cases[] = {{"010", "01000", "01100"}, {"101", "10100", "10200"}, {"01002", "0100200", "0100300"},
                 {"0100201", "010020100", "010020200"}, {"001", "00100", "00200"}, {"099", "09900", "10000"}};
    for (const auto& c : cases) {
        const cls::CodeRange range = cls::childCodeRange(QLatin1String(c.parent));
        EXPECT_EQ(range.lo, QLatin1String(c.lo)) << c.parent;
        EXPECT_EQ(range.hi, QLatin1String(c.hi)) << c.parent;
    }
    EXPECT_EQ(cls::childCodeFilter(QStringLiteral("010")), QStringLiteral("CD >= 01000 and CD < 01100"));
    EXPECT_EQ(cls::childCodeFilter(QStringLiteral("999")), QStringLiteral("CD >= 99900 and CD <= 99999"));
}

TEST(Classification, ChildTitlesAreTheNonEmptyTitlesOfTheRangeInTableOrder)
{
    auto table = smallTable();
    EXPECT_EQ(cls::childTitles(table.get(), QStringLiteral("01002")), (QStringList{"first", "same", "same", "last"}));
    // The filter stays set: the choice is looked up among the rows of the list.
    EXPECT_TRUE(table->filtered());
    EXPECT_EQ(cls::codeOfTitle(table.get(), QStringLiteral("same")), QStringLiteral("0100210"));
    EXPECT_EQ(cls::codeOfTitle(table.get(), QStringLiteral("before")), std::nullopt);
    EXPECT_EQ(cls::titleOfCode(table.get(), QStringLiteral("0100299")), QStringLiteral("last"));
    EXPECT_EQ(cls::titleOfCode(table.get(), QStringLiteral("0100300")), std::nullopt);
    table->setFiltered(false);
    EXPECT_EQ(cls::titleOfCode(table.get(), QStringLiteral("0100300")), QStringLiteral("after"));
}

TEST(Classification, ShippedHierarchyLevelThreeOfDredging)
{
    auto level3 = shippedLevelTable(3);
    const QStringList listed = cls::childTitles(level3.get(), QStringLiteral("01002"));
    QStringList expected;
    for (const store::Table::RowValues& row : level3->allRows()) {
        const QString code = row.at(0).toString();
        if (code >= QLatin1String("0100200") && code <= QLatin1String("0100299") && !row.at(1).toString().isEmpty())
            expected.append(row.at(1).toString());
    }
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(cls::titles(shippedLevelTable(1).get()).size(), 6);
}

TEST(Classification, ChoiceClearsTheLevelsBelow)
{
    EXPECT_EQ(cls::levelsClearedByChoice(1, true), (QList<int>{2, 3, 4}));
    EXPECT_EQ(cls::levelsClearedByChoice(1, false), (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(cls::levelsClearedByChoice(2, true), (QList<int>{3, 4}));
    EXPECT_EQ(cls::levelsClearedByChoice(3, false), (QList<int>{3, 4}));
    EXPECT_EQ(cls::levelsClearedByChoice(4, true), QList<int>{});
}

} // namespace

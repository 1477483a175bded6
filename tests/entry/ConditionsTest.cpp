#include "entry/Conditions.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "support/TempDir.h"
#include "util/SjisText.h"

#include <gtest/gtest.h>

using namespace conditions;

namespace {

struct SplitCase
{
    const char* line;
    QStringList fields;
};

TEST(ConditionLineTest, FieldsAreSplitAtTabsWithPlusAsBlankAndPercentFullWidth)
{
    const QList<SplitCase> cases = {
        {"0100101\t1\tR\t浚渫水深\tm+(CDL基準)", {"0100101", "1", "R", "浚渫水深", "m (CDL基準)"}},
        {"0200101\t4\tR\t改良率\t%", {"0200101", "4", "R", "改良率", "％"}},
        {"0100401\t3\tN\t最大N値\t", {"0100401", "3", "N", "最大N値"}},   // a TAB at the end starts no field
        {"0100401\t\tN\tx", {"0100401", "", "N", "x"}},                     // two TABs: an empty field
        {"0100401\t1\tT\t\"引用\"", {"0100401", "1", "T", "\"引用\""}},     // quotes are plain characters
        {"", {}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(splitFields(QString::fromUtf8(c.line)), c.fields) << c.line;
    EXPECT_EQ(splitChoices(QStringLiteral("a b/c/")), (QStringList{"a b", "c"}));
}

ItemDefinition parse(const char* line)
{
    return definitionOf(splitFields(QString::fromUtf8(line)));
}

TEST(ConditionLineTest, EachKindReadsItsFifthField)
{
    const ItemDefinition m = parse("0100101\t3\tM\t対象土質\t粘性土/砂質土/礫混じり土");
    EXPECT_EQ(m.item, 3);
    EXPECT_EQ(m.kind, "M");
    EXPECT_EQ(m.name, QStringLiteral("対象土質"));
    EXPECT_EQ(m.choices, (QStringList{"粘性土", "砂質土", "礫混じり土"}));
    EXPECT_EQ(parse("c\t1\tM\tx\t1/2/3/4/5/6/7/8/9").choices.size(), 7) << "only seven check boxes exist";

    EXPECT_EQ(parse("c\t4\tS\t汚濁防止膜\tあり/なし").choices, (QStringList{"あり", "なし"}));
    EXPECT_EQ(parse("c\t4\tS\tx\ta/b/c").choices, (QStringList{"b", "c"})) << "the last two are used";
    EXPECT_EQ(parse("c\t4\tS\tx\tone").choices, QStringList{"one"});

    const ItemDefinition n = parse("c\t2\tN\t最大排送距離\tm");
    EXPECT_TRUE(n.hasUnit);
    EXPECT_EQ(n.unit, "m");
    EXPECT_FALSE(parse("c\t2\tN\t最大N値").hasUnit) << "four fields: no unit";
    const ItemDefinition r = parse("c\t1\tR\t水深\t10+m");
    EXPECT_TRUE(r.hasUnit);
    EXPECT_EQ(r.unit, "10 m");
    EXPECT_FALSE(parse("c\t1\tR\t水深\tm\textra").hasUnit) << "the unit is read only from a five-field line";

    EXPECT_EQ(parse("c\t5\tT\t適用できない条件").kind, "T");
    EXPECT_EQ(parse("c\t7\tT\tx").item, 0);
    EXPECT_EQ(parse("c\t12\tT\tx").item, 0);
    EXPECT_EQ(parse("c\tA\tT\tx").item, 0);
}

class DefinitionFileTest : public ::testing::Test
{
protected:
    QString writeFile(const QString& text) { return dir.write("CNSTDEF.TXT", sjis::encode(text)); }
    testsupport::TempDir dir;
};

TEST_F(DefinitionFileTest, OnlyTheLinesOfTheCodeAreReadInFileOrder)
{
    const QString path = writeFile(QStringLiteral("0100101\t1\tR\t水深\tm\r\n"
                                                  "0100104\t1\tN\tほか\tm\r\n"
                                                  "\r\n"
                                                  "0100101\t9\tT\t番号外\r\n"
                                                  "0100101\t2\tS\t併用\t要/不要\n"
                                                  "0100101\n"
                                                  "0100101\t3\tT\t最後の行"));
    QList<ItemDefinition> found;
    QString error;
    ASSERT_TRUE(readDefinitions(path, QStringLiteral("0100101"), &found, &error)) << error.toStdString();
    ASSERT_EQ(found.size(), 4) << "the line without a name defines nothing; the bad number counts";
    EXPECT_EQ(found[0].name, QStringLiteral("水深"));
    EXPECT_EQ(found[1].item, 0);
    EXPECT_EQ(found[2].choices, (QStringList{"要", "不要"}));
    EXPECT_EQ(found[3].name, QStringLiteral("最後の行"));

    ASSERT_TRUE(readDefinitions(path, QStringLiteral("0999999"), &found, &error));
    EXPECT_TRUE(found.isEmpty());
    ASSERT_TRUE(readDefinitions(path, QString(), &found, &error));
    EXPECT_TRUE(found.isEmpty()) << "without a level-3 code no item is defined";
}

TEST_F(DefinitionFileTest, AMissingFileIsAnErrorNamingIt)
{
    QList<ItemDefinition> found;
    QString error;
    EXPECT_FALSE(readDefinitions(dir.filePath("CNSTDEF.TXT"), QStringLiteral("0100101"), &found, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("CNSTDEF.TXT"))) << error.toStdString();
}

TEST_F(DefinitionFileTest, TheShippedFileDefinesFiveItemsForDredging)
{
    QList<ItemDefinition> found;
    ASSERT_TRUE(readDefinitions(QStringLiteral(VORDELL_SOURCE_DIR "/data/program/CNSTDEF.TXT"), QStringLiteral("0100101"), &found, nullptr));
    ASSERT_EQ(found.size(), 5);
    QString kinds;
    for (const ItemDefinition& d : found)
        kinds += d.kind;
    EXPECT_EQ(kinds, "RNMST");
    EXPECT_EQ(found[0].unit, QStringLiteral("m (CDL基準)"));
}

TEST(ConditionValuesTest, StoredTextsOfCheckBoxesAndChoices)
{
    EXPECT_EQ(checkStatesText({false, true, false}), "0100000");
    EXPECT_TRUE(isChecked("101", 1));
    EXPECT_FALSE(isChecked("101", 2));
    EXPECT_TRUE(isChecked("101", 3));
    EXPECT_FALSE(isChecked("101", 4));
    EXPECT_EQ(choiceText(0), "0");
    EXPECT_EQ(choiceText(1), "1");
    EXPECT_EQ(choiceText(-1), "");
    EXPECT_EQ(selectedChoice("1"), 1);
    EXPECT_EQ(selectedChoice(""), -1);
}

// Each kind shows what is entered as one line: checked choices, the chosen one of the last two,
// the number or range with its unit, the text; nothing entered shows nothing.
TEST(ConditionValuesTest, EachKindShowsWhatIsEnteredAsOneLine)
{
    const auto line = [](const char* text) { return splitFields(QString::fromUtf8(text)); };
    struct Case
    {
        const char* definition;
        const char* stored;
        const char* min;
        const char* max;
        const char* expected;
    } cases[] = {
        {"c\t1\tM\t土質\ta/b/c", "101", "", "", "a、c"},
        {"c\t1\tM\t土質\ta/b/c", "0000000", "", "", ""},
        {"c\t1\tS\t併用\tx/要/不要", "0", "", "", "要"},
        {"c\t1\tS\t併用\t要/不要", "1", "", "", "不要"},
        {"c\t1\tS\t併用\t要/不要", "", "", "", ""},
        {"c\t1\tS\t併用\t要", "0", "", "", ""}, // a single choice leaves the first button without one
        {"c\t1\tN\t距離\tm", "", "1200", "", "1200 m"},
        {"c\t1\tN\t距離", "", "3.5", "", "3.5"},
        {"c\t1\tN\t距離\tm", "", "", "", ""},
        {"c\t1\tR\t水深\tm+(CDL)", "", "10", "15.5", "10 ～ 15.5 m (CDL)"},
        {"c\t1\tR\t水深\tm", "", "10", "", "10 ～ m"},
        {"c\t1\tR\t水深\tm", "", "", "20", "～ 20 m"},
        {"c\t1\tT\t条件", " 夜間不可 ", "", "", "夜間不可"},
    };
    for (const Case& c : cases) {
        const ItemDefinition definition = definitionOf(line(c.definition));
        const QString stored = QString::fromUtf8(c.stored);
        const ShownCondition shown = shownCondition(definition, controlsOfStoredText(stored), stored,
                                                    QString::fromUtf8(c.min), QString::fromUtf8(c.max));
        EXPECT_EQ(shown.caption, definition.name) << c.definition;
        EXPECT_EQ(shown.value, QString::fromUtf8(c.expected)) << c.definition << " / " << c.stored;
    }
    EXPECT_EQ(definitionCode("010", "01001", " 0100101 "), "0100101");
    EXPECT_EQ(definitionCode("010", "", "0100101"), "");
}

TEST(ConditionValuesTest, ARangeContradictsOnlyWhenBothBoundsAreWholeNumbers)
{
    EXPECT_TRUE(rangeContradicts("10", "5"));
    EXPECT_FALSE(rangeContradicts("5", "10"));
    EXPECT_FALSE(rangeContradicts("10", "10"));
    EXPECT_FALSE(rangeContradicts("10", "5.5"));
    EXPECT_FALSE(rangeContradicts("10", ""));
    EXPECT_EQ(rangeContradictionMessage(QStringLiteral("水深")), QStringLiteral("水深の入力に矛盾があります。"));
}

// The condition table with one registration's rows.
class ConditionRowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table.setDeclaredFields(store::schema::findTable(QStringLiteral("NT_TBL_CONST_CONDITION"))->fields);
        table.createDataSet();
    }
    // A row in edit state holding a value in every field.
    void editFullRow()
    {
        table.append();
        for (const char* f : {"REG_NO", "ORD", "TYPE", "NAME", "TXT", "F_UNIT"})
            table.field(QLatin1String(f)).setString(QStringLiteral("1"));
        table.field("MIN_VAL").setFloat(1.5);
        table.field("MAX_VAL").setFloat(2);
    }
    QString value(const char* f) { return table.field(QLatin1String(f)).asString(); }

    store::Table table{QStringLiteral("NT_TBL_CONST_CONDITION")};
};

TEST_F(ConditionRowsTest, SavingAnItemEmptiesWhatItsKindDoesNotUse)
{
    struct Case
    {
        const char* kind;
        const char* txt;
        const char* min;
        const char* max;
        const char* unit;
    };
    const QList<Case> cases = {
        {"M", "0100001", "", "", "1"}, {"N", "1", "1.5", "", "1"}, {"R", "", "1.5", "2", "1"},
        {"S", "1", "", "", "1"},       {"T", "1", "", "", ""},
    };
    ItemControls controls;
    controls.checked = {false, true, false, false, false, false, true};
    controls.selected = 1;
    for (const Case& c : cases) {
        editFullRow();
        EXPECT_FALSE(putDataConst(&table, QLatin1String(c.kind), controls));
        EXPECT_EQ(table.state(), store::Table::State::Browse) << c.kind;
        EXPECT_EQ(value("TXT"), c.txt) << c.kind;
        EXPECT_EQ(value("MIN_VAL"), c.min) << c.kind;
        EXPECT_EQ(value("MAX_VAL"), c.max) << c.kind;
        EXPECT_EQ(value("F_UNIT"), c.unit) << c.kind;
        table.remove();
    }
}

TEST_F(ConditionRowsTest, AnUndefinedItemLosesItsRowAndABrowsingRowIsLeftAlone)
{
    editFullRow();
    table.post();
    ItemControls none;
    EXPECT_FALSE(putDataConst(&table, "S", none));
    EXPECT_EQ(value("TXT"), "1") << "not being edited: nothing written";
    EXPECT_TRUE(putDataConst(&table, QString(), none));
    EXPECT_EQ(table.recordCount(), 0);

    changeConstMode(&table);
    EXPECT_EQ(table.state(), store::Table::State::Insert);
    EXPECT_TRUE(putDataConst(&table, QString(), none));
    EXPECT_EQ(table.state(), store::Table::State::Browse);
    EXPECT_EQ(table.recordCount(), 0) << "a row being inserted is abandoned";
}

TEST_F(ConditionRowsTest, RowsWithoutNumberOrOrderAreCleanedUp)
{
    for (const auto& [regNo, ord] : {std::pair{"XXK-000001", "1"}, {"", "2"}, {"XXK-000001", ""}, {"XXK-000001", "3"}}) {
        table.append();
        table.field("REG_NO").setString(QLatin1String(regNo));
        table.field("ORD").setString(QLatin1String(ord));
        table.post();
    }
    removeIncompleteRows(&table);
    ASSERT_EQ(table.recordCount(), 2);
    table.first();
    EXPECT_EQ(value("ORD"), "1");
    table.next();
    EXPECT_EQ(value("ORD"), "3");
}

} // namespace

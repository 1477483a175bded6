#include "entry/DescriptionTables.h"

#include <gtest/gtest.h>

using entry::LoadGridText;
using entry::SaveGridText;
using report::DescriptionGrid;

namespace {

DescriptionGrid gridOf(const QList<std::tuple<int, int, QString>>& cells, const QString& title = {})
{
    DescriptionGrid grid;
    for (const auto& [column, row, text] : cells)
        grid.setCell(column, row, text);
    grid.title = title;
    return grid;
}

// Every cell of columns and rows 1 … 20 equal.
void expectSameCells(const DescriptionGrid& actual, const DescriptionGrid& expected)
{
    for (int r = 1; r <= entry::kTableCells; ++r)
        for (int c = 1; c <= entry::kTableCells; ++c)
            EXPECT_EQ(actual.cell(c, r), expected.cell(c, r)) << "column " << c << " row " << r;
}

} // namespace

TEST(DescriptionTablesTest, TextHoldsTheUsedExtentAndReadsBackTheSame)
{
    struct Case
    {
        const char* what;
        DescriptionGrid grid;
        QString stored;
        DescriptionGrid expectedBack; // the grid as loaded from the stored text
    };
    DescriptionGrid headed = gridOf({{1, 1, "工種"}, {3, 1, "単価"}, {1, 2, "材料費"}}, QStringLiteral("参考例, 税抜 "));
    headed.headerColumns = "1";
    headed.headerRows = "2";
    DescriptionGrid corner = gridOf({{20, 20, "端"}});
    corner.headerColumns = "3";
    const QString emptyRowsTail = QStringLiteral("\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t");
    const QList<Case> cases = {
        {"empty table", DescriptionGrid(), "0\t0\t0\t0\r\n", DescriptionGrid()},
        {"only blanks and a title", gridOf({{2, 2, " "}}, "表"), "0\t0\t0\t0\r\n", DescriptionGrid()},
        {"B2 used, A3 a single blank outside the extent", gridOf({{2, 2, "x"}, {1, 3, " "}}), "2\t2\t0\t0\r\n\t\r\n\tx\r\n",
         gridOf({{2, 2, "x"}})},
        {"title with comma and blanks kept", headed, QStringLiteral("3\t2\t1\t2\r\n工種\t\t単価\r\n材料費\t\t\r\n参考例, 税抜 \r\n"), headed},
        {"single column with an empty first row", gridOf({{1, 3, "a"}}), "1\t3\t0\t0\r\n\r\n\r\na\r\n", gridOf({{1, 3, "a"}})},
        {"the last cell of the grid", corner, "20\t20\t3\t0\r\n" + (emptyRowsTail + "\r\n").repeated(19) + emptyRowsTail + QStringLiteral("端\r\n"),
         corner},
        {"tabs and line breaks inside cells and title become blanks", gridOf({{1, 1, "a\tb"}, {2, 1, "c\r\nd\ne\rf"}}, "t\r\nu"),
         "2\t1\t0\t0\r\na b\tc d e f\r\nt u\r\n", gridOf({{1, 1, "a b"}, {2, 1, "c d e f"}}, "t u")},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const QString stored = SaveGridText(test.grid);
        EXPECT_EQ(stored, test.stored);
        const entry::LoadedTable back = LoadGridText(stored);
        EXPECT_TRUE(back.problems.isEmpty()) << back.problems.join('|').toStdString();
        expectSameCells(back.grid, test.expectedBack);
        EXPECT_EQ(back.grid.title, test.expectedBack.title);
        EXPECT_EQ(back.grid.headerColumns, test.expectedBack.headerColumns);
        EXPECT_EQ(back.grid.headerRows, test.expectedBack.headerRows);
        EXPECT_EQ(SaveGridText(back.grid), stored) << "a second save changes nothing";
    }
}

TEST(DescriptionTablesTest, TheNewRegistrationsSampleLoadsWithItsTitleAndHeadings)
{
    const entry::LoadedTable sample = LoadGridText(QStringLiteral("4\t4\t1\t1\r\n工種\t(事例)\t\t\r\n材料費\t○○\t～\t○○\r\n"
                                                                  "施工費\t○○\t～\t○○\r\n合計\t○○\t～\t○○\r\n参考例"));
    EXPECT_TRUE(sample.problems.isEmpty());
    EXPECT_EQ(sample.grid.title, QStringLiteral("参考例"));
    EXPECT_EQ(sample.grid.headerColumns, QStringLiteral("1"));
    EXPECT_EQ(sample.grid.headerRows, QStringLiteral("1"));
    EXPECT_EQ(sample.grid.cell(2, 1), QStringLiteral("(事例)"));
    EXPECT_EQ(sample.grid.cell(4, 4), QStringLiteral("○○"));
    EXPECT_EQ(sample.grid.cell(1, 5), QString());
}

TEST(DescriptionTablesTest, MalformedTextShowsWhatItCanAndSaysWhatItCannot)
{
    struct Case
    {
        const char* what;
        QString stored;
        QList<std::tuple<int, int, QString>> cells;
        QString title;
        QString headings; // columns + rows
        bool problem;
    };
    const QList<Case> cases = {
        {"nothing stored", "", {}, "", "00", false},
        {"LF line ends", "1\t1\t0\t0\nx\nT\n", {{1, 1, "x"}}, "T", "00", false},
        {"unreadable header: every line a row", "abc\r\nx\ty\r\nz", {{1, 1, "abc"}, {1, 2, "x"}, {2, 2, "y"}, {1, 3, "z"}}, "", "00", true},
        {"zero extent with lines after it", "0\t0\t0\t0\r\nx", {{1, 1, "x"}}, "", "00", true},
        {"text that is no table at all", "一行目\r\n二行目", {{1, 1, "一行目"}, {1, 2, "二行目"}}, "", "00", true},
        {"heading counts out of range are clamped", "1\t1\t7\t-2\r\nx", {{1, 1, "x"}}, "", "30", false},
        {"more rows than stated are shown, last line the title", "1\t1\t0\t0\r\na\r\nb\r\nT", {{1, 1, "a"}, {1, 2, "b"}}, "T", "00", false},
        {"fewer rows than stated", "2\t3\t0\t0\r\na\tb", {{1, 1, "a"}, {2, 1, "b"}}, "", "00", false},
        {"cells beyond the 20th column", "21\t1\t0\t0\r\n" + QString("\t").repeated(19) + "c\tlost", {{20, 1, "c"}}, "", "00", true},
        {"blank cell beyond the grid is no loss", "21\t1\t0\t0\r\n" + QString("\t").repeated(19) + "c\t ", {{20, 1, "c"}}, "", "00", false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const entry::LoadedTable loaded = LoadGridText(test.stored);
        EXPECT_EQ(!loaded.problems.isEmpty(), test.problem) << loaded.problems.join('|').toStdString();
        DescriptionGrid expected = gridOf(test.cells);
        expectSameCells(loaded.grid, expected);
        EXPECT_EQ(loaded.grid.title, test.title);
        EXPECT_EQ(loaded.grid.headerColumns + loaded.grid.headerRows, test.headings);
    }

    QString rows;
    for (int r = 1; r <= 22; ++r)
        rows += QStringLiteral("r%1\r\n").arg(r);
    const entry::LoadedTable tall = LoadGridText("1\t22\t0\t0\r\n" + rows + "T");
    EXPECT_EQ(tall.grid.cell(1, 20), QStringLiteral("r20"));
    EXPECT_EQ(tall.grid.title, QStringLiteral("T"));
    ASSERT_EQ(tall.problems.size(), 1);
    EXPECT_TRUE(tall.problems.first().contains(QStringLiteral("2個"))) << tall.problems.first().toStdString();
}

TEST(DescriptionTablesTest, LengthMeasureCountsShiftJisBytesWithTheTitleLine)
{
    DescriptionGrid grid = gridOf({{2, 2, "x"}}, "T");
    grid.headerColumns = "2";
    EXPECT_EQ(entry::measuredTableText(grid), QStringLiteral("2\t2\t0\t0\r\n\t\r\n\tx\r\nT"));
    EXPECT_EQ(entry::measuredTableText(gridOf({{1, 1, "x"}})), QStringLiteral("1\t1\t0\t0\r\nx\r\n"));
    EXPECT_FALSE(entry::TableTextTooLong(gridOf({{3, 3, " "}}, QString(3000, 'x'))));

    // "1\t1\t0\t0" (7 bytes) + CR LF + cell + CR LF (empty title): 11 bytes around the cell.
    EXPECT_FALSE(entry::TableTextTooLong(gridOf({{1, 1, QString(1989, 'a')}})));
    EXPECT_TRUE(entry::TableTextTooLong(gridOf({{1, 1, QString(1990, 'a')}})));
    EXPECT_TRUE(entry::TableTextTooLong(gridOf({{1, 1, QString(1000, QChar(0x3042))}}))) << "a full-width character counts two";
}

#include "ReportFixture.h"

#include "report/DescriptionGrid.h"
#include "report/FragmentBuilders.h"
#include "store/ProgramFolder.h"

#include <QUrl>

using namespace report;

namespace {

QStringList lines(const QString& text)
{
    return text.split(QStringLiteral("\r\n"));
}

TEST(DescriptionGridTest, StoredTextBecomesACentredTableWithHeadingCells)
{
    // Text only in C2, one heading column: rows 1 and 2, columns A to C, column A yellow.
    const DescriptionGrid grid = DescriptionGrid::fromStoredText(QStringLiteral("3\t2\t1\t0\r\n\t\t\r\n\t\tx\r\n寸法表\r\n"));
    EXPECT_EQ(grid.title, QStringLiteral("寸法表"));
    const QStringList out = lines(BuildGridTable(grid));
    const QStringList expected = {
        "<CENTER>", "<CENTER>", "<TABLE BORDER=1 CELLPADDING=4 CELLSPACING=0 WIDTH=90%>", "<CAPTION>寸法表</CAPTION>",
        "<TR>", "<TH BGCOLOR=#FFFFD0>", "&nbsp;", "</TH>", "<TH>", "&nbsp;", "</TH>", "<TH>", "&nbsp;", "</TH>", "</TR>",
        "<TR>", "<TH BGCOLOR=#FFFFD0>", "&nbsp;", "</TH>", "<TH>", "&nbsp;", "</TH>", "<TH>", "x&nbsp;", "</TH>", "</TR>",
        "</TABLE>", "</CENTER>", "</CENTER>"};
    EXPECT_EQ(out, expected);
}

TEST(DescriptionGridTest, ExtentIgnoresBlankCellsAndCellsBeyondTheGrid)
{
    struct Case
    {
        const char* stored;
        int columns, rows;
    } cases[] = {
        {"0\t0\t0\t0\r\n", 0, 0},
        {"", 0, 0},
        {"2\t2\t0\t0\r\n \t \r\n \t\r\n", 0, 0},       // single blanks only: no table at all
        {"2\t2\t0\t0\r\n\t\r\n\tx\r\n", 2, 2},            // B2 used, A1 … B1 empty
        {"1\t1\t0\t0\r\nz\r\n", 1, 1},                    // no title line
    };
    for (const Case& c : cases) {
        const DescriptionGrid grid = DescriptionGrid::fromStoredText(QString::fromUtf8(c.stored));
        const GridExtent extent = GridUsedExtent(grid);
        EXPECT_EQ(extent.lastColumn, c.columns) << c.stored;
        EXPECT_EQ(extent.lastRow, c.rows) << c.stored;
        EXPECT_EQ(BuildGridTable(grid).isEmpty(), c.columns == 0) << c.stored;
    }
    DescriptionGrid outside;
    outside.setCell(22, 1, QStringLiteral("never"));
    outside.setCell(1, 22, QStringLiteral("never"));
    EXPECT_TRUE(BuildGridTable(outside).isEmpty());
    outside.setCell(21, 21, QStringLiteral("last"));
    EXPECT_TRUE(BuildGridTable(outside).contains(QStringLiteral("last&nbsp;")));
    EXPECT_FALSE(BuildGridTable(outside).contains(QStringLiteral("never")));
}

TEST(DescriptionGridTest, MarkupInCellsAndTitleIsShownAsText)
{
    const QString table = BuildGridTable(DescriptionGrid::fromStoredText(QStringLiteral("1\t1\t0\t0\r\n</TABLE><b>\r\nA&B\r\n")));
    EXPECT_TRUE(table.contains(QStringLiteral("&lt;/TABLE&gt;&lt;b&gt;&nbsp;")));
    EXPECT_TRUE(table.contains(QStringLiteral("<CAPTION>A&amp;B</CAPTION>")));
    EXPECT_EQ(table.count(QStringLiteral("</TABLE>")), 1);
}

TEST(DescriptionGridTest, HeadingCountThatIsNoNumberMeansNoHeadings)
{
    const QString table = BuildGridTable(DescriptionGrid::fromStoredText(QStringLiteral("1\t1\tx\t\r\nz\r\n")));
    EXPECT_FALSE(table.contains(QStringLiteral("BGCOLOR")));
}

class PhotoBlockTest : public ::testing::Test
{
protected:
    testsupport::TempDir dir;
    store::ProgramFolder folder{dir.path()};

    QString imageLine(const QString& fileName, const QByteArray& bytes)
    {
        if (!bytes.isNull())
            dir.write(QStringLiteral("Images/") + fileName, bytes);
        return lines(BuildPhotoBlock(folder, QStringLiteral("写真"), fileName)).value(1);
    }
};

TEST_F(PhotoBlockTest, WidePhotosAreScaledTo400AndOthersShownAtTheirSize)
{
    const QString src = QUrl::fromLocalFile(dir.filePath(QStringLiteral("Images/p.gif"))).toString(QUrl::FullyEncoded);
    EXPECT_EQ(imageLine(QStringLiteral("p.gif"), gifOfSize(800, 333)),
              QStringLiteral("<IMG SRC=\"%1\" width=\"400\" height=\"167\">").arg(src)); // 166.5 goes up
    EXPECT_EQ(imageLine(QStringLiteral("p.gif"), gifOfSize(400, 300)), QStringLiteral("<IMG SRC=\"%1\" >").arg(src));
    struct Case
    {
        const char* name;
        QByteArray bytes;
    } unsized[] = {{"q.png", gifOfSize(800, 600)}, {"q.jpeg", gifOfSize(800, 600)}, {"missing.gif", {}}};
    for (const Case& c : unsized)
        EXPECT_TRUE(imageLine(QLatin1String(c.name), c.bytes).endsWith(QStringLiteral("\" >"))) << c.name;
}

TEST_F(PhotoBlockTest, BlockCentresThePhotoWithItsCaptionAndIsEmptyWithoutAFile)
{
    EXPECT_TRUE(BuildPhotoBlock(folder, QStringLiteral("caption set"), QString()).isEmpty());
    const QStringList block = lines(BuildPhotoBlock(folder, QStringLiteral("<b>岸壁</b>"), QStringLiteral("x\"y.gif")));
    ASSERT_EQ(block.size(), 5);
    EXPECT_EQ(block.at(0), QStringLiteral("<CENTER>"));
    EXPECT_FALSE(block.at(1).contains(QStringLiteral("x\"y"))); // a quote in the name cannot end the attribute
    EXPECT_EQ(block.at(2), QStringLiteral("<BR>"));
    EXPECT_EQ(block.at(3), QStringLiteral("&lt;b&gt;岸壁&lt;/b&gt;"));
    EXPECT_EQ(block.at(4), QStringLiteral("</CENTER>"));
}

using RowBuildersTest = ReportFixture;

TEST_F(RowBuildersTest, RecordRowsHoldTheFieldsNotLeftOutWithBreaksShown)
{
    store::Table* records = table("PL_TBL_PROJECT_MOC");
    addRow("PL_TBL_PROJECT_MOC", {{"MOC_ID", 2}, {"PJT_NAME", QStringLiteral("<b>二件目</b>")}});
    records->first();
    const QStringList rows = lines(BuildRecordRows(*records, {0, 1, 2, 3}));
    // Seven cells per record: name, looked-up type and client, office, start, end, number.
    ASSERT_EQ(rows.size(), 2 * 9 + 1);
    EXPECT_EQ(rows.at(0), QStringLiteral("<TR>"));
    EXPECT_EQ(rows.at(1), QStringLiteral("<TD>岸壁改良工事<BR>第二期&nbsp;</TD>"));
    EXPECT_EQ(rows.at(2), QStringLiteral("<TD>技術活用パイロット&nbsp;</TD>"));
    EXPECT_EQ(rows.at(5), QStringLiteral("<TD class=\"whole\">2025/04/01&nbsp;</TD>"));
    EXPECT_EQ(rows.at(8), QStringLiteral("</TR>"));
    EXPECT_EQ(rows.at(10), QStringLiteral("<TD>&lt;b&gt;二件目&lt;/b&gt;&nbsp;</TD>"));
    EXPECT_EQ(rows.last(), QString()); // the last line ends too
    EXPECT_EQ(records->recNo(), 1);    // the cursor stays where the records page left it
    EXPECT_TRUE(BuildRecordRows(*table("NT_TBL_CONST_CONDITION"), {}).isEmpty());
}

TEST_F(RowBuildersTest, ContactRowsPlaceThePostCodeBeforeTheAddressAndKeepLineBreaks)
{
    const QStringList rows = lines(BuildContactRows(*table("NT_TBL_COMPANY"), {0, 1, 8, 11}, {4, 8}));
    const QStringList expected = {"<TR>", "<TD>代理店A&nbsp;</TD>", "<TD>&nbsp;</TD>", "<TD>&nbsp;</TD>",
                                  "<TD class=\"whole\">〒200-0002&nbsp;</TD>", "<TD>横浜市", "中区&nbsp;</TD>", "<TD>&nbsp;</TD>",
                                  "<TD>&nbsp;</TD>", "<TD>&nbsp;</TD>", "<TD>&nbsp;</TD>", "</TR>", ""};
    EXPECT_EQ(rows, expected);
}

// A list cell of a number field stands right-aligned; a short date, number, phone number or
// registration number is kept whole; text, and a code too long for its column, may wrap.
TEST_F(RowBuildersTest, ListCellsKeepNumbersAndCodesWhole)
{
    struct Case
    {
        const char* field;
        QVariant value;
        const char* cell;
    } cases[] = {
        {"PRICE", 15432087.5, "<TD class=\"num\">15432087.5&nbsp;</TD>"},
        {"F_VALUE", 0, "<TD class=\"num\">0&nbsp;</TD>"},
        {"F_VALUE", QVariant(), "<TD>&nbsp;</TD>"},
        {"SAMMARY", QStringLiteral("2300012345"), "<TD class=\"whole\">2300012345&nbsp;</TD>"},
        {"SAMMARY", QStringLiteral("〒812-0011"), "<TD class=\"whole\">〒812-0011&nbsp;</TD>"},
        {"SAMMARY", QStringLiteral("092-4710-1234"), "<TD class=\"whole\">092-4710-1234&nbsp;</TD>"},
        {"SAMMARY", QStringLiteral("KTK-230001-A"), "<TD class=\"whole\">KTK-230001-A&nbsp;</TD>"},
        {"SAMMARY", QStringLiteral("見積による"), "<TD>見積による&nbsp;</TD>"},
        {"SAMMARY", QStringLiteral("03-5400-1234（代表）"), "<TD>03-5400-1234（代表）&nbsp;</TD>"},
        {"SAMMARY", QStringLiteral("03 5400 1234"), "<TD>03 5400 1234&nbsp;</TD>"},
        {"SAMMARY", QStringLiteral("m3"), "<TD class=\"whole\">m3&nbsp;</TD>"},
        {"SAMMARY", QStringLiteral("info@example.jp"), "<TD>info@example.jp&nbsp;</TD>"},
        {"SAMMARY", QString(30, QLatin1Char('9')), "<TD>999999999999999999999999999999&nbsp;</TD>"},
    };
    store::Table* rows = table("NT_TBL_COMPARE_DETAIL");
    for (const Case& c : cases) {
        rows->first();
        rows->edit();
        rows->field(QStringLiteral("PRICE")).setValue(QVariant());
        rows->field(QStringLiteral("F_VALUE")).setValue(QVariant());
        rows->field(QStringLiteral("SAMMARY")).setValue(QVariant());
        rows->field(QLatin1String(c.field)).setValue(c.value);
        rows->post();
        const int shown = rows->fieldIndex(QLatin1String(c.field));
        QList<int> leaveOut;
        for (int i = 0; i < rows->fieldCount(); ++i) {
            if (i != shown)
                leaveOut.append(i);
        }
        const QStringList cells = lines(BuildRecordRows(*rows, leaveOut));
        EXPECT_EQ(cells.value(1), QString::fromUtf8(c.cell)) << c.field << " " << c.value.toString().toStdString();
    }
}

TEST(CycleCostTableTest, CarriesTheEightCostTags)
{
    const QStringList table = lines(BuildCycleCostTable());
    ASSERT_EQ(table.size(), 23);
    EXPECT_EQ(table.at(6), QStringLiteral("<td align=\"center\" bgcolor=\"#FFFFD0\">１０年</td>"));
    EXPECT_EQ(table.at(10), QStringLiteral("<td align=\"right\"><%=NEWTECH_COST_ONE%></td>"));
    EXPECT_EQ(table.at(20), QStringLiteral("<td align=\"right\"><%=OLDTECH_COST_TEN%></td>"));
    EXPECT_EQ(table.last(), QStringLiteral("</table>"));
}

} // namespace

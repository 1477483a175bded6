#include "ReportFixture.h"

#include "report/ReportGenerator.h"
#include "store/Schema.h"
#include "support/CliRunner.h"
#include "util/SjisText.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

using namespace report;

namespace {

const QRegularExpression kTag(QStringLiteral("<%=([A-Z0-9_]+)%>"));

QSet<QString> tagsOf(const QString& text)
{
    QSet<QString> names;
    for (auto it = kTag.globalMatch(text); it.hasNext();)
        names.insert(it.next().captured(1));
    return names;
}

TEST(ReplaceTagTest, ReplacesEveryOccurrenceOnceLeftToRight)
{
    struct Case
    {
        const char* text;
        const char* value;
        const char* expected;
    } cases[] = {
        {"a<%=X%>b<%=X%>c", "1", "a1b1c"},
        {"<%=X%><%=X%>", "v", "vv"},              // a tag right after another copy
        {"[<%=X%>]", "<%=X%>", "[<%=X%>]"},       // a value holding its own tag is not expanded
        {"<%=X%>", "", ""},
        {"<%=x%><%=XY%>", "1", "<%=x%><%=XY%>"},  // exact and case-sensitive
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceTag(QString::fromUtf8(c.text), QStringLiteral("<%=X%>"), QString::fromUtf8(c.value)), QString::fromUtf8(c.expected))
            << c.text;
}

TEST(TemplateNameTest, TabsChooseTheirTemplates)
{
    EXPECT_EQ(templateFileName(0), QStringLiteral("Template.htm"));
    EXPECT_EQ(templateFileName(3), QStringLiteral("Template3.htm"));
}

using ReportGeneratorTest = ReportFixture;

TEST_F(ReportGeneratorTest, ReportIsShiftJisWithCrLfLinesEscapedTextAndNoTagLeft)
{
    QString path;
    QString error;
    ASSERT_TRUE(GenerateReport(*dm, screenFromTables(*dm), 0, &path, &error)) << error.toStdString();
    EXPECT_EQ(QDir::cleanPath(path), QDir::cleanPath(dir.filePath(QStringLiteral("NewTech.htm"))));
    const QByteArray bytes = dir.read(QStringLiteral("NewTech.htm"));
    const QString text = sjis::decode(bytes);
    EXPECT_EQ(sjis::encode(text), bytes); // decodes back without loss
    EXPECT_FALSE(text.contains(QChar(0xFFFD)));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_FALSE(text.contains(QStringLiteral("<%=")));

    EXPECT_TRUE(text.contains(QStringLiteral("防波堤&lt;script&gt;alert(1)&lt;/script&gt;&amp;補強工法")));
    EXPECT_FALSE(text.contains(QStringLiteral("<script>")));
    EXPECT_TRUE(text.contains(QStringLiteral("一行目<BR><BR>三行目 a&lt;b")));
    EXPECT_TRUE(text.contains(QStringLiteral("<TH BGCOLOR=#FFFFD0>\r\n&lt;i&gt;深さ&lt;/i&gt;&nbsp;\r\n</TH>\r\n<TH>\r\n12.5m&nbsp;")));
    EXPECT_TRUE(text.contains(QStringLiteral("width=\"400\" height=\"167\">")));
    EXPECT_TRUE(text.contains(QStringLiteral("施工状況&lt;写真&gt;")));
    EXPECT_TRUE(text.contains(QStringLiteral("〒100-0001")));
    EXPECT_TRUE(text.contains(QStringLiteral("岸壁改良工事<BR>第二期&nbsp;")));
    EXPECT_TRUE(text.contains(QStringLiteral("<td align=\"right\">1200.5</td>"))); // cycle costs filled in the same pass
    EXPECT_TRUE(text.contains(QStringLiteral("一般財団法人 沿岸港湾技術評価センター")));
    EXPECT_TRUE(text.contains(QStringLiteral("従来材料費&nbsp;")));
}

// Every tag of every template is one that the generator fills for some registration: each option
// of the choice fields and each sign of the rates is tried in turn.
TEST_F(ReportGeneratorTest, EveryTemplateTagIsFilledForSomeRegistration)
{
    QString documents;
    for (int tab = 0; tab <= 4; ++tab) {
        QFile file(dir.filePath(templateFileName(tab)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << templateFileName(tab).toStdString();
        documents += sjis::decode(file.readAll());
    }
    const QSet<QString> used = tagsOf(documents);
    ASSERT_GT(used.size(), 240);

    const QStringList developments = {"1", "2", "3", "7", "8", "9", "0"};
    const QStringList statuses = {"1", "2", "3", "4", "5", "", "0"};
    const QStringList rates = {"5", "0", "-5"};
    QSet<QString> filled;
    for (int v = 0; v < 7; ++v) {
        const QString option = QString::number(v % 3 + 1);
        set("NT_TBL_MAIN", "DVLP_TYPE_CODE", developments.at(v));
        set("NT_TBL_MAIN", "OPEN_DIV_CD", QString::number(v % 3));
        for (const char* field : {"FREE_ITEM1", "FREE_ITEM2"})
            set("NT_TBL_DETAIL_FREE", field, option);
        for (const char* field : {"COMPARE_QUALITY", "COMPARE_SAFTY", "COMPARE_CONSTRUCT", "COMPARE_ENV"})
            set("NT_TBL_DETAIL", field, option);
        for (const char* field : {"CST_TBL_YN", "CERTIFY_PATENT_STAT", "CERTIFY_IDEA_STAT"})
            set("NT_TBL_DETAIL", field, statuses.at(v % statuses.size()));
        ReportScreen screen = screenFromTables(*dm);
        screen.rateCost = screen.rateProcess = rates.at(v % 3);
        const QSet<QString> left = tagsOf(FillReport(*dm, screen, documents));
        for (const QString& name : used) {
            if (!left.contains(name))
                filled.insert(name);
        }
    }
    QStringList never = QStringList(used.begin(), used.end());
    never.removeIf([&](const QString& name) { return filled.contains(name); });
    never.sort();
    EXPECT_TRUE(never.isEmpty()) << never.join(QLatin1Char(' ')).toStdString();
}

// The element of `document` that directly holds position `at`: the start tag of the innermost
// TD or SPAN still open there; empty outside a table cell.
QString holderOf(const QString& document, qsizetype at)
{
    const QString before = document.left(at);
    if (before.lastIndexOf(QLatin1String("<TD")) <= before.lastIndexOf(QLatin1String("</TD>")))
        return {};
    qsizetype open = before.lastIndexOf(QLatin1String("<TD"));
    const qsizetype span = before.lastIndexOf(QLatin1String("<SPAN"));
    if (span > open && span > before.lastIndexOf(QLatin1String("</SPAN>")))
        open = span;
    return before.mid(open, before.indexOf(QLatin1Char('>'), open) - open + 1);
}

// In a table cell of any template, a date, a number or a registration number stands in an element
// that keeps it on one line (amounts right-aligned), however narrow its column.
TEST_F(ReportGeneratorTest, TemplatesKeepDatesNumbersAndRegistrationNumbersWhole)
{
    QSet<QString> whole{"REG_NO", "TECH_DVLP_YEAR", "EVALUATE_MOC_NO", "EVALUATE_PRIVATE_NO", "EVALUATE_ORGAN_TEL_NO"};
    const QSet<QString> amounts{"TOTAL_NEW_TECH", "TOTAL_OLD_TECH", "RATE_COST1", "RATE_PROCESS1", "N_PROCESS", "O_PROCESS",
                                "RESULTS_MOC", "RESULTS_PUBLIC", "RESULTS_PRIVATE"};
    for (const store::schema::TableDef& table : store::schema::registrationTables()) {
        for (const store::FieldDef& field : table.fields) {
            if (field.type == store::FieldType::DateTime || field.type == store::FieldType::Float || field.type == store::FieldType::Integer)
                whole.insert(field.name);
        }
    }
    int checked = 0;
    for (int tab = 0; tab <= 4; ++tab) {
        QFile file(dir.filePath(templateFileName(tab)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString document = sjis::decode(file.readAll());
        for (auto it = kTag.globalMatch(document); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QString holder = holderOf(document, m.capturedStart());
            if (holder.isEmpty() || !(whole.contains(m.captured(1)) || amounts.contains(m.captured(1))))
                continue;
            ++checked;
            if (amounts.contains(m.captured(1)))
                EXPECT_TRUE(holder.contains(QLatin1String("class=\"num\""))) << m.captured(1).toStdString() << " in " << holder.toStdString();
            else
                EXPECT_TRUE(QRegularExpression(QStringLiteral("class=\"(whole|num|opt)\"")).match(holder).hasMatch())
                    << m.captured(1).toStdString() << " in " << holder.toStdString();
        }
    }
    EXPECT_GT(checked, 30);
}

TEST_F(ReportGeneratorTest, ChoicesMarkTheirOptions)
{
    const QString doc = QStringLiteral(
        "S1=<%=CERTIFY_PATENT_STAT1%>|S4=<%=CERTIFY_PATENT_STAT4%>|S5=<%=CERTIFY_PATENT_STAT5%>|F1=<%=CERTIFY_PATENT_FLG1%>|"
        "F2=<%=CERTIFY_PATENT_FLG2%>|C1=<%=COMPARE_COST1%>|C2=<%=COMPARE_COST2%>|C3=<%=COMPARE_COST3%>|"
        "R1=<%=COMPARE_COST_RATE1%>|R3=<%=COMPARE_COST_RATE3%>|P=<%=SALES_POST_CODE%>|D1=<%=DVLP_TYPE1%>|D2=<%=DVLP_TYPE2%>|"
        "D8=<%=DVLP_TYPE_CODE8%>|O2=<%=OPEN_DIV_CD2%>|O0=<%=OPEN_DIV_CD0%>|T=<%=FREE_ITEM_TITLE1%>|K=<%=KEYWD_ENV_YN%>|"
        "K2=<%=KEYWD_SAFETY_YN%>|CT=<%=COST_TYPE%>|CY=<%=CYCLE_COST%>");
    struct Case
    {
        std::function<void(ReportScreen&)> change;
        QStringList expected;
    } cases[] = {
        {[](ReportScreen&) {},
         {"S1=*", "S4=<%=CERTIFY_PATENT_STAT4%>", "S5=（専用実施権）", "F1=【出願中】", "F2=|", "C1=*", "R1=20",
          "C3=<%=COMPARE_COST3%>", "P=〒100-0001", "D1=<%=DVLP_TYPE1%>", "D2=*", "D8=*", "O2=*", "O0=<%=OPEN_DIV_CD0%>", "K=*",
          "K2=|", "CT=サイクルコスト型：Ｄ(Ⅰ)型", "<td align=\"right\">1200.5</td>"}},
        {[](ReportScreen& s) { s.rateCost = "-12.5", s.costRateLabel = "12.5"; },
         {"C1=<%=COMPARE_COST1%>", "C2=<%=COMPARE_COST2%>", "C3=*", "R3=12.5", "R1=<%=COMPARE_COST_RATE1%>"}},
        {[](ReportScreen& s) { s.rateCost = "0"; }, {"C1=<%=COMPARE_COST1%>", "C2=*", "C3=<%=COMPARE_COST3%>"}},
        {[](ReportScreen& s) { s.rateCost = ""; },
         {"C1=<%=COMPARE_COST1%>", "C2=<%=COMPARE_COST2%>", "C3=<%=COMPARE_COST3%>", "R1=<%=COMPARE_COST_RATE1%>"}},
        {[](ReportScreen& s) { s.salesPostCode1 = " 123 ", s.salesPostCode2 = "4567"; }, {"P=〒123-4567"}},
        {[](ReportScreen& s) { s.salesPostCode1 = "123", s.salesPostCode2 = " "; }, {"P=〒100-0001"}},
    };
    for (const Case& c : cases) {
        ReportScreen screen = screenFromTables(*dm);
        c.change(screen);
        const QString out = FillReport(*dm, screen, doc);
        for (const QString& piece : c.expected)
            EXPECT_TRUE(out.contains(piece)) << piece.toStdString() << " in " << out.toStdString();
    }
    set("NT_TBL_DETAIL", "CERTIFY_PATENT_STAT", QString());
    set("NT_TBL_DETAIL", "COST_TYPE", QStringLiteral("3"));
    set("NT_TBL_DETAIL_FREE", "FREE_ITEM_TITLE1", QStringLiteral("1"));
    set("NT_TBL_DETAIL", "SALES_POST_CODE", QString()); // typed into the boxes, not saved yet
    ReportScreen screen = screenFromTables(*dm);
    screen.salesPostCode1 = QStringLiteral("105");
    screen.salesPostCode2 = QStringLiteral("0011");
    const QString out = FillReport(*dm, screen, doc);
    for (const char* piece : {"S1=<%=CERTIFY_PATENT_STAT1%>", "S4=*", "CY=<%=CYCLE_COST%>", "T=1|", "CT=並行型：Ｂ(＋)型", "P=〒105-0011|"})
        EXPECT_TRUE(out.contains(QString::fromUtf8(piece))) << piece << " in " << out.toStdString();
}

// The conditions of the first classification's code print in item order, as the panels show them,
// with the boxes as shown winning over the stored texts; nothing prints when nothing is entered.
TEST_F(ReportGeneratorTest, ConditionsPrintAsThePanelsShowThem)
{
    const QString doc = QStringLiteral("[<%=NT_TBL_CONST_CONDITION%>]");
    const auto fill = [&](const ReportScreen& screen) { return RemoveUnfilledTags(FillReport(*dm, screen, doc)); };
    EXPECT_EQ(fill(screenFromTables(*dm)), "[]"); // no classification chosen

    set("NT_TBL_MAIN", "LEVEL1_COMBO", QStringLiteral("010"));
    set("NT_TBL_MAIN", "LEVEL2_COMBO", QStringLiteral("01001"));
    set("NT_TBL_MAIN", "LEVEL3_COMBO", QStringLiteral("0100101"));
    for (int item = 5; item >= 1; --item)
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", QString::number(item)}});
    EXPECT_EQ(fill(screenFromTables(*dm)), "[]"); // items defined, none entered

    const auto setItem = [&](int item, const char* field, const QVariant& value) {
        store::Table* view = dm->table(QStringLiteral("NT_TBL_CONST_CONDITION_%1").arg(item));
        view->edit();
        QString error;
        ASSERT_TRUE(view->field(QLatin1String(field)).setValue(value, &error)) << error.toStdString();
        view->post();
    };
    setItem(1, "MIN_VAL", 10);
    setItem(1, "MAX_VAL", 15.5);
    setItem(3, "TXT", QStringLiteral("1010000"));
    setItem(4, "TXT", QStringLiteral("1"));
    setItem(5, "TXT", QStringLiteral("夜間<不可>"));
    const QString expected = QStringLiteral(
        "[<TABLE class=\"form\">\r\n<COL style=\"width: 27%\"><COL style=\"width: 73%\">\r\n<TR><TH colspan=\"2\" class=\"group\">施工条件</TH></TR>\r\n"
        "<TR><TH>浚渫水深</TH><TD>10 ～ 15.5 m (CDL基準)</TD></TR>\r\n"
        "<TR><TH>最大排送距離</TH><TD></TD></TR>\r\n"
        "<TR><TH>対象土質</TH><TD>粘性土、礫混じり土</TD></TR>\r\n"
        "<TR><TH>汚濁防止膜の併用</TH><TD>不要</TD></TR>\r\n"
        "<TR><TH>適用できない条件</TH><TD>夜間&lt;不可&gt;</TD></TR>\r\n</TABLE>]");
    EXPECT_EQ(fill(screenFromTables(*dm)), expected);

    ReportScreen shown = screenFromTables(*dm);
    shown.conditionControls.insert(3, conditions::ItemControls{{false, true}, -1});
    shown.conditionControls.insert(4, conditions::ItemControls{{}, 0});
    const QString edited = fill(shown);
    EXPECT_TRUE(edited.contains(QStringLiteral("<TH>対象土質</TH><TD>砂質土</TD>"))) << edited.toStdString();
    EXPECT_TRUE(edited.contains(QStringLiteral("<TH>汚濁防止膜の併用</TH><TD>要</TD>"))) << edited.toStdString();

    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("CNSTDEF.TXT"))));
    EXPECT_TRUE(fill(screenFromTables(*dm)).contains(QStringLiteral("<TH>施工条件</TH><TD>CNSTDEF.TXT を読み込めません。")));
}

// Each 歩掛り表 value marks its own box, なし ("0") included; "0" also stays the own tag's value.
TEST_F(ReportGeneratorTest, CostTableOptionMarksItsBox)
{
    const QString doc = QStringLiteral("0=<%=CST_TBL_YN0%>|1=<%=CST_TBL_YN1%>|3=<%=CST_TBL_YN3%>|4=<%=CST_TBL_YN4%>|"
                                       "5=<%=CST_TBL_YN5%>|v=<%=CST_TBL_YN%>|");
    for (const char* value : {"0", "1", "3", "4", "5"}) {
        set("NT_TBL_DETAIL", "CST_TBL_YN", QString::fromUtf8(value));
        const QString out = RemoveUnfilledTags(FillReport(*dm, screenFromTables(*dm), doc));
        QString expected = QStringLiteral("0=|1=|3=|4=|5=|v=%1|").arg(QLatin1String(value == QByteArray("0") ? "0" : ""));
        expected.replace(QString::fromUtf8(value) + QStringLiteral("=|"), QString::fromUtf8(value) + QStringLiteral("=*|"));
        EXPECT_EQ(out, expected) << value;
    }
    set("NT_TBL_DETAIL", "CST_TBL_YN", QString());
    EXPECT_EQ(RemoveUnfilledTags(FillReport(*dm, screenFromTables(*dm), doc)), QStringLiteral("0=|1=|3=|4=|5=|v=|"));
}

// The 特許 row agrees with the patent blocks wherever the status field says nothing of its own
// (empty, or the "4" every registration gets by default); a status stored otherwise stands.
TEST_F(ReportGeneratorTest, PatentRowFollowsTheEnteredPatentsWhenTheStatusSaysNothing)
{
    const QString doc =
        QStringLiteral("1=<%=CERTIFY_PATENT_STAT1%>|2=<%=CERTIFY_PATENT_STAT2%>|3=<%=CERTIFY_PATENT_STAT3%>|4=<%=CERTIFY_PATENT_STAT4%>|");
    struct Case
    {
        const char* stored;
        const char* number1;
        const char* flag1;
        const char* number3;
        const char* flag3;
        const char* marked;
    } cases[] = {
        {"4", "", "9", "", "9", "4"},                       // no patent entered: 無し
        {"", "", "", "", "", "4"},
        {"4", "特許第1234567号", "1", "", "9", "1"},         // a granted patent: 有り
        {"", "特許第1234567号", "0", "", "9", "2"},          // only applied for: 出願中
        {"4", "特願2025-000001", "0", "特許第7654321号", "1", "1"}, // one granted among them: 有り
        {"4", "特願2025-000001", "0", "特願2025-000002", "0", "2"},
        {"4", "  ", "1", "", "9", "4"},                     // a blank number is no patent
        {"2", "特許第1234567号", "1", "", "9", "2"},         // a stored status stands
        {"3", "", "9", "", "9", "3"},
    };
    for (const Case& c : cases) {
        set("NT_TBL_DETAIL", "CERTIFY_PATENT_STAT", QString::fromUtf8(c.stored));
        set("NT_TBL_PICTURE", "CERTIFY_PATENT_NO1", QString::fromUtf8(c.number1));
        set("NT_TBL_PICTURE", "CERTIFY_PATENT_FLG1", QString::fromUtf8(c.flag1));
        set("NT_TBL_PICTURE", "CERTIFY_PATENT_NO3", QString::fromUtf8(c.number3));
        set("NT_TBL_PICTURE", "CERTIFY_PATENT_FLG3", QString::fromUtf8(c.flag3));
        const QString out = RemoveUnfilledTags(FillReport(*dm, screenFromTables(*dm), doc));
        QString expected = QStringLiteral("1=|2=|3=|4=|");
        expected.replace(QString::fromUtf8(c.marked) + QStringLiteral("=|"), QString::fromUtf8(c.marked) + QStringLiteral("=*|"));
        EXPECT_EQ(out, expected) << "stored " << c.stored << ", blocks " << c.number1 << "/" << c.flag1 << ", " << c.number3 << "/" << c.flag3;
        EXPECT_EQ(table("NT_TBL_DETAIL")->field(QStringLiteral("CERTIFY_PATENT_STAT")).asString(), QString::fromUtf8(c.stored));
    }
}

TEST_F(ReportGeneratorTest, MissingTemplateIsReportedAndLeavesNoStaleReport)
{
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("Template2.htm"))));
    QString path;
    QString error;
    EXPECT_FALSE(GenerateReport(*dm, screenFromTables(*dm), 2, &path, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("ファイル \"")) && error.contains(QStringLiteral("Template2.htm"))) << error.toStdString();
    EXPECT_TRUE(GenerateReport(*dm, screenFromTables(*dm), 4, &path, &error)) << error.toStdString();
    EXPECT_TRUE(sjis::decode(dir.read(QStringLiteral("NewTech.htm"))).contains(QStringLiteral("４．施工実績等")));
}

TEST_F(ReportGeneratorTest, CommandLineWritesTheReportOfARegistration)
{
    QString error;
    ASSERT_TRUE(dm->CloseAllTables(&error)) << error.toStdString();
    const QString out = dir.filePath(QStringLiteral("out.htm"));
    const testsupport::CliResult result = testsupport::runCli({"--home", dir.path(), "preview", "--tab", "1", number, out});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString text = sjis::decode(dir.read(QStringLiteral("out.htm")));
    EXPECT_TRUE(text.contains(QStringLiteral("防波堤&lt;script&gt;")));
    EXPECT_TRUE(text.contains(QStringLiteral("１．名称・分類等")));
    EXPECT_FALSE(text.contains(QStringLiteral("２．概要")));
    EXPECT_EQ(testsupport::runCli({"--home", dir.path(), "preview", "XXK-999999", out}).exitCode, 1);
    EXPECT_EQ(testsupport::runCli({"--home", dir.path(), "preview", number}).exitCode, 2);
}

} // namespace

#include "report/ReportFixture.h"

#include "app/ReportBrowser.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QImage>
#include <QPageRanges>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <QWebEngineView>

#include <optional>

namespace {

// A4 at the resolution the pages are rasterised with.
constexpr int kDpi = 50;
constexpr double kMillimetre = kDpi / 25.4;

QString longText(const QString& piece, int bytes)
{
    QString text;
    while (text.toLocal8Bit().size() < bytes / 2 * 3 && text.size() * 2 < bytes)
        text += piece;
    return text.left(bytes / 2);
}

// A registration with every part of the report filled to its limits: every memo at its 2000
// bytes, long unbroken addresses, the widest description table, records, contacts, patents,
// breakdown rows and a photo in every slot.
class ReportPdfTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        if (HasFatalFailure())
            return;
        fillEverything();
        QString error;
        ASSERT_TRUE(dm->CloseAllTables(&error)) << error.toStdString();
        dm.reset();
    }

    void fillEverything()
    {
        const QString prose = QStringLiteral("鋼管杭の先端に掘削刃を取り付け、回転させながら圧入する工法で、岸壁背後の住宅地でも騒音と振動を抑えて施工できる。");
        for (const char* f : {"SUMMARY_DESC", "FEATURE_DESC", "CONDITION_DESC", "OLD_CONST_CONDITION", "CNST_ATTN_DESC", "SUBJECT_DESC",
                              "CNST_METHOD_DESC", "CNST_COST_DESC", "TEST_DESC", "REF_DESC", "APDX_DESC", "CERTIFY_NOTE"})
            set("NT_TBL_DESCRIPTION", f, longText(prose, 2000));
        // The widest description table: 21 columns.
        QStringList header;
        QStringList values;
        for (int c = 1; c <= 21; ++c) {
            header.append(QStringLiteral("項目%1").arg(c));
            values.append(QStringLiteral("値%1ABCDEFGHIJKLMNOPQRSTUVWXYZ").arg(c));
        }
        const QString wide = QStringLiteral("21\t3\t1\t1\r\n") + header.join(QLatin1Char('\t')) + QStringLiteral("\r\n") +
                             values.join(QLatin1Char('\t')) + QStringLiteral("\r\n") + values.join(QLatin1Char('\t')) +
                             QStringLiteral("\r\n最も広い表\r\n");
        for (const char* f : {"SUMMARY_TABLE", "FEATURE_TABLE", "CNST_METHOD_TABLE", "CNST_COST_TABLE", "TEST_TABLE"})
            set("NT_TBL_DESCRIPTION", f, wide);

        const QString url = QStringLiteral("https://www.example.jp/") + QString(150, QLatin1Char('a')) + QStringLiteral("/index.html");
        for (const char* f : {"SALES_URL", "SALES_URL_BUSINESS", "EVALUATE_MOC_URL", "EVALUATE_PRIVATE_URL", "EVALUATE_URL3", "EVALUATE_URL4"})
            set("NT_TBL_DETAIL", f, url);
        for (const char* f : {"SALES_ADDRESS", "SALES_ADDRESS_BUSINESS", "COMPARE_OTHER_NOTE", "COMPARE_COST_NOTE", "EVALUATE_SCOPE3"})
            set("NT_TBL_DETAIL", f, longText(prose, 250));
        for (const char* f : {"KEYWD_SAFETY_YN", "KEYWD_QUALITY_YN", "KEYWD_RECYCLE_YN", "TERGET_OTHER_YN", "TERGET_RECYCLE_YN"})
            set("NT_TBL_DETAIL", f, QStringLiteral("1"));
        set("NT_TBL_DETAIL", "TERGET_OTHER", QStringLiteral("岸壁背後の住宅地での夜間施工を可能にすること"));
        set("NT_TBL_DETAIL", "SALES_E_MAIL", QString(60, QLatin1Char('m')) + QStringLiteral("@example.jp"));

        for (int block = 1; block <= 5; ++block) {
            set("NT_TBL_PICTURE", qPrintable(QStringLiteral("CERTIFY_PATENT_NO%1").arg(block)), QStringLiteral("特許第%1号").arg(1234560 + block));
            for (const char* f : {"CERTIFY_PATENTEE", "CERTIFY_PRACTICE", "CERTIFY_PATENT_FEE", "CERTIFY_PRACTICE_FORM", "CERTIFY_ADDRESS"})
                set("NT_TBL_PICTURE", qPrintable(QLatin1String(f) + QString::number(block)), longText(prose, 120));
        }

        for (int n = 2; n <= 6; ++n) {
            addRow("PL_TBL_PROJECT_MOC", {{"MOC_ID", n}, {"PJT_TYPE_CODE", 5}, {"PJT_NAME", longText(prose, 200)},
                                          {"CLIENT_MOC_OFFICE", QStringLiteral("○○港湾事務所")}, {"TALVEN_NO", QString(30, QLatin1Char('9'))}});
            addRow("PL_TBL_PROJECT_PRIVATE", {{"PRIVATE_ID", n}, {"PJT_NAME", longText(prose, 200)}, {"CLIENT_NAME", longText(prose, 100)}});
            addRow("NT_TBL_COMPANY", {{"REC_ID", n}, {"SALES_COMPANY_OTHER", longText(prose, 80)}, {"SALES_E_MAIL_OTHER", url},
                                      {"SALES_URL_OTHER", url}, {"SALES_ADDRESS_OTHER", longText(prose, 120)}});
            addRow("NT_TBL_EVALUATE_RESULT", {{"EVALUATE_ID", n}, {"ITEM", longText(prose, 300)}, {"CONTENTS", longText(prose, 1020)},
                                              {"RESULT", longText(prose, 1020)}});
        }
        for (int n = 2; n <= 10; ++n) {
            for (const char* type : {"0", "1"})
                addRow("NT_TBL_COMPARE_DETAIL", {{"ORD", n}, {"RECORD_TYPE", type}, {"ITEM", longText(prose, 60)}, {"METHOD", url},
                                                 {"F_VALUE", 12345.678}, {"F_UNIT", QStringLiteral("m3")}, {"UNIT_PRICE", 123456789},
                                                 {"PRICE", 1524074290119.0}, {"SAMMARY", longText(prose, 80)}});
        }

        // Construction conditions of every kind, and 歩掛り表 なし.
        set("NT_TBL_MAIN", "LEVEL1_COMBO", QStringLiteral("010"));
        set("NT_TBL_MAIN", "LEVEL2_COMBO", QStringLiteral("01001"));
        set("NT_TBL_MAIN", "LEVEL3_COMBO", QStringLiteral("0100101"));
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", "1"}, {"TYPE", "R"}, {"MIN_VAL", 8}, {"MAX_VAL", 14.5}});
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", "2"}, {"TYPE", "N"}, {"MIN_VAL", 1500}});
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", "3"}, {"TYPE", "M"}, {"TXT", "0110000"}});
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", "4"}, {"TYPE", "S"}, {"TXT", "0"}});
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", "5"}, {"TYPE", "T"}, {"TXT", QStringLiteral("波高1.5m以上の荒天時")}});
        set("NT_TBL_DETAIL", "CST_TBL_YN", QStringLiteral("0"));

        // A real picture in every slot: wide, tall and square ones, GIF and JPEG.
        const QString slotLetters = QStringLiteral("ABSTGHI");
        for (int i = 0; i < slotLetters.size(); ++i) {
            const QString letter = slotLetters.mid(i, 1);
            const QSize size = i % 3 == 0 ? QSize(1200, 500) : i % 3 == 1 ? QSize(300, 900) : QSize(640, 640);
            QImage image(size, QImage::Format_RGB32);
            image.fill(QColor(90 + 20 * i, 140, 200));
            QPainter(&image).drawLine(0, 0, size.width(), size.height());
            const QString file = number + letter + (i % 2 ? QStringLiteral(".jpg") : QStringLiteral(".gif"));
            // Qt writes no GIF: the ".gif" slots hold PNG data, which the browser shows all the same.
            ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("Images/") + file), i % 2 ? "JPG" : "PNG"));
            if (letter != QLatin1String("A")) // slot A has its row already
                addRow("NT_TBL_INFO_IMAGES", {{"IMAGES_TYPE", letter}, {"IMAGES_FILE", file}, {"IMAGES_ORIGINAL", file}});
            set("NT_TBL_PICTURE", qPrintable(QStringLiteral("PICTURE_") + letter), QStringLiteral("写真%1の題").arg(letter));
        }
    }

    // Runs `vordell` with the arguments; the exit code, -1 when it did not end normally.
    int runProgram(const QStringList& args, QString* err = nullptr)
    {
        QProcess process;
        process.start(QStringLiteral(VORDELL_PROGRAM_DIR "/vordell"), args);
        if (!process.waitForFinished(180000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        if (err)
            *err = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitCode();
    }

    // The pages of a PDF rasterised in grey at kDpi.
    QList<QImage> pagesOf(const QString& pdf)
    {
        const QString prefix = dir.filePath(QStringLiteral("page"));
        QProcess process;
        process.start(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(kDpi), pdf, prefix});
        if (!process.waitForFinished(120000) || process.exitCode() != 0) {
            ADD_FAILURE() << "pdftoppm: " << process.readAllStandardError().toStdString();
            return {};
        }
        QList<QImage> pages;
        QStringList files = QDir(dir.path()).entryList({QStringLiteral("page-*.pgm")}, QDir::Files, QDir::Name);
        for (const QString& file : files)
            pages.append(QImage(dir.filePath(file)).convertToFormat(QImage::Format_Grayscale8));
        return pages;
    }
};

bool inked(const QImage& page, int x, int y)
{
    return qGray(page.pixel(x, y)) < 200;
}

// The lowest row with ink; -1 for a blank page.
int lowestInk(const QImage& page)
{
    for (int y = page.height() - 1; y >= 0; --y) {
        for (int x = 0; x < page.width(); ++x) {
            if (inked(page, x, y))
                return y;
        }
    }
    return -1;
}

// Ink within `band` pixels of any edge of the page.
bool inkNearEdge(const QImage& page, int band)
{
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const bool edge = x < band || y < band || x >= page.width() - band || y >= page.height() - band;
            if (edge && inked(page, x, y))
                return true;
        }
    }
    return false;
}

// `vordell --pdf` writes the whole report of a full registration on A4 portrait pages: nothing
// in the margins (nothing spilled or cut at an edge), every page but the last at least half
// full, and a page count that shows nothing was lost or added.
TEST_F(ReportPdfTest, FullRegistrationPrintsOnA4InsideTheMargins)
{
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QString err;
    ASSERT_EQ(runProgram({QStringLiteral("--home"), dir.path(), QStringLiteral("--pdf"), number, pdf}, &err), 0) << err.toStdString();
    const QList<QImage> pages = pagesOf(pdf);
    ASSERT_FALSE(pages.isEmpty());
    const QSize a4(qRound(210 * kMillimetre), qRound(297 * kMillimetre));
    const int band = qRound(8 * kMillimetre);
    for (int i = 0; i < pages.size(); ++i) {
        const QImage& page = pages.at(i);
        EXPECT_NEAR(page.width(), a4.width(), 2) << "page " << i + 1;
        EXPECT_NEAR(page.height(), a4.height(), 2) << "page " << i + 1;
        EXPECT_FALSE(inkNearEdge(page, band)) << "page " << i + 1;
        if (i + 1 < pages.size())
            EXPECT_GT(lowestInk(page), page.height() / 2) << "page " << i + 1 << " is less than half full";
    }
    // The full registration fills 34 pages with the shipped templates and font; a different
    // count means content was lost, duplicated or laid out differently.
    EXPECT_EQ(pages.size(), 34);

    // The construction conditions with their captions and values, and 歩掛り表 なし marked.
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* piece : {"施工条件", "浚渫水深", "8 ～ 14.5 m (CDL基準)", "最大排送距離", "1500 m", "対象土質", "砂質土、礫混じり土",
                              "汚濁防止膜の併用", "要", "適用できない条件", "波高1.5m以上の荒天時"})
        EXPECT_TRUE(printed.contains(QString::fromUtf8(piece))) << piece;
    static const QRegularExpression costTable(QStringLiteral("歩掛り表\\s+\\*\\s*なし\\s+標準歩掛"));
    EXPECT_TRUE(printed.contains(costTable)) << printed.mid(printed.indexOf(QStringLiteral("歩掛り表")), 80).toStdString();
}

// The print button's path, printing to a PDF printer: the same pages as the saved PDF, with every
// table whole inside the margins.
TEST_F(ReportPdfTest, PrintingKeepsTheLayoutOfTheSavedPdf)
{
    store::DataModule reopened(dir.path(), &ui);
    ASSERT_TRUE(reopened.start());
    ASSERT_TRUE(reopened.table(QStringLiteral("NT_TBL_MAIN"))->locate(QStringLiteral("REG_NO"), number));
    QString report;
    QString error;
    ASSERT_TRUE(report::GenerateReport(reopened, report::screenFromTables(reopened), 0, &report, &error)) << error.toStdString();
    QWebEngineView view;
    auto* page = new app::ReportWebPage(report, reopened.folder().path(QStringLiteral("Images")), &view);
    view.setPage(page);
    bool loaded = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, [&loaded](bool ok) { loaded = ok; });
    view.setUrl(page->freshReportUrl());
    for (QDeadlineTimer deadline(60000); !loaded && !deadline.hasExpired();)
        QTest::qWait(50);
    ASSERT_TRUE(loaded);

    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    app::prepareReportPrinter(&printer);
    printer.setResolution(150);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    std::optional<bool> printed;
    app::printReport(page, &printer, [&printed](bool ok) { printed = ok; });
    for (QDeadlineTimer deadline(120000); !printed && !deadline.hasExpired();)
        QTest::qWait(50);
    ASSERT_TRUE(printed.value_or(false));

    const QList<QImage> pages = pagesOf(pdf);
    ASSERT_FALSE(pages.isEmpty());
    const QSize a4(qRound(210 * kMillimetre), qRound(297 * kMillimetre));
    for (int i = 0; i < pages.size(); ++i) {
        EXPECT_NEAR(pages.at(i).width(), a4.width(), 2) << "page " << i + 1;
        EXPECT_NEAR(pages.at(i).height(), a4.height(), 2) << "page " << i + 1;
        EXPECT_FALSE(inkNearEdge(pages.at(i), qRound(8 * kMillimetre))) << "page " << i + 1;
    }
    EXPECT_EQ(pages.size(), 34);
    ASSERT_TRUE(reopened.CloseAllTables(&error)) << error.toStdString();
}

// The pages chosen in the print dialog are the pages printed, each on its own sheet; a PDF that
// cannot be read prints nothing and says so.
TEST(PrintPdfPagesTest, PrintsTheChosenPagesAndRefusesABrokenPdf)
{
    testsupport::TempDir dir;
    QByteArray source;
    {
        QBuffer buffer(&source);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageLayout(app::reportPageLayout());
        QPainter painter(&writer);
        for (int page = 1; page <= 3; ++page) {
            if (page > 1)
                writer.newPage();
            painter.drawText(QPointF(500, 500), QStringLiteral("page %1").arg(page));
        }
    }
    const auto pageCount = [](const QString& pdf) {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        info.waitForFinished();
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromLatin1(info.readAllStandardOutput()));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    struct Case
    {
        int from;
        int to;
        int sheets;
    } cases[] = {{0, 0, 3}, {2, 3, 2}, {2, 2, 1}};
    for (const Case& c : cases) {
        const QString out = dir.filePath(QStringLiteral("printed-%1-%2.pdf").arg(c.from).arg(c.to));
        QPrinter printer(QPrinter::HighResolution);
        app::prepareReportPrinter(&printer);
        printer.setResolution(72);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        if (c.from > 0)
            printer.setPageRanges(QPageRanges::fromString(QStringLiteral("%1-%2").arg(c.from).arg(c.to)));
        ASSERT_TRUE(app::printPdfPages(source, &printer));
        EXPECT_EQ(pageCount(out), c.sheets) << c.from << "-" << c.to;
    }
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("broken.pdf")));
    EXPECT_FALSE(app::printPdfPages(QByteArray("%PDF-1.4 not really"), &printer));
}

// A page fills the sheet it is printed on; a sheet of another size takes it whole and centred; a
// printer that cannot print as far out as the page's margins gets the page shrunk until its
// content lies inside what the printer prints.
TEST(PagePlacementTest, ContentStaysInsideWhatThePrinterPrints)
{
    const QSizeF a4(2100, 2970);
    const QMarginsF margins(120, 140, 120, 140);
    struct Case
    {
        QRectF sheet;
        QRectF printable;
        QRectF placed;
    } cases[] = {
        {{0, 0, 2100, 2970}, {0, 0, 2100, 2970}, {0, 0, 2100, 2970}},
        {{0, 0, 2100, 2970}, {50, 50, 2000, 2870}, {0, 0, 2100, 2970}},       // usual printer margins: untouched
        {{0, 0, 2100, 2970}, {200, 0, 1700, 2970}, {0, 0, 2100 * 850.0 / 930, 0}}, // 200 cannot be printed at the sides
        {{0, 0, 2159, 2794}, {0, 0, 2159, 2794}, {0, 0, 2100 * 2794.0 / 2970, 0}}, // Letter: whole, centred
    };
    for (const Case& c : cases) {
        const QRectF placed = app::pagePlacement(a4, margins, c.sheet, c.printable);
        EXPECT_NEAR(placed.width() / placed.height(), a4.width() / a4.height(), 1e-9);
        EXPECT_NEAR(placed.center().x(), c.sheet.center().x(), 1e-6);
        EXPECT_NEAR(placed.center().y(), c.sheet.center().y(), 1e-6);
        EXPECT_NEAR(placed.width(), c.placed.width(), 0.01) << c.sheet.width() << " " << c.printable.left();
        const double scale = placed.width() / a4.width();
        EXPECT_GE(placed.left() + margins.left() * scale, c.printable.left() - 1e-6);
        EXPECT_LE(placed.right() - margins.right() * scale, c.printable.right() + 1e-6);
    }
}

// One section alone, and the failures: each ends with exit code 1 and says why on stderr.
TEST_F(ReportPdfTest, CommandWritesOneSectionAndReportsFailures)
{
    const QString pdf = dir.filePath(QStringLiteral("section.pdf"));
    QString err;
    ASSERT_EQ(runProgram({QStringLiteral("--home"), dir.path(), QStringLiteral("--pdf"), number, pdf, QStringLiteral("--tab"), QStringLiteral("1")}, &err),
              0)
        << err.toStdString();
    const QList<QImage> pages = pagesOf(pdf);
    EXPECT_GE(pages.size(), 1);
    EXPECT_LE(pages.size(), 5); // the first section only, of the whole report's 34 pages

    struct Case
    {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"--home", dir.path(), "--pdf", "XXK-999999", pdf}, "XXK-999999"},
        {{"--home", dir.path(), "--pdf", number, dir.filePath("missing/folder/out.pdf")}, "missing"},
        {{"--home", dir.path(), "--pdf", number, pdf, "--tab", "7"}, "--tab"},
        {{"--home", dir.path(), "--pdf", number}, "usage"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(runProgram(c.args, &err), 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(err.contains(QLatin1String(c.says))) << err.toStdString();
    }
}

} // namespace

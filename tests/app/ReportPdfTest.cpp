#include "report/ReportFixture.h"

#include "app/ReportBrowser.h"
#include "util/SjisText.h"

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

// A registration in a copy of the program folder, printed by the program itself.
class PdfFixture : public ReportFixture
{
protected:
    // The registration filled by `fill` and the tables written, so that the program reads them.
    void SetUp() override
    {
        ReportFixture::SetUp();
        if (HasFatalFailure())
            return;
        fill();
        if (HasFatalFailure())
            return;
        QString error;
        ASSERT_TRUE(dm->CloseAllTables(&error)) << error.toStdString();
        dm.reset();
    }

    virtual void fill() = 0;

    // Construction conditions of every kind.
    void addConditions()
    {
        set("NT_TBL_MAIN", "LEVEL1_COMBO", QStringLiteral("010"));
        set("NT_TBL_MAIN", "LEVEL2_COMBO", QStringLiteral("01001"));
        set("NT_TBL_MAIN", "LEVEL3_COMBO", QStringLiteral("0100101"));
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", "1"}, {"TYPE", "R"}, {"MIN_VAL", 8}, {"MAX_VAL", 14.5}});
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", "2"}, {"TYPE", "N"}, {"MIN_VAL", 1500}});
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", "3"}, {"TYPE", "M"}, {"TXT", "0110000"}});
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", "4"}, {"TYPE", "S"}, {"TXT", "0"}});
        addRow("NT_TBL_CONST_CONDITION", {{"ORD", "5"}, {"TYPE", "T"}, {"TXT", QStringLiteral("波高1.5m以上の荒天時")}});
    }

    // A real picture in each of the slots: wide, tall and square ones, GIF and JPEG.
    void addPhotos(const QString& slotLetters)
    {
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

    // `vordell --pdf` of the registration into `pdf`. With VORDELL_KEEP_PDF naming a folder, a copy
    // stays there to look at its pages.
    void printPdf(const QString& pdf)
    {
        QString err;
        ASSERT_EQ(runProgram({QStringLiteral("--home"), dir.path(), QStringLiteral("--pdf"), number, pdf}, &err), 0) << err.toStdString();
        if (const QString keep = qEnvironmentVariable("VORDELL_KEEP_PDF"); !keep.isEmpty()) {
            const QString copy = QDir(keep).filePath(QFileInfo(pdf).fileName());
            QFile::remove(copy);
            QFile::copy(pdf, copy);
        }
    }
};

// A registration with every part of the report filled to its limits: every memo at its 2000
// bytes, long unbroken addresses, the widest description table, records, contacts, patents,
// breakdown rows and a photo in every slot.
class ReportPdfTest : public PdfFixture
{
protected:
    void fill() override
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
        addConditions();
        set("NT_TBL_DETAIL", "CST_TBL_YN", QStringLiteral("0"));

        addPhotos(QStringLiteral("ABSTGHI"));
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
    printPdf(pdf);
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
    // The full registration fills 27 pages with the shipped templates and font; a different
    // count means content was lost, duplicated or laid out differently.
    EXPECT_EQ(pages.size(), 27);

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
    EXPECT_EQ(pages.size(), 27);
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
    EXPECT_LE(pages.size(), 5); // the first section only, of the whole report's 27 pages

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

// A complete registration as a clerk fills it: every text of a usual length, both contacts and
// three others, three description tables, five photos, the conditions, a comparison with six
// breakdown rows on each side, records with dates and registration numbers, an evaluation and a
// patent.
class TypicalReportPdfTest : public PdfFixture
{
protected:
    void fill() override
    {
        const QString prose = QStringLiteral("ケーソンの据付位置をGNSSと傾斜計で常時計測し、据付誤差を半分以下に抑える。潜水士による水中確認を減らし、工期を短縮する。");
        set("NT_TBL_MAIN", "TECH_TITLE", QStringLiteral("ケーソン据付位置管理システム"));
        set("NT_TBL_MAIN", "TECH_SUBTITLE", QStringLiteral("GNSSと傾斜計による据付時の位置・姿勢のリアルタイム管理"));
        set("NT_TBL_MAIN", "TECH_DVLP_YEAR", QStringLiteral("2022"));
        set("NT_TBL_MAIN", "DB_REG_DATE", QDate(2023, 4, 1));
        set("NT_TBL_MAIN", "TECH_DVLP_COMPANY", QStringLiteral("港湾建設株式会社、海洋計測株式会社"));
        set("NT_TBL_MAIN", "SUMMARY", QStringLiteral("ケーソン据付時の位置と姿勢を計測し、誘導する技術"));
        set("NT_TBL_MAIN", "GRP_CODE1", QStringLiteral("01"));
        addConditions();
        set("NT_TBL_MAIN", "LEVEL4_COMBO", QStringLiteral("010010101"));
        const QList<std::pair<const char*, QString>> detail{
            {"SALES_SECTION", QStringLiteral("技術本部 技術開発部")}, {"SALES_STUFF", QStringLiteral("海野 太郎")},
            {"SALES_ADDRESS", QStringLiteral("東京都港区芝公園一丁目0番0号 港湾ビル5階")}, {"SALES_TEL_NO", "03-5400-1234"},
            {"SALES_FAX_NO", "03-5400-1235"}, {"SALES_E_MAIL", "tech@kowan-kensetsu.example.jp"},
            {"SALES_URL", "https://www.kowan-kensetsu.example.jp/tech/caisson"},
            {"SALES_COMPANY_BUSINESS", QStringLiteral("港湾建設株式会社")}, {"SALES_SECTION_BUSINESS", QStringLiteral("営業本部 港湾営業部")},
            {"SALES_STUFF_BUSINESS", QStringLiteral("浜田 花子")}, {"SALES_POST_CODE_BUSINESS", QStringLiteral("〒530-0001")},
            {"SALES_ADDRESS_BUSINESS", QStringLiteral("大阪府大阪市北区梅田二丁目0番0号")}, {"SALES_TEL_NO_BUSINESS", "06-6340-5678"},
            {"SALES_FAX_NO_BUSINESS", "06-6340-5679"}, {"SALES_E_MAIL_BUSINESS", "sales@kowan-kensetsu.example.jp"},
            {"KEYWD_SAFETY_YN", "1"}, {"KEYWD_COST_YN", "1"}, {"KEYWD_FREE1", QStringLiteral("ケーソン据付")},
            {"TERGET_MAN_COUNT_YN", "1"}, {"TERGET_ACCURACY_YN", "1"}, {"TERGET_SAFTY_YN", "1"},
            {"COMPARE_TECH_TITLE", QStringLiteral("潜水士の目視確認による据付")}, {"COMPARE_COST_NOTE", longText(prose, 200)},
            {"COMPARE_PROCESS_NOTE", longText(prose, 160)}, {"COMPARE_QUALITY", "1"}, {"COMPARE_QUALITY_NOTE", longText(prose, 120)},
            {"COMPARE_SAFTY", "1"}, {"COMPARE_SAFTY_NOTE", longText(prose, 120)}, {"COMPARE_CONSTRUCT", "1"},
            {"COMPARE_ENV", "2"}, {"COMPARE_OTHER_NOTE", longText(prose, 240)}, {"RESULTS_MOC", "12"}, {"RESULTS_PUBLIC", "5"},
            {"RESULTS_PRIVATE", "8"}, {"CERTIFY_PATENT_STAT", "1"}, {"CERTIFY_IDEA_STAT", "4"},
            {"EVALUATE_MOC_NO", "2301"}, {"EVALUATE_PRIVATE_NO", "CE-2022-0815"}, {"EVALUATE_NAME3", QStringLiteral("建設技術審査証明")},
            {"EVALUATE_NO3", QStringLiteral("第2203号")}, {"EVALUATE_ORGAN_NAME3", QStringLiteral("一般財団法人 港湾技術センター")},
            {"EVALUATE_SCOPE3", longText(prose, 120)}, {"CST_TBL_YN", "5"}};
        for (const auto& [field, value] : detail)
            set("NT_TBL_DETAIL", field, value);
        set("NT_TBL_DETAIL", "EVALUATE_MOC_DATE", QDate(2023, 4, 1));
        set("NT_TBL_DETAIL", "EVALUATE_PRIVATE_DATE", QDate(2022, 12, 15));
        set("NT_TBL_DETAIL", "EVALUATE_DATE3", QDate(2023, 3, 31));
        set("NT_TBL_DETAIL", "NEWTECH_COST_THREE", 1320000);
        set("NT_TBL_DETAIL", "OLDTECH_COST_ONE", 1580000);

        for (const char* f : {"SUMMARY_DESC", "FEATURE_DESC", "CONDITION_DESC", "OLD_CONST_CONDITION", "CNST_ATTN_DESC", "SUBJECT_DESC",
                              "CNST_METHOD_DESC", "CNST_COST_DESC", "TEST_DESC", "REF_DESC", "APDX_DESC", "CERTIFY_NOTE"})
            set("NT_TBL_DESCRIPTION", f, longText(prose, 600));
        const QString grid = QStringLiteral("4\t5\t1\t1\r\n項目\t新技術\t従来技術\t差\r\n据付誤差\t50mm\t100mm\t50mm\r\n"
                                            "据付日数\t3日\t5日\t2日\r\n潜水作業\t4時間\t12時間\t8時間\r\n作業人数\t6人\t9人\t3人\r\n施工比較\r\n");
        for (const char* f : {"SUMMARY_TABLE", "FEATURE_TABLE", "CNST_COST_TABLE"})
            set("NT_TBL_DESCRIPTION", f, grid);
        set("NT_TBL_PICTURE", "CERTIFY_PATENT_NO1", QStringLiteral("特許第6543210号"));
        set("NT_TBL_PICTURE", "CERTIFY_PATENT_FLG1", QStringLiteral("1"));
        set("NT_TBL_PICTURE", "CERTIFY_PATENTEE1", QStringLiteral("港湾建設株式会社"));
        set("NT_TBL_PICTURE", "CERTIFY_PRACTICE1", QStringLiteral("海洋計測株式会社"));
        set("NT_TBL_PICTURE", "CERTIFY_PATENT_GENERAL1", QStringLiteral("1"));
        set("NT_TBL_PICTURE", "CERTIFY_PATENT_FEE1", QStringLiteral("工事費の1%"));
        set("NT_TBL_PICTURE", "CERTIFY_PRACTICE_FORM1", QStringLiteral("システムの貸与"));
        set("NT_TBL_PICTURE", "CERTIFY_ADDRESS1", QStringLiteral("港湾建設株式会社 技術開発部"));
        addPhotos(QStringLiteral("ABSTG"));

        for (int n = 2; n <= 3; ++n) {
            addRow("NT_TBL_COMPANY", {{"REC_ID", n}, {"SALES_COMPANY_OTHER", QStringLiteral("西日本港湾計測株式会社")},
                                      {"SALES_SECTION_OTHER", QStringLiteral("営業部")}, {"SALES_STUFF_OTHER", QStringLiteral("山田 一郎")},
                                      {"SALES_POST_CODE_OTHER", QStringLiteral("〒812-0011")},
                                      {"SALES_ADDRESS_OTHER", QStringLiteral("福岡県福岡市博多区博多駅前三丁目0番0号")},
                                      {"SALES_TEL_NO_OTHER", "092-4710-1234"}, {"SALES_FAX_NO_OTHER", "092-4710-1235"},
                                      {"SALES_E_MAIL_OTHER", "info@nishi-kowan.example.jp"}, {"SALES_URL_OTHER", "https://nishi-kowan.example.jp/"}});
            addRow("PL_TBL_PROJECT_MOC", {{"MOC_ID", n}, {"PJT_TYPE_CODE", 5}, {"CLIENT_MOC_CODE", "001"},
                                          {"PJT_NAME", QStringLiteral("○○港防波堤（沖）ケーソン据付工事")}, {"CLIENT_MOC_OFFICE", QStringLiteral("○○港湾事務所")},
                                          {"PJT_START_DATE", QDate(2023, 4, 1)}, {"PJT_END_DATE", QDate(2024, 3, 22)},
                                          {"TALVEN_NO", QStringLiteral("230001234%1").arg(n)}});
            addRow("PL_TBL_PROJECT_PRIVATE", {{"PRIVATE_ID", n}, {"CLIENT_KIND_CD", "1"}, {"PJT_NAME", QStringLiteral("△△漁港岸壁改良工事")},
                                              {"CLIENT_NAME", QStringLiteral("△△県 農林水産部 漁港課")}, {"PJT_START_DATE", QDate(2022, 10, 11)},
                                              {"PJT_END_DATE", QDate(2023, 2, 28)}, {"TALVEN_NO", QStringLiteral("220009876%1").arg(n)}});
        }
        addRow("NT_TBL_EVALUATE_RESULT", {{"EVALUATE_ID", 2}, {"ITEM", QStringLiteral("据付精度")}, {"CONTENTS", longText(prose, 200)},
                                          {"RESULT", QStringLiteral("据付誤差は全数で50mm以内であった。")}});

        store::Table* sheet = table("NT_TBL_COMPARE_MAIN");
        sheet->edit();
        for (const auto& [field, value] : QList<std::pair<const char*, QVariant>>{{"BASE_VALUE", 10}, {"BASE_UNIT", QStringLiteral("函")},
                                                                                {"N_COST", 24683500}, {"O_COST", 31250000}, {"RATE_COST", 21.01},
                                                                                {"N_PROCESS", 30}, {"O_PROCESS", 50}, {"RATE_PROCESS", 40}})
            sheet->field(QLatin1String(field)).setValue(value);
        sheet->post();
        const char* items[] = {"据付管理費", "GNSS機器損料", "傾斜計損料", "起重機船運転", "潜水士", "雑材料"};
        for (int n = 2; n <= 6; ++n) {
            for (const char* type : {"0", "1"})
                addRow("NT_TBL_COMPARE_DETAIL", {{"ORD", n}, {"RECORD_TYPE", type}, {"ITEM", QString::fromUtf8(items[n - 1])},
                                                 {"METHOD", QStringLiteral("3,000t吊")}, {"F_VALUE", 12.5}, {"F_UNIT", QStringLiteral("日")},
                                                 {"UNIT_PRICE", 1234567}, {"PRICE", 15432087.5}, {"SAMMARY", QStringLiteral("見積による")}});
        }
    }

    // The page texts of the PDF as pdftotext lays them out, one entry a page.
    QStringList pageTexts(const QString& pdf)
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (!process.waitForFinished(60000))
            return {};
        QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }
};

// The headings and the caption bars of the long texts, as the template of the whole report has them.
QStringList headingsOfTemplate(const QString& programFolder)
{
    QFile file(programFolder + QStringLiteral("/Template.htm"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = sjis::decode(file.readAll());
    static const QRegularExpression heading(QStringLiteral("<H[23]>([^<]+)</H[23]>|<DIV class=\"caption\">([^<]+)</DIV>"));
    QStringList headings;
    for (auto it = heading.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        headings.append(m.captured(1).isEmpty() ? m.captured(2) : m.captured(1));
    }
    return headings;
}

// Printed, a complete registration keeps each date, amount, phone number and registration number
// on one line, never ends a page with a heading or a caption bar, and leaves no page with more
// than a third of it blank.
TEST_F(TypicalReportPdfTest, ValuesStayWholeAndHeadingsStayWithTheirBlocks)
{
    const QString pdf = dir.filePath(QStringLiteral("typical.pdf"));
    printPdf(pdf);
    const QStringList pages = pageTexts(pdf);
    ASSERT_FALSE(pages.isEmpty());
    const QString all = pages.join(QLatin1Char('\n'));
    for (const char* value : {"2023/04/01", "2024/03/22", "2022/10/11", "2023/02/28", "2022/12/15", "2023/03/31", "2300012342",
                              "2300012343", "2200098762", "2200098763", "15432087.5", "1234567", "24683500", "31250000",
                              "1320000", "1580000", "530-0001", "812-0011", "092-4710-1234", "092-4710-1235", "06-6340-5678",
                              "CE-2022-0815", "XXK-"})
        EXPECT_TRUE(all.contains(QLatin1String(value))) << value << " is broken or missing";

    const QStringList headings = headingsOfTemplate(dir.path());
    ASSERT_GT(headings.size(), 30);
    for (int i = 0; i + 1 < pages.size(); ++i) {
        QStringList lines = pages.at(i).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
            lines.removeLast();
        ASSERT_FALSE(lines.isEmpty()) << "page " << i + 1 << " is blank";
        EXPECT_FALSE(headings.contains(lines.last().trimmed())) << "page " << i + 1 << " ends in " << lines.last().trimmed().toStdString();
    }

    const QList<QImage> images = pagesOf(pdf);
    for (int i = 0; i + 1 < images.size(); ++i)
        EXPECT_GT(lowestInk(images.at(i)), images.at(i).height() * 2 / 3) << "page " << i + 1 << " is more than a third blank";
}

} // namespace

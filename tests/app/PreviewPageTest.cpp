#include "EntryWindowFixture.h"

#include "app/ReportBrowser.h"
#include "util/SjisText.h"

#include <QFile>
#include <QGuiApplication>
#include <QStatusBar>
#include <QWebEngineScript>
#include <QWebEngineSettings>

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

class PreviewPageTest : public EntryWindowFixture
{
protected:
    QWebEngineView* view() const { return find<QWebEngineView>("WebBrowser1"); }

    // Shows the preview page of a new registration with long texts and waits for the report.
    bool showLongReport()
    {
        window->cycle().newRegistration();
        find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("消波ブロック据付工法"));
        QSignalSpy loaded(view(), &QWebEngineView::loadFinished);
        window->pages()->setCurrentWidget(find("TabSheet5"));
        return waitForLoad(loaded);
    }

    // Waits until the browser has loaded what it was last told to.
    static bool waitForLoad(QSignalSpy& loaded)
    {
        if (loaded.isEmpty() && !loaded.wait(20000))
            return false;
        while (loaded.wait(1000)) {
        }
        return loaded.last().at(0).toBool();
    }

    static void waitUntil(const std::function<bool()>& done, int milliseconds = 20000)
    {
        for (QDeadlineTimer deadline(milliseconds); !done() && !deadline.hasExpired();)
            QTest::qWait(50);
    }
};

// Showing the preview page writes NewTech.htm from the full template with what the entry pages
// show (unsaved text included) and loads it into the browser; another tab of the selector
// regenerates from its own template, and coming back to the page starts again from the full one.
TEST_F(PreviewPageTest, ShowsTheGeneratedReportOfTheOpenRegistration)
{
    window->cycle().newRegistration();
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("消波ブロック<据付>工法"));
    auto* selector = find<QTabBar>("TabControl1");
    auto* view = find<QWebEngineView>("WebBrowser1");
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    const QString report = dir.filePath(QStringLiteral("NewTech.htm"));
    const auto written = [&] { return sjis::decode(dir.read(QStringLiteral("NewTech.htm"))); };

    QWidget* preview = find("TabSheet5");
    window->pages()->setCurrentWidget(preview);
    EXPECT_TRUE(written().contains(QStringLiteral("消波ブロック&lt;据付&gt;工法")));
    EXPECT_TRUE(written().contains(QStringLiteral("４．施工実績等")));
    EXPECT_EQ(view->url().adjusted(QUrl::RemoveQuery), QUrl::fromLocalFile(report));

    selector->setCurrentIndex(3);
    EXPECT_TRUE(written().contains(QStringLiteral("３．従来技術との比較")));
    EXPECT_FALSE(written().contains(QStringLiteral("１．名称・分類等")));

    window->pages()->setCurrentIndex(1);
    window->pages()->setCurrentWidget(preview);
    EXPECT_EQ(selector->currentIndex(), 0);
    EXPECT_TRUE(written().contains(QStringLiteral("１．名称・分類等")));

    if (!loaded.wait(20000) && loaded.isEmpty())
        GTEST_SKIP() << "the web engine did not load a page here; the generated file was checked above";
    while (loaded.wait(2000)) {
    }
    EXPECT_TRUE(loaded.last().at(0).toBool());
    EXPECT_TRUE(find<QPushButton>("Button6")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("BtnSavePdf")->isEnabled());
    QString shown;
    view->page()->toPlainText([&shown](const QString& text) { shown = text; });
    for (QDeadlineTimer deadline(10000); shown.isEmpty() && !deadline.hasExpired();)
        QTest::qWait(50);
    EXPECT_TRUE(shown.contains(QStringLiteral("消波ブロック<据付>工法")));
    EXPECT_FALSE(shown.contains(QStringLiteral("<%=")));
}

// A section chosen after scrolling down another opens at its top.
TEST_F(PreviewPageTest, EachSectionOpensAtItsTop)
{
    if (!showLongReport())
        GTEST_SKIP() << "the web engine did not load a page here";
    window->resize(900, 500);
    window->show();
    QWebEnginePage* page = view()->page();
    // The report runs no scripts of its own; the test scrolls from the isolated world.
    page->runJavaScript(QStringLiteral("window.scrollTo(0, 1500)"), QWebEngineScript::ApplicationWorld);
    waitUntil([&] { return page->scrollPosition().y() > 0; }, 5000);
    ASSERT_GT(page->scrollPosition().y(), 0);

    QSignalSpy loaded(view(), &QWebEngineView::loadFinished);
    find<QTabBar>("TabControl1")->setCurrentIndex(2);
    ASSERT_TRUE(waitForLoad(loaded));
    waitUntil([&] { return page->scrollPosition().y() == 0; }, 3000);
    EXPECT_EQ(page->scrollPosition().y(), 0);
}

// "PDF保存" proposes the submission file's name with ".pdf", writes the shown report as PDF,
// and reports a file it cannot write.
TEST_F(PreviewPageTest, SavesTheShownReportAsPdfAndReportsAFailure)
{
    if (!showLongReport())
        GTEST_SKIP() << "the web engine did not load a page here";
    const QString pdf = dir.filePath(QStringLiteral("out/report"));
    QDir(dir.path()).mkpath(QStringLiteral("out"));
    ui.setDesktopFolder(dir.filePath(QStringLiteral("out")));
    ui.expectFile(pdf);
    find<QPushButton>("BtnSavePdf")->click();
    ASSERT_EQ(ui.fileRequests().size(), 1);
    EXPECT_EQ(ui.fileRequests().first().fileName, QStringLiteral("消波ブロック据付工法.pdf"));
    EXPECT_EQ(ui.fileRequests().first().folder, dir.filePath(QStringLiteral("out")));
    waitUntil([&] { return QFile::exists(pdf + QStringLiteral(".pdf")); });
    QFile written(pdf + QStringLiteral(".pdf"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5) == "%PDF-");
    EXPECT_TRUE(ui.boxes().isEmpty());
    waitUntil([&] { return !window->statusBar()->currentMessage().isEmpty(); });
    EXPECT_EQ(window->statusBar()->currentMessage(), QDir::toNativeSeparators(pdf + QStringLiteral(".pdf")) + QStringLiteral(" を保存しました。"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the busy cursor ends with the work";

    ui.expectFile(dir.filePath(QStringLiteral("no/such/folder/report.pdf")));
    ui.expectBox(UserInteraction::Ok);
    find<QPushButton>("BtnSavePdf")->click();
    waitUntil([&] { return !ui.boxes().isEmpty(); });
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the failure is told without the busy cursor";
    EXPECT_EQ(ui.boxes().first().icon, UserInteraction::Icon::Error);
    EXPECT_TRUE(ui.boxes().first().text.contains(QStringLiteral("report.pdf"))) << ui.boxes().first().text.toStdString();
}

// The report's browser runs no scripts and loads nothing but the report and its photos.
TEST(ReportBrowserTest, LoadsOnlyTheReportAndItsPhotos)
{
    const QString report = QStringLiteral("/data/VORDELL/NewTech.htm");
    const QString photos = QStringLiteral("/data/VORDELL/Images");
    struct Case
    {
        const char* url;
        bool allowed;
    } cases[] = {
        {"file:///data/VORDELL/NewTech.htm", true},
        {"file:///data/VORDELL/NewTech.htm?load=3", true},
        {"file:///data/VORDELL/Images/XXK-000001A.gif", true},
        {"file:///data/VORDELL/Images/../FLATT_FILES/NT_TBL_MAIN.cds", false},
        {"file:///data/VORDELL/Images", false},
        {"file:///data/VORDELL/ImagesX/a.gif", false},
        {"file:///etc/passwd", false},
        {"file://server/data/VORDELL/NewTech.htm", false},
        {"http://example.com/a.gif", false},
        {"https://example.com/NewTech.htm", false},
        {"data:text/html,<p>x</p>", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::isReportLoad(QUrl(QString::fromUtf8(c.url)), report, photos), c.allowed) << c.url;
}

TEST_F(PreviewPageTest, ReportRunsNoScriptAndFetchesNothingElse)
{
    auto* page = new app::ReportWebPage(dir.filePath(QStringLiteral("NewTech.htm")), dir.filePath(QStringLiteral("Images")), view());
    view()->setPage(page);
    EXPECT_FALSE(page->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled));
    // A report whose escaping had failed: a script, a remote picture and a link out.
    dir.write(QStringLiteral("NewTech.htm"),
              "<html><head><title>report</title></head><body>"
              "<script>document.title = 'script ran';</script>"
              "<img src=\"http://127.0.0.1:9/x.gif\"><img src=\"../secret.gif\"></body></html>");
    QSignalSpy loaded(view(), &QWebEngineView::loadFinished);
    view()->setUrl(page->freshReportUrl());
    if (!waitForLoad(loaded))
        GTEST_SKIP() << "the web engine did not load a page here";
    EXPECT_EQ(view()->title(), QStringLiteral("report"));
    // A navigation away from the report is refused.
    view()->setUrl(QUrl(QStringLiteral("http://127.0.0.1:9/")));
    QTest::qWait(500);
    EXPECT_EQ(view()->url().adjusted(QUrl::RemoveQuery), QUrl::fromLocalFile(dir.filePath(QStringLiteral("NewTech.htm"))));
}

// The report shows the description grids as they stand on the screen, unsaved edits included,
// and showing it stores nothing.
TEST_F(PreviewPageTest, TheReportShowsTheUnsavedGridEdits)
{
    window->cycle().newRegistration();
    find<QTableWidget>("SUMMARY_TABLE")->item(1, 1)->setText(QStringLiteral("未保存のセル"));
    window->pages()->setCurrentWidget(find("TabSheet5"));
    EXPECT_TRUE(sjis::decode(dir.read(QStringLiteral("NewTech.htm"))).contains(QStringLiteral("未保存のセル")));
    store::Table* description = window->dm().table(QStringLiteral("NT_TBL_DESCRIPTION"));
    EXPECT_FALSE(description->field(QStringLiteral("SUMMARY_TABLE")).asString().contains(QStringLiteral("未保存のセル")));
    EXPECT_FALSE(dir.read(QStringLiteral("FLATT_FILES/NT_TBL_DESCRIPTION.cds")).contains("未保存のセル"));
}

} // namespace

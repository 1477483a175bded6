#include "EntryWindowFixture.h"

#include "util/SjisText.h"

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

using PreviewPageTest = EntryWindowFixture;

// Showing the preview page writes NewTech.htm from the full template with what the entry pages
// show (unsaved text included) and loads it into the browser; another tab of the selector
// regenerates from its own template, and coming back to the page starts again from the full one.
TEST_F(PreviewPageTest, ShowsTheGeneratedReportOfTheOpenRegistration)
{
    window->ActNewExecute();
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
    EXPECT_EQ(view->url(), QUrl::fromLocalFile(report));
    EXPECT_TRUE(find<QPushButton>("Button6")->isEnabled());

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
    QString shown;
    view->page()->toPlainText([&shown](const QString& text) { shown = text; });
    for (QDeadlineTimer deadline(10000); shown.isEmpty() && !deadline.hasExpired();)
        QTest::qWait(50);
    EXPECT_TRUE(shown.contains(QStringLiteral("消波ブロック<据付>工法")));
    EXPECT_FALSE(shown.contains(QStringLiteral("<%=")));
}

} // namespace

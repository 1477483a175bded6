#include "ReportScreenshots.h"

#include "app/MainWindow.h"
#include "app/PreviewPage.h"
#include "report/ReportGenerator.h"
#include "store/Table.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

namespace screenshots {

namespace {

void setFields(store::Table* table, const QList<std::pair<const char*, QVariant>>& values)
{
    if (!table->isEditing())
        table->edit();
    for (const auto& [field, value] : values)
        table->field(QLatin1String(field)).setValue(value);
    table->post();
}

void addRow(store::Table* table, const QList<std::pair<const char*, QVariant>>& values)
{
    table->append();
    setFields(table, values);
}

// A registration of a quay-wall technology with a value in most parts of the report.
void fillSample(app::MainWindow& window)
{
    store::DataModule& dm = window.dm();
    window.control<QLineEdit>(QStringLiteral("SALES_POST_CODE1"))->setText(QStringLiteral("105"));
    window.control<QLineEdit>(QStringLiteral("SALES_POST_CODE2"))->setText(QStringLiteral("0011"));
    setFields(dm.table(QStringLiteral("NT_TBL_MAIN")),
              {{"TECH_SUBTITLE", QStringLiteral("回転圧入による低騒音・低振動の杭打設")}, {"TECH_DVLP_YEAR", "2024"},
               {"DVLP_TYPE_CODE", "8"}, {"TECH_DVLP_COMPANY", QStringLiteral("港湾基礎工業株式会社")}});
    setFields(dm.table(QStringLiteral("NT_TBL_DETAIL")),
              {{"SALES_COMPANY", QStringLiteral("港湾基礎工業株式会社")}, {"SALES_SECTION", QStringLiteral("技術本部 技術開発部")},
               {"SALES_STUFF", QStringLiteral("海野 太郎")}, {"SALES_ADDRESS", QStringLiteral("東京都港区芝公園一丁目0番0号")},
               {"SALES_TEL_NO", "03-0000-1234"}, {"SALES_FAX_NO", "03-0000-1235"}, {"SALES_E_MAIL", "info@kowan-kiso.example.jp"},
               {"KEYWD_ENV_YN", "1"}, {"KEYWD_COST_YN", "1"}, {"TERGET_EFFICIENCY_YN", "1"}, {"TERGET_AREA_ENV_YN", "1"},
               {"COMPARE_QUALITY", "2"}, {"COMPARE_SAFTY", "1"}, {"COMPARE_CONSTRUCT", "1"}, {"COMPARE_ENV", "1"},
               {"COMPARE_ENV_NOTE", QStringLiteral("騒音 70dB 以下、振動 60dB 以下で施工できる。")}, {"CST_TBL_YN", "5"},
               {"CERTIFY_PATENT_STAT", "1"}, {"COST_TYPE", "7"}, {"NEWTECH_COST_ONE", 12000}, {"NEWTECH_COST_THREE", 12500},
               {"NEWTECH_COST_FIVE", 13000}, {"NEWTECH_COST_TEN", 14000}, {"OLDTECH_COST_ONE", 11000},
               {"OLDTECH_COST_THREE", 13500}, {"OLDTECH_COST_FIVE", 16000}, {"OLDTECH_COST_TEN", 21000}});
    setFields(dm.table(QStringLiteral("NT_TBL_DESCRIPTION")),
              {{"SUMMARY_DESC", QStringLiteral("鋼管杭の先端に掘削刃を取り付け、回転させながら圧入する。\r\n打撃を用いないため、岸壁背後の住宅地でも施工できる。")},
               {"OLD_CONST_CONDITION", QStringLiteral("ディーゼルハンマーによる打撃工法")},
               {"CONDITION_DESC", QStringLiteral("岸壁・桟橋の基礎杭（φ600〜1500mm）")},
               {"SUMMARY_TABLE", QStringLiteral("3\t3\t1\t1\r\n項目\t新技術\t従来技術\r\n騒音\t70dB\t110dB\r\n振動\t60dB\t85dB\r\n施工時の環境比較\r\n")},
               {"FEATURE_DESC", QStringLiteral("・低騒音、低振動\r\n・杭の支持力を施工時に管理できる")}});
    addRow(dm.table(QStringLiteral("PL_TBL_PROJECT_MOC")),
           {{"MOC_ID", 1}, {"PJT_TYPE_CODE", 5}, {"PJT_NAME", QStringLiteral("○○港岸壁（−12m）改良工事")},
            {"CLIENT_MOC_OFFICE", QStringLiteral("○○港湾事務所")}, {"PJT_START_DATE", QDate(2025, 4, 1)}, {"PJT_END_DATE", QDate(2026, 3, 20)}});
    addRow(dm.table(QStringLiteral("NT_TBL_COMPANY")),
           {{"REC_ID", 1}, {"SALES_COMPANY_OTHER", QStringLiteral("西日本基礎株式会社")}, {"SALES_POST_CODE_OTHER", QStringLiteral("〒530-0001")},
            {"SALES_ADDRESS_OTHER", QStringLiteral("大阪市北区梅田一丁目0番0号")}, {"SALES_TEL_NO_OTHER", "06-0000-0000"}});
}

void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Does what `start` starts a load with and waits until the view has finished loading (the
// last load, when one replaces another), then lets the page paint.
void loadAndWait(QWebEngineView* view, const std::function<void()>& start)
{
    bool finished = false;
    const QMetaObject::Connection done = QObject::connect(view, &QWebEngineView::loadFinished, [&finished](bool) { finished = true; });
    start();
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired() && (!finished || view->page()->isLoading());)
        settle(50);
    QObject::disconnect(done);
    settle(800);
}

// The preview page of the registration `entryWindow` builds, once its report has loaded; with
// `filled`, the registration holds a sample of every section first.
std::unique_ptr<QWidget> preview(const std::function<std::unique_ptr<QWidget>(const QString&)>& entryWindow, const QString& folder, bool filled)
{
    std::unique_ptr<QWidget> widget = entryWindow(folder);
    auto* window = static_cast<app::MainWindow*>(widget.get());
    if (filled)
        fillSample(*window);
    loadAndWait(window->control<QWebEngineView>(QStringLiteral("WebBrowser1")),
                [window] { window->pages()->setCurrentWidget(window->control(QStringLiteral("TabSheet5"))); });
    return widget;
}

// The report alone, 794 pixels wide (A4 at 96 dpi), scrolled `down` pixels.
std::unique_ptr<QWidget> sheet(const std::function<std::unique_ptr<QWidget>(const QString&)>& entryWindow, const QString& folder, int down)
{
    std::unique_ptr<QWidget> widget = preview(entryWindow, folder, true);
    const QString path = static_cast<app::MainWindow*>(widget.get())->dm().folder().path(QStringLiteral("NewTech.htm"));
    auto view = std::make_unique<QWebEngineView>();
    view->resize(794, 1123);
    view->show();
    loadAndWait(view.get(), [&] { view->setUrl(QUrl::fromLocalFile(path)); });
    view->page()->runJavaScript(QStringLiteral("window.scrollTo(0, %1)").arg(down));
    settle(500);
    return view;
}

} // namespace

QPixmap grabWithBrowsers(QWidget* window)
{
    const QList<QWebEngineView*> views = window->findChildren<QWebEngineView*>();
    QPixmap shot = window->grab();
    QPainter painter(&shot);
    for (QWebEngineView* view : views) {
        if (view->isVisible())
            painter.drawPixmap(view->mapTo(window, QPoint(0, 0)), view->grab());
    }
    return shot;
}

std::vector<Renderer> reportRenderers(std::function<std::unique_ptr<QWidget>(const QString& programFolder)> entryWindow)
{
    return {
        {"preview", QStringLiteral("main window, preview page showing the report of a new registration"),
         [entryWindow](const QString& folder) { return preview(entryWindow, folder, false); }},
        {"preview-report", QStringLiteral("main window, preview page showing the report of a filled registration"),
         [entryWindow](const QString& folder) { return preview(entryWindow, folder, true); }},
        {"report-top", QStringLiteral("the report at A4 width, first page"),
         [entryWindow](const QString& folder) { return sheet(entryWindow, folder, 0); }},
        {"report-comparison", QStringLiteral("the report at A4 width, the comparison section"),
         [entryWindow](const QString& folder) { return sheet(entryWindow, folder, 2300); }},
        {"report-records", QStringLiteral("the report at A4 width, records and patents"),
         [entryWindow](const QString& folder) { return sheet(entryWindow, folder, 3600); }},
    };
}

} // namespace screenshots

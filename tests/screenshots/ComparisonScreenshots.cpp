#include "ComparisonScreenshots.h"

#include "app/MainWindow.h"
#include "comparison/Breakdown.h"
#include "comparison/CompareBreakdownDialog.h"
#include "comparison/CompareSheetDialog.h"
#include "comparison/ComparisonPageWidget.h"
#include "comparison/CostTypeDialog.h"
#include "store/Table.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>

namespace screenshots {

namespace {

using Pick = std::function<QWidget*(app::MainWindow&)>;

struct Row
{
    const char* item;
    const char* method;
    double quantity;
    const char* unit;
    double unitPrice;
};

void addRows(app::MainWindow& window, const QString& view, const QString& type, const QList<Row>& rows)
{
    store::Table* t = window.dm().table(view);
    int ord = 1;
    for (const Row& r : rows) {
        t->append();
        t->field(QStringLiteral("RECORD_TYPE")).setString(type);
        t->field(QStringLiteral("ORD")).setInteger(ord++);
        t->field(QStringLiteral("ITEM")).setString(QString::fromUtf8(r.item));
        t->field(QStringLiteral("METHOD")).setString(QString::fromUtf8(r.method));
        t->field(QStringLiteral("F_VALUE")).setFloat(r.quantity);
        t->field(QStringLiteral("F_UNIT")).setString(QString::fromUtf8(r.unit));
        t->field(QStringLiteral("UNIT_PRICE")).setFloat(r.unitPrice);
        t->field(QStringLiteral("PRICE")).setFloat(r.quantity * r.unitPrice);
        t->post();
    }
    t->first();
}

// A sheet filled as a user would have it: reference quantity, periods, a few rows of each kind.
void fillSheet(app::MainWindow& window)
{
    addRows(window, comparison::kNewView, QStringLiteral("0"),
            {{"鋼管杭", "φ600 t=12", 10, "本", 185000}, {"回転圧入機", "損料", 3, "日", 120000}, {"施工管理", "技術者", 3, "人日", 35000}});
    addRows(window, comparison::kOldView, QStringLiteral("1"),
            {{"鋼管杭", "φ600 t=12", 10, "本", 185000}, {"打撃機", "損料", 5, "日", 98000}, {"騒音対策", "防音壁", 1, "式", 450000}});
    comparison::ComparisonPageWidget& page = window.comparison();
    page.registrationOpened();
    comparison::CompareSheetDialog* sheet = page.sheet();
    sheet->box(QStringLiteral("BASE_VALUE"))->setText(QStringLiteral("10"));
    sheet->box(QStringLiteral("BASE_UNIT"))->setText(QStringLiteral("本"));
    sheet->box(QStringLiteral("N_PROCESS"))->setText(QStringLiteral("3"));
    sheet->box(QStringLiteral("O_PROCESS"))->setText(QStringLiteral("5"));
}

// A comparison window taken out of a main window kept for the rest of the tool's run.
Renderer comparisonRenderer(const QString& name, const QString& description,
                            std::function<std::unique_ptr<QWidget>(const QString&)> entryWindow, Pick pick)
{
    return {name, description, [entryWindow, pick](const QString& folder) -> std::unique_ptr<QWidget> {
                comparison::ComparisonDialog::setModalShow([](comparison::ComparisonDialog*) {});
                auto* window = static_cast<app::MainWindow*>(entryWindow(folder).release()); // lives to the end of the run
                QWidget* shown = pick(*window);
                comparison::ComparisonDialog::setModalShow({});
                return std::unique_ptr<QWidget>(shown);
            }};
}

} // namespace

std::vector<Renderer> comparisonRenderers(std::function<std::unique_ptr<QWidget>(const QString&)> entryWindow)
{
    return {
        comparisonRenderer("comparison-sheet", QStringLiteral("comparison sheet with three rows for each technology"), entryWindow,
                           [](app::MainWindow& window) -> QWidget* {
                               window.comparison().GetCmpTitle();
                               fillSheet(window);
                               return window.comparison().sheet();
                           }),
        comparisonRenderer("comparison-sheet-end", QStringLiteral("comparison sheet scrolled to the conventional technology's rows"),
                           entryWindow, [](app::MainWindow& window) -> QWidget* {
                               window.comparison().GetCmpTitle();
                               fillSheet(window);
                               comparison::CompareSheetDialog* sheet = window.comparison().sheet();
                               sheet->resize(sheet->size());
                               QScrollBar* bar = sheet->findChild<QScrollArea*>()->verticalScrollBar();
                               sheet->show();
                               bar->setValue(bar->maximum());
                               return sheet;
                           }),
        comparisonRenderer("comparison-breakdown-new", QStringLiteral("new technology's breakdown row being edited"), entryWindow,
                           [](app::MainWindow& window) -> QWidget* {
                               window.comparison().GetCmpTitle();
                               fillSheet(window);
                               window.dm().table(comparison::kNewView)->setRecNo(2);
                               window.comparison().sheet()->editNewTechnologyRow();
                               return window.comparison().newDialog();
                           }),
        comparisonRenderer("comparison-breakdown-old", QStringLiteral("conventional technology's breakdown row being added"), entryWindow,
                           [](app::MainWindow& window) -> QWidget* {
                               window.comparison().GetCmpTitle();
                               window.comparison().sheet()->addOldTechnologyRow();
                               comparison::OldTechnologyBreakdownDialog* d = window.comparison().oldDialog();
                               d->findChild<QLineEdit*>(QStringLiteral("ITEM"))->setText(QStringLiteral("騒音対策"));
                               d->findChild<QLineEdit*>(QStringLiteral("METHOD"))->setText(QStringLiteral("防音壁"));
                               d->findChild<QLineEdit*>(QStringLiteral("F_VALUE"))->setText(QStringLiteral("1"));
                               d->findChild<QLineEdit*>(QStringLiteral("F_UNIT"))->setText(QStringLiteral("式"));
                               d->findChild<QLineEdit*>(QStringLiteral("UNIT_PRICE"))->setText(QStringLiteral("450000"));
                               return d;
                           }),
        comparisonRenderer("comparison-cost-type", QStringLiteral("cost-type window with Ｄ（Ⅰ）型 chosen"), entryWindow,
                           [](app::MainWindow& window) -> QWidget* {
                               comparison::CostTypeDialog* types = window.comparison().costTypeWindow();
                               window.comparison().showCostTypes();
                               types->findChild<QRadioButton*>(QStringLiteral("rbD1"))->click();
                               return types;
                           }),
        comparisonRenderer("comparison-cost-type-end", QStringLiteral("cost-type window scrolled to the cycle costs"), entryWindow,
                           [](app::MainWindow& window) -> QWidget* {
                               comparison::CostTypeDialog* types = window.comparison().costTypeWindow();
                               window.comparison().showCostTypes();
                               types->findChild<QRadioButton*>(QStringLiteral("rbD1"))->click();
                               types->findChild<QLineEdit*>(QStringLiteral("NEWTECH_COST_ONE"))->setText(QStringLiteral("12000"));
                               types->findChild<QLineEdit*>(QStringLiteral("OLDTECH_COST_ONE"))->setText(QStringLiteral("9000"));
                               types->show();
                               QScrollBar* bar = types->findChild<QScrollArea*>()->verticalScrollBar();
                               bar->setValue(bar->maximum());
                               return types;
                           }),
    };
}

} // namespace screenshots

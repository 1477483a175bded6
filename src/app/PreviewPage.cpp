#include "app/PreviewPage.h"

#include "app/ConditionPanels.h"
#include "app/DescriptionGrids.h"
#include "app/EntryParts.h"
#include "app/MainWindow.h"
#include "app/MainWindowControls.h"
#include "app/MainWindowPages.h"
#include "app/ReportBrowser.h"
#include "comparison/ComparisonControls.h"
#include "entry/Classification.h"
#include "entry/DescriptionTables.h"
#include "report/ReportGenerator.h"
#include "submission/SubmissionFiles.h"
#include "util/UserInteraction.h"
#include "widgets/BusyIndicator.h"
#include "widgets/FieldLink.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace app {

namespace {

QWebEngineView* browser(MainWindow& window)
{
    return window.control<QWebEngineView>(controls::kReportBrowser);
}

// The print button and the PDF button: usable while a loaded report is shown.
void enableOutputButtons(MainWindow& window, bool enabled)
{
    window.control<QPushButton>(controls::kPrintButton)->setEnabled(enabled);
    window.control<QPushButton>(QStringLiteral("BtnSavePdf"))->setEnabled(enabled);
}

// The name the PDF save dialog proposes: the submission file's name with ".pdf", the
// registration number when the technology has no usable name.
QString proposedPdfName(MainWindow& window)
{
    store::DataModule& dm = window.dm();
    QString name = submission::ProposedFileName(dm.table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("TECH_TITLE")).asString());
    if (name.isEmpty())
        name = dm.table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("REG_NO")).asString().trimmed();
    return name + QStringLiteral(".pdf");
}

// The text a control of the main window (or of one of the program's windows, such as the
// comparison sheet) shows; none when no such control exists.
std::optional<QString> shownText(MainWindow& window, const QString& name)
{
    QList<QWidget*> windows{&window};
    windows += QApplication::topLevelWidgets();
    for (QWidget* w : std::as_const(windows)) {
        if (auto* edit = w->findChild<QLineEdit*>(name))
            return edit->text();
        if (auto* label = w->findChild<QLabel*>(name))
            return label->text();
        if (auto* list = w->findChild<QComboBox*>(name))
            return list->currentText();
    }
    return std::nullopt;
}

void overlay(MainWindow& window, const QString& name, QString* value)
{
    if (const std::optional<QString> text = shownText(window, name))
        *value = *text;
}

} // namespace

report::ReportScreen shownReportScreen(MainWindow& window)
{
    report::ReportScreen screen = report::screenFromTables(window.dm());
    for (int slot = 1; slot <= classification::kSlots; ++slot) {
        for (int level = 1; level <= classification::kLevels; ++level)
            overlay(window, classification::listBoxName(level, slot), &screen.levelTitles[size_t(slot - 1)][size_t(level - 1)]);
    }
    overlay(window, QStringLiteral("GRP_TITLE1"), &screen.groupTitle);
    overlay(window, QStringLiteral("EVALUATE_ORGAN_CODE"), &screen.evaluateOrgan);
    overlay(window, QStringLiteral("SALES_POST_CODE1"), &screen.salesPostCode1);
    overlay(window, QStringLiteral("SALES_POST_CODE2"), &screen.salesPostCode2);
    overlay(window, QStringLiteral("SALES_POST_CODE_BUSINESS1"), &screen.salesPostCodeBusiness1);
    overlay(window, QStringLiteral("SALES_POST_CODE_BUSINESS2"), &screen.salesPostCodeBusiness2);
    overlay(window, QStringLiteral("RATE_COST"), &screen.rateCost);
    overlay(window, QStringLiteral("RATE_PROCESS"), &screen.rateProcess);
    overlay(window, comparison::controls::kCostRateLabel, &screen.costRateLabel);
    overlay(window, comparison::controls::kPeriodRateLabel, &screen.processRateLabel);
    overlay(window, QStringLiteral("TOTAL_NEW_TECH"), &screen.totalNewTech);
    overlay(window, QStringLiteral("TOTAL_OLD_TECH"), &screen.totalOldTech);
    // The grids as they stand, cut to their used extent as the save would store them.
    for (const parts::DescriptionTableNames& names : parts::kDescriptionTables)
        screen.descriptionGrids.insert(names.grid, report::DescriptionGrid::fromStoredText(
                                                       entry::SaveGridText(window.descriptionGrids().contents(names.grid))));
    // The condition items' check boxes and radio buttons, which reach their rows only at the save;
    // panels built for another registration show nothing of this one.
    if (!window.conditionPanels().builtForAnotherRegistration()) {
        for (int item = 1; item <= conditions::kItemCount; ++item)
            screen.conditionControls.insert(item, window.conditionPanels().controlsOf(item));
    }
    // The cost-type label is filled by the cost-type window; until then the stored type names it.
    if (const std::optional<QString> costType = shownText(window, QStringLiteral("lblCOST_TYPE")); costType && !costType->isEmpty())
        screen.costTypeName = *costType;
    return screen;
}

void PrintPreview(MainWindow& window)
{
    const int tab = window.control<QTabBar>(controls::kTemplateSelector)->currentIndex();
    // Texts typed but not yet written to their fields are part of what the screens show.
    widgets::FieldLink::flushAll();
    QString path;
    QString error;
    bool written = false;
    {
        const widgets::BusyIndicator busy(QStringLiteral("印刷プレビューを作成しています…"), &window);
        written = report::GenerateReport(window.dm(), shownReportScreen(window), tab, &path, &error);
    }
    if (!written) {
        UserInteraction::current().error(kProgramTitle, error);
        return;
    }
    // A fresh address each time: the section opens at its top, never from a cached copy.
    QWebEngineView* view = browser(window);
    enableOutputButtons(window, false);
    view->setUrl(static_cast<ReportWebPage*>(view->page())->freshReportUrl());
}

void templateChosen(MainWindow& window)
{
    if (window.pages()->currentWidget()->objectName() == controls::kPreviewPage)
        PrintPreview(window);
}

void printShownReport(MainWindow& window)
{
    auto* printer = new QPrinter(QPrinter::HighResolution);
    prepareReportPrinter(printer);
    QPrintDialog dialog(printer, &window);
    if (dialog.exec() != QDialog::Accepted) {
        delete printer;
        return;
    }
    // The page prints asynchronously; the printer and the busy signs live until the page reports
    // the end.
    auto busy = std::make_shared<widgets::BusyIndicator>(QStringLiteral("印刷しています…"), &window);
    printReport(browser(window)->page(), printer, [&window, printer, busy](bool printed) mutable {
        delete printer;
        busy.reset();
        if (printed)
            window.showNote(QStringLiteral("印刷しました。"));
        else
            UserInteraction::current().error(kProgramTitle, QStringLiteral("印刷できませんでした。"));
    });
}

void savePdf(MainWindow& window)
{
    UserInteraction& ui = UserInteraction::current();
    UserInteraction::FileRequest request;
    request.folder = ui.desktopFolder();
    request.fileName = proposedPdfName(window);
    request.filters = {QStringLiteral("PDFファイル|*.pdf")};
    QString path = ui.fileDialog(UserInteraction::FileKind::Save, request).path;
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    // The page writes asynchronously; the busy signs live until it reports the end.
    auto busy = std::make_shared<widgets::BusyIndicator>(QStringLiteral("PDFファイルを作成しています…"), &window);
    writeReportPdf(browser(window)->page(), path, [&window, path, busy](const QString& error) mutable {
        busy.reset();
        if (error.isEmpty())
            window.showNote(QStringLiteral("%1 を保存しました。").arg(QDir::toNativeSeparators(path)));
        else
            UserInteraction::current().error(kProgramTitle, error);
    });
}

void connectPreviewPage(MainWindow& window)
{
    QObject::connect(window.control<QTabBar>(controls::kTemplateSelector), &QTabBar::currentChanged, &window,
                     [&window](int) { templateChosen(window); });
    QObject::connect(window.control<QPushButton>(controls::kPrintButton), &QPushButton::clicked, &window,
                     [&window] { printShownReport(window); });
    QObject::connect(window.control<QPushButton>(QStringLiteral("BtnSavePdf")), &QPushButton::clicked, &window,
                     [&window] { savePdf(window); });
    // The report is shown in a browser that runs no scripts and loads nothing but the report
    // and its photos.
    QWebEngineView* view = browser(window);
    const store::ProgramFolder& folder = window.dm().folder();
    view->setPage(new ReportWebPage(folder.path(QStringLiteral("NewTech.htm")), folder.path(QStringLiteral("Images")), view));
    QObject::connect(view, &QWebEngineView::loadFinished, &window, [&window](bool ok) { enableOutputButtons(window, ok); });
}

// The preview page: the template selector, the print button, the note and the browser that shows
// the generated document.
QWidget* buildPreviewPage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(controls::kPreviewPage);
    auto* layout = new QVBoxLayout(page);
    auto* head = new QHBoxLayout;
    head->addWidget(form::label(QStringLiteral("印刷プレビュー"), page, QStringLiteral("Label22")));
    head->addStretch(1);
    QPushButton* print = form::button(controls::kPrintButton, QStringLiteral("印刷"), page);
    print->setEnabled(false);
    head->addWidget(print);
    QPushButton* pdf = form::button(QStringLiteral("BtnSavePdf"), QStringLiteral("PDF保存"), page);
    pdf->setEnabled(false);
    head->addWidget(pdf);
    layout->addLayout(head);
    auto* selector = new QTabBar(page);
    selector->setObjectName(controls::kTemplateSelector);
    for (const char* caption : {"　　　一括印刷　　　", "　　名称・分類等　　", "　　概　　　　要　　", "　従来技術との比較　", "　　施工実績等　　"})
        selector->addTab(QString::fromUtf8(caption));
    layout->addWidget(selector);
    QLabel* note = form::label(QStringLiteral("※  実際のシステムでは、画面が若干異なります。"), page, QStringLiteral("Label280"));
    note->setStyleSheet(QStringLiteral("color: red;"));
    layout->addWidget(note);
    auto* view = new QWebEngineView(page);
    view->setObjectName(controls::kReportBrowser);
    layout->addWidget(view, 1);
    return page;
}

} // namespace app

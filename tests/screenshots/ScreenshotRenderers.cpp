#include "ScreenshotRenderers.h"
#include "ComparisonScreenshots.h"
#include "DialogScreenshots.h"
#include "ReportScreenshots.h"

#include "app/DraftKeeper.h"
#include "app/InputCheckDialog.h"
#include "app/MainWindow.h"
#include "app/PhotoSlots.h"
#include "app/ScrollingPage.h"
#include "app/SubmissionChangesDialog.h"

#include "store/DataSource.h"
#include "store/Table.h"
#include "submission/SubmissionChanges.h"
#include "submission/SubmissionExport.h"
#include "util/HelpWindow.h"
#include "widgets/DBCheckBox.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/DBMemo.h"
#include "widgets/DBPanelList.h"
#include "widgets/DBRadioGroup.h"
#include "widgets/QtUserInteraction.h"
#include "widgets/RightAlignedEdit.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QDirIterator>
#include <QLabel>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>

namespace screenshots {

namespace {

// One of each bound control over a small in-memory registration table.
class ControlsDemo : public QWidget
{
public:
    ControlsDemo()
        : m_table("NT_TBL_DEMO")
        , m_organs("NT_STBL_INFO_EV_ORGAN")
        , m_source(&m_table)
        , m_organSource(&m_organs)
    {
        m_table.setDeclaredFields({store::fixedText("REG_NO", 10), store::text("TECH_TITLE", 255), store::floatField("RESULTS_MOC"),
                                   store::fixedText("KEYWD_SAFETY_YN", 1), store::fixedText("COMPARE_SAFTY", 1),
                                   store::fixedText("EVALUATE_ORGAN_CODE", 2), store::memo("SUMMARY_DESC")});
        m_table.setInitialRows({
            {"XXK-000001", "鋼管杭の回転圧入工法", 12, "1", "1", "01", "①何について何をする技術なのか？\r\n\r\n杭を回転させながら圧入する。"},
            {"XXK-000002", "消波ブロックの据付管理システム", 3, "0", "2", "02", "据付位置を計測して記録する。"},
            {"XXK-000003", "岸壁の耐震補強工法", 0, "0", "3", "09", ""},
        });
        m_table.createDataSet();
        m_table.first();
        m_organs.setDeclaredFields({store::fixedText("CD", 2), store::text("EVALUATE_ORGAN", 60)});
        m_organs.setInitialRows({{"01", "一般財団法人 港湾技術センター"}, {"02", "公益社団法人 港湾協会"}, {"09", "その他"}});
        m_organs.createDataSet();

        setWindowTitle(QStringLiteral("入力部品の一覧"));
        auto* grid = new QGridLayout(this);

        auto* boxes = new QGroupBox(QStringLiteral("入力欄"), this);
        auto* form = new QFormLayout(boxes);
        form->addRow(QStringLiteral("技術名称"), new widgets::DBEdit(&m_source, "TECH_TITLE"));
        form->addRow(QStringLiteral("国土交通省(件数)"), new widgets::RightDBEdit(&m_source, "RESULTS_MOC"));
        form->addRow(QStringLiteral("評価機関"),
                     new widgets::DBLookupComboBox(&m_source, "EVALUATE_ORGAN_CODE", &m_organSource, "CD", "EVALUATE_ORGAN"));
        form->addRow(QString(), new widgets::DBCheckBox(&m_source, "KEYWD_SAFETY_YN", QStringLiteral("安全・安心")));
        auto* memo = new widgets::DBMemo(&m_source, "SUMMARY_DESC");
        memo->setMinimumHeight(90);
        form->addRow(QStringLiteral("概要"), memo);
        grid->addWidget(boxes, 0, 0);

        auto* radio = new widgets::DBRadioGroup(&m_source, "COMPARE_SAFTY", QStringLiteral("安全性"),
                                                {{QStringLiteral("向上"), "1"}, {QStringLiteral("同程度"), "2"}, {QStringLiteral("低下"), "3"}});
        radio->setColumns(3);
        grid->addWidget(radio, 1, 0, Qt::AlignTop);

        auto* list = new widgets::DBGrid(&m_source, {{"REG_NO", QStringLiteral("登録番号"), 100},
                                                     {"TECH_TITLE", QStringLiteral("技術名称"), 260},
                                                     {"RESULTS_MOC", QStringLiteral("件数"), 60}});
        grid->addWidget(list, 0, 1);

        auto* panels = new widgets::DBPanelList(&m_source, [](store::Table& row) {
            auto* panel = new QWidget;
            auto* layout = new QFormLayout(panel);
            layout->addRow(QStringLiteral("登録番号"), new QLabel(row.field("REG_NO").asString()));
            layout->addRow(QStringLiteral("技術名称"), new QLabel(row.field("TECH_TITLE").asString()));
            return panel;
        });
        grid->addWidget(panels, 1, 1);
        grid->setColumnStretch(1, 1);
        resize(940, 560);
    }

private:
    store::Table m_table;
    store::Table m_organs;
    store::DataSource m_source;
    store::DataSource m_organSource;
};

// The main window over a copy of the program folder (the pictures change nothing of the real one),
// on the list page or on an entry page of a new registration scrolled to `scroll` (0 … 1 of the way).
// A level-3 code given for slot 1 brings the construction conditions it defines.
std::unique_ptr<QWidget> mainWindow(const QString& programFolder, const QString& page, double scroll, const QString& level3 = {})
{
    // Every window gets a copy of its own: a picture never depends on the windows drawn before it,
    // and the windows kept alive for their dialogs keep their folders locked.
    static std::vector<std::unique_ptr<QTemporaryDir>> copies;
    const QTemporaryDir& copy = *copies.emplace_back(std::make_unique<QTemporaryDir>());
    const QDir from(QFileInfo(programFolder).absoluteFilePath());
    QDirIterator it(from.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = from.relativeFilePath(source);
        if (relative.startsWith(QLatin1String("vordell")))
            continue;
        QDir().mkpath(QFileInfo(copy.filePath(relative)).path());
        QFile::copy(source, copy.filePath(relative));
    }
    QDir(copy.path()).mkpath(QStringLiteral("Images"));
    QDir(copy.path()).mkpath(QStringLiteral("Temp"));
    auto window = std::make_unique<app::MainWindow>(copy.path());
    if (!window->start())
        return window;
    if (page.isEmpty())
        return window;
    window->cycle().newRegistration();
    window->control<QLineEdit>(QStringLiteral("TECH_TITLE"))->setText(QStringLiteral("鋼管杭の回転圧入工法"));
    window->control<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->setText(QStringLiteral("打撃による杭打設"));
    if (!level3.isEmpty()) {
        window->control<QLineEdit>(QStringLiteral("LEVEL1_COMBO"))->setText(level3.left(3));
        window->control<QLineEdit>(QStringLiteral("LEVEL2_COMBO"))->setText(level3.left(5));
        window->control<QLineEdit>(QStringLiteral("LEVEL3_COMBO"))->setText(level3);
    }
    window->pages()->setCurrentWidget(window->control(page));
    auto* scrolling = window->control<app::ScrollingPage>(page);
    window->show();
    if (scrolling)
        scrolling->scrollBar()->setValue(int(scrolling->scrollBar()->maximum() * scroll));
    return window;
}

// "前回提出との比較" over a registration saved, handed in and then changed in a few items.
std::unique_ptr<QWidget> submissionChanges(const QString& folder, app::SubmissionChangesDialog::Purpose purpose)
{
    std::unique_ptr<QWidget> owner = mainWindow(folder, QStringLiteral("TbsPattern1"), 0);
    auto* window = static_cast<app::MainWindow*>(owner.get());
    window->control<QLineEdit>(QStringLiteral("TECH_DVLP_COMPANY"))->setText(QStringLiteral("港湾建設株式会社"));
    window->cycle().save();
    store::Table* main = window->dm().table(QStringLiteral("NT_TBL_MAIN"));
    const QString regNo = main->field(QStringLiteral("REG_NO")).asString().trimmed();
    static QTemporaryDir out;
    const QString sent = out.filePath(QStringLiteral("鋼管杭の回転圧入工法.lzh"));
    QString error;
    submission::SubmissionExport exporter(window->dm(), UserInteraction::current());
    if (!exporter.WriteSubmissionFile(regNo, sent, &error)
        || !submission::keepSubmission(window->dm(), regNo, sent, submission::KeptSubmission::Kind::Submitted, &error))
        qWarning("%s", qPrintable(error));
    window->control<QLineEdit>(QStringLiteral("TECH_TITLE"))->setText(QStringLiteral("鋼管杭の回転圧入工法（改良型）"));
    window->control<QLineEdit>(QStringLiteral("TECH_SUBTITLE"))->setText(QStringLiteral("低騒音・低振動"));
    window->control<QLineEdit>(QStringLiteral("TECH_DVLP_COMPANY"))->setText(QStringLiteral("港湾建設株式会社 技術研究所"));
    window->control<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->setText(QStringLiteral("打撃工法"));
    window->cycle().save();
    auto dialog = std::make_unique<app::SubmissionChangesDialog>(
        purpose, [window, regNo](const QString&) { return submission::changesSinceLastSubmission(window->dm(), regNo); },
        [](const QString&) {}, nullptr);
    dialog->compare();
    owner.release()->setParent(dialog.get(), window->windowFlags());
    return dialog;
}

// Registrations saved through the entry pages, as a clerk's list holds them after a while.
void saveRegistrations(app::MainWindow& window)
{
    const QList<QStringList> registrations = {
        {"ケーソン式防波堤の急速据付工法", "据付精度を高めるガイド装置", "港湾建設株式会社"},
        {"鋼管杭の回転圧入工法", "低騒音・低振動", "ＡＢＣ基礎工業"},
        {"ｹｰｿﾝ式防波堤の補修工法", "水中不分離コンクリート", "海洋補修技研"},
        {"消波ブロックの据付管理システム", "", "港湾建設株式会社"},
        {"桟橋上部工のプレキャスト化", "工期短縮", "Marine Tech 株式会社"},
    };
    QStringList numbers;
    for (const QStringList& r : registrations) {
        window.cycle().newRegistration();
        window.control<QLineEdit>(QStringLiteral("TECH_TITLE"))->setText(r.at(0));
        window.control<QLineEdit>(QStringLiteral("TECH_SUBTITLE"))->setText(r.at(1));
        window.control<QLineEdit>(QStringLiteral("TECH_DVLP_COMPANY"))->setText(r.at(2));
        window.control<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->setText(QStringLiteral("従来の工法"));
        window.cycle().save();
        numbers.append(window.dm().table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("REG_NO")).asString().trimmed());
        window.cycle().backToList();
    }
    // The first two handed in; the second changed and saved since.
    const QString sent = QDir(window.dm().folder().root()).filePath(QStringLiteral("sent.lzh"));
    for (const QString& number : numbers.mid(0, 2)) {
        QString error;
        submission::SubmissionExport exporter(window.dm(), UserInteraction::current());
        if (!exporter.WriteSubmissionFile(number, sent, &error)
            || !submission::keepSubmission(window.dm(), number, sent, submission::KeptSubmission::Kind::Submitted, &error))
            qWarning("screenshots: no submission kept: %s", qPrintable(error));
    }
    store::Table* main = window.dm().table(QStringLiteral("NT_TBL_MAIN"));
    if (main->locate(QStringLiteral("REG_NO"), numbers.at(1))) {
        window.cycle().openRegistration();
        window.control<QLineEdit>(QStringLiteral("TECH_SUBTITLE"))->setText(QStringLiteral("低騒音・低振動（改良型）"));
        window.cycle().save();
        window.cycle().backToList();
    }
}

// The main window with a filled list: as it is, with `find` typed into the find box, or with the
// copy of the first registration opened (`copy`).
std::unique_ptr<QWidget> listWindow(const QString& programFolder, const QString& find, bool copy)
{
    std::unique_ptr<QWidget> shown = mainWindow(programFolder, {}, 0);
    auto* window = static_cast<app::MainWindow*>(shown.get());
    saveRegistrations(*window);
    window->show();
    if (!find.isEmpty())
        window->control<QLineEdit>(QStringLiteral("edtFind"))->setText(find);
    if (copy) {
        window->control<QTableView>(QStringLiteral("DBGrid1"))->selectRow(0);
        window->control<QPushButton>(QStringLiteral("BtnDuplicate"))->click();
    }
    return shown;
}

// The summary page with texts typed into its first memos (their counters of the bytes left) and a
// photo in each of its two slots (their previews), scrolled to the first slot.
std::unique_ptr<QWidget> summaryWithPhotos(const QString& folder)
{
    auto shown = mainWindow(folder, QStringLiteral("PageControl2"), 0);
    auto* window = static_cast<app::MainWindow*>(shown.get());
    const QString regNo = window->dm().table(QStringLiteral("NT_TBL_MAIN"))->field(QStringLiteral("REG_NO")).asString().trimmed();
    window->control<QPlainTextEdit>(QStringLiteral("SUMMARY"))->setPlainText(QStringLiteral("回転圧入により低騒音・低振動で鋼管杭を打設する。"));
    window->control<QPlainTextEdit>(QStringLiteral("SUMMARY_DESC"))->setPlainText(QString(994, QChar(0x3042)) + QStringLiteral("ｱｲｳ"));
    const QList<std::pair<QString, QSize>> photos = {{QStringLiteral("A"), QSize(600, 400)}, {QStringLiteral("B"), QSize(300, 450)}};
    for (const auto& [letter, size] : photos) {
        QImage picture(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                picture.setPixel(x, y, qRgb(40 + x * 200 / size.width(), 90 + y * 120 / size.height(), letter == QLatin1String("A") ? 200 : 60));
        const QString stored = regNo + letter + QStringLiteral(".jpg");
        picture.save(window->dm().folder().path(QStringLiteral("Images\\") + stored), "JPG");
        store::Table* view = window->dm().table(QStringLiteral("NT_TBL_INFO_IMAGES%1").arg(letter == QLatin1String("A") ? 1 : 2));
        view->append();
        view->field(QStringLiteral("REG_NO")).setString(regNo);
        view->field(QStringLiteral("IMAGES_TYPE")).setString(letter);
        view->field(QStringLiteral("IMAGES_FILE")).setString(stored);
        view->field(QStringLiteral("IMAGES_ORIGINAL")).setString(letter == QLatin1String("A") ? QStringLiteral("施工状況.jpg") : QStringLiteral("杭先端.jpg"));
        window->photoSlots().SetPhotoSlotControls(letter);
    }
    if (auto* page = window->findChild<app::ScrollingPage*>(QStringLiteral("PageControl2"))) {
        QWidget* slot = page->findChild<QWidget*>(QStringLiteral("ImagePath_A"));
        page->scrollBar()->setValue(slot->mapTo(page->panel(), QPoint(0, 0)).y() - 300);
    }
    return shown;
}

Renderer pageRenderer(const QString& name, const QString& page, double scroll)
{
    return {name, QStringLiteral("main window, page %1 scrolled %2").arg(page).arg(scroll),
            [page, scroll](const QString& folder) { return mainWindow(folder, page, scroll); }};
}

} // namespace

const std::vector<Renderer>& renderers()
{
    static const std::vector<Renderer> list = {
        {"list", QStringLiteral("main window, the technology list"), [](const QString& folder) { return mainWindow(folder, {}, 0); }},
        {"list-filled", QStringLiteral("main window, a list of five registrations with their columns"),
         [](const QString& folder) { return listWindow(folder, {}, false); }},
        {"list-find", QStringLiteral("main window, the list narrowed by the find box (half-width katakana typed)"),
         [](const QString& folder) { return listWindow(folder, QStringLiteral("ｹｰｿﾝ式"), false); }},
        {"list-copy", QStringLiteral("main window, 「複製して新規作成」: the copy opened as a new registration"),
         [](const QString& folder) { return listWindow(folder, {}, true); }},
        pageRenderer("names", "TbsPattern1", 0), pageRenderer("names-middle", "TbsPattern1", 0.5), pageRenderer("names-end", "TbsPattern1", 1),
        pageRenderer("summary", "PageControl2", 0), pageRenderer("summary-middle", "PageControl2", 0.5),
        pageRenderer("summary-end", "PageControl2", 1),
        {"summary-conditions", QStringLiteral("main window, summary page at the construction conditions of a caisson code"),
         [](const QString& folder) {
             auto window = mainWindow(folder, QStringLiteral("PageControl2"), 0, QStringLiteral("0100302"));
             if (auto* page = window->findChild<app::ScrollingPage*>(QStringLiteral("PageControl2"))) {
                 QWidget* area = page->findChild<QWidget*>(QStringLiteral("CnstArea"));
                 page->scrollBar()->setValue(area->mapTo(page->panel(), QPoint(0, 0)).y() - 40);
             }
             return window;
         }},
        {"summary-photos", QStringLiteral("main window, summary page: memos with the bytes left, photos with their previews"),
         summaryWithPhotos},
        pageRenderer("comparison", "TabSheet3", 0), pageRenderer("comparison-middle", "TabSheet3", 0.5),
        pageRenderer("comparison-end", "TabSheet3", 1),
        pageRenderer("records", "TabSheet4", 0), pageRenderer("records-third", "TabSheet4", 0.33),
        pageRenderer("records-two-thirds", "TabSheet4", 0.66), pageRenderer("records-end", "TabSheet4", 1),
        {"check-list", QStringLiteral("入力チェック: every problem of a registration that fails many rules"),
         [](const QString& folder) -> std::unique_ptr<QWidget> {
             std::unique_ptr<QWidget> owner = mainWindow(folder, QStringLiteral("TbsPattern1"), 0);
             auto* window = static_cast<app::MainWindow*>(owner.get());
             window->control<QLineEdit>(QStringLiteral("TECH_DVLP_YEAR"))->setText(QStringLiteral("98"));
             window->control<QLineEdit>(QStringLiteral("DB_REG_DATE"))->setText(QStringLiteral("2024/02/30"));
             window->control<QLineEdit>(QStringLiteral("SALES_POST_CODE2"))->setText(QStringLiteral("12"));
             window->control<QLineEdit>(QStringLiteral("EVALUATE_PRIVATE_NO"))->setText(QStringLiteral("第1号"));
             window->showInputCheck();
             auto list = std::make_unique<app::InputCheckDialog>([window] { return window->inputProblems(); }, [](const QString&) -> QWidget* { return nullptr; }, nullptr);
             list->recheck();
             // The window stays a window of its own, owned by the list that reads it.
             owner.release()->setParent(list.get(), window->windowFlags());
             return list;
         }},
        {"draft-offer", QStringLiteral("at the start: the unsaved input of a run that did not end, offered back"),
         [](const QString&) -> std::unique_ptr<QWidget> {
             store::Draft draft;
             draft.number = QStringLiteral("XXK-000012");
             draft.changed = QDateTime(QDate(2026, 12, 11), QTime(9, 41, 27));
             store::TableRows main{QStringLiteral("NT_TBL_MAIN"), {store::FieldDef{QStringLiteral("TECH_TITLE")}}, {{QStringLiteral("消波ブロックの新しい据付工法")}}};
             draft.tables = {main};
             return widgets::QtUserInteraction::choiceBox(UserInteraction::Icon::Question, kProgramTitle, app::DraftKeeper::offerText(draft),
                                                          app::DraftKeeper::kRestore, app::DraftKeeper::kDiscard, nullptr);
         }},
        {"submission-changes", QStringLiteral("前回提出との比較: a registration changed since it was handed in"),
         [](const QString& folder) { return submissionChanges(folder, app::SubmissionChangesDialog::Purpose::Browse); }},
        {"submission-changes-export", QStringLiteral("提出用ファイル作成: what changed, before the file is chosen"),
         [](const QString& folder) { return submissionChanges(folder, app::SubmissionChangesDialog::Purpose::BeforeExport); }},
        {"help", QStringLiteral("help window over the program folder's HELP.TXT"),
         [](const QString& folder) { return std::make_unique<HelpWindow>(folder); }},
        {"controls", QStringLiteral("one of each data-aware control over a demo table"),
         [](const QString&) { return std::make_unique<ControlsDemo>(); }},
    };
    static const std::vector<Renderer> withComparison = [] {
        std::vector<Renderer> all = list;
        for (Renderer& r : dialogRenderers([](const QString& folder) { return mainWindow(folder, QStringLiteral("TabSheet4"), 0); }))
            all.push_back(std::move(r));
        for (Renderer& r : reportRenderers([](const QString& folder) { return mainWindow(folder, QStringLiteral("TabSheet4"), 0); }))
            all.push_back(std::move(r));
        for (Renderer& r : comparisonRenderers([](const QString& folder) { return mainWindow(folder, QStringLiteral("TabSheet3"), 0); }))
            all.push_back(std::move(r));
        return all;
    }();
    return withComparison;
}

} // namespace screenshots

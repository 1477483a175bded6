#include "app/MainWindow.h"
#include "app/MainWindowControls.h"
#include "app/RegistrationList.h"
#include "store/RegistrationNumbers.h"
#include "store/SaveTimes.h"
#include "submission/SubmissionComparison.h"
#include "submission/SubmissionHistory.h"
#include "RegistrationRows.h"
#include "support/ProgramFolderFixture.h"
#include "support/ScriptedUserInteraction.h"
#include "support/ShippedProgramFolder.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QStatusBar>
#include <QCollator>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <numeric>
#include <random>

using app::MainWindow;
using app::RegistrationListView;
using testsupport::ScriptedUserInteraction;
using UI = UserInteraction;

namespace {

void forgetListSettings()
{
    QSettings(QSettings::UserScope, QStringLiteral("VORDELL"), QStringLiteral("VORDELL")).remove(QStringLiteral("TechnologyList"));
}

// The column `column` of every line the list shows, top to bottom.
QStringList shownColumn(const QAbstractItemModel& lines, int column)
{
    QStringList texts;
    for (int r = 0; r < lines.rowCount(); ++r)
        texts << lines.index(r, column).data().toString();
    return texts;
}

// A thousand registrations in a data module, stored in a shuffled order, for the list's find and
// sort: every tenth named 「ケーソン式防波堤…」, the one after it in half-width katakana, developers
// in full-width and half-width letters, save times for every third.
class ThousandRegistrations : public ::testing::Test
{
protected:
    void SetUp() override
    {
        forgetListSettings();
        testsupport::writeEmptyProgramFolder(dir.path());
        std::vector<int> order(1000);
        std::iota(order.begin(), order.end(), 1);
        std::shuffle(order.begin(), order.end(), std::mt19937(29));
        store::SaveTimes times(store::ProgramFolder(dir.path()));
        dataModule = std::make_unique<store::DataModule>(dir.path(), &ui);
        ASSERT_TRUE(dataModule->start());
        store::Table* main = dataModule->table(QStringLiteral("NT_TBL_MAIN"));
        for (int i : order) {
            main->append();
            main->field(QStringLiteral("REG_NO")).setString(i % 100 == 7 ? QStringLiteral("TH-%1").arg(i) : store::localNumber(i));
            main->field(QStringLiteral("TECH_TITLE"))
                .setString(i % 10 == 0 ? QStringLiteral("ケーソン式防波堤の施工 %1").arg(i)
                           : i % 10 == 1 ? QStringLiteral("ｹｰｿﾝ式防波堤の補修")
                                         : QStringLiteral("港湾工事 %1").arg(i % 50));
            main->field(QStringLiteral("TECH_SUBTITLE")).setString(QStringLiteral("副題 %1").arg(i));
            main->field(QStringLiteral("TECH_DVLP_COMPANY")).setString(i % 2 ? QStringLiteral("ＡＢＣ建設") : QStringLiteral("abc土木"));
            main->post();
            if (i % 3 == 0)
                times.record(main->field(QStringLiteral("REG_NO")).asString(), QDateTime(QDate(2025, 1, 1), QTime(0, 0)).addSecs(-i * 60));
        }
    }

    testsupport::TempDir dir;
    ScriptedUserInteraction ui;
    std::unique_ptr<store::DataModule> dataModule;
};

} // namespace

TEST_F(ThousandRegistrations, FindNarrowsAndTheHeaderSortsNumbersDatesAndNames)
{
    RegistrationListView list(*dataModule);
    app::RegistrationFilter& shown = *list.filter();
    ASSERT_EQ(shown.rowCount(), 1000);

    // Find: widths, half-width katakana and letter case aside, in all four columns.
    const std::vector<std::pair<QString, int>> finds = {
        {QStringLiteral("ｹｰｿﾝ式防波堤"), 200}, {QStringLiteral("ケーソン式防波堤の補修"), 100}, {QStringLiteral("ABC"), 1000},
        {QStringLiteral("ａｂｃ土木"), 500},     {QStringLiteral("xxk-000010"), 1},            {QStringLiteral("th-"), 10},
        {QStringLiteral("副題 99"), 11},         {QStringLiteral("該当なし"), 0},             {QString(), 1000},
    };
    for (const auto& [typed, count] : finds) {
        shown.setFindText(typed);
        EXPECT_EQ(shown.rowCount(), count) << typed.toStdString();
    }

    // Numbers as numbers: the prefixes apart, then by value; reversed by a second click.
    list.sortByColumn(0, Qt::AscendingOrder);
    QStringList numbers = shownColumn(shown, 0);
    EXPECT_EQ(numbers.first(), QStringLiteral("TH-7"));
    EXPECT_EQ(numbers.at(1), QStringLiteral("TH-107"));
    EXPECT_EQ(numbers.at(10), store::localNumber(1));
    EXPECT_EQ(numbers.last(), store::localNumber(1000));
    list.sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(shownColumn(shown, 0).first(), store::localNumber(1000));

    // Dates as dates: the registrations without a save time first, then the oldest.
    list.sortByColumn(4, Qt::AscendingOrder);
    const QStringList saved = shownColumn(shown, 4);
    EXPECT_TRUE(saved.at(666).isEmpty());
    EXPECT_EQ(saved.at(667), QStringLiteral("2024/12/31 07:21")); // 999 minutes before the new year
    EXPECT_EQ(saved.last(), QStringLiteral("2024/12/31 23:57"));
    EXPECT_TRUE(std::is_sorted(saved.begin() + 667, saved.end()));

    // Equal names keep the number order; the find keeps the order chosen.
    list.sortByColumn(1, Qt::AscendingOrder);
    shown.setFindText(QStringLiteral("の補修"));
    numbers = shownColumn(shown, 0);
    ASSERT_EQ(numbers.size(), 100);
    QStringList inNumberOrder = numbers;
    std::sort(inNumberOrder.begin(), inNumberOrder.end(),
              [](const QString& a, const QString& b) { return app::compareRegistrationNumbers(a, b) < 0; });
    EXPECT_EQ(numbers, inNumberOrder);
    shown.setFindText(QString());
    const QStringList titles = shownColumn(shown, 1);
    EXPECT_EQ(store::findForm(titles.first().left(4)), QStringLiteral("ケーソン")) << "katakana (of either width) before kanji";
    for (int r = 1; r < titles.size(); ++r) {
        if (titles.at(r) == titles.at(r - 1))
            EXPECT_LT(app::compareRegistrationNumbers(shown.index(r - 1, 0).data().toString(), shown.index(r, 0).data().toString()), 0);
    }
}

// The last submission comes from the index of kept files: its date, 未提出 without one, and a mark
// when the registration changed since; the column sorts by date.
TEST_F(ThousandRegistrations, TheLastSubmissionShowsItsDateOrNeverAndAMarkForChangesSince)
{
    const QString file = dir.path() + QStringLiteral("/sent.lzh");
    QFile sent(file);
    ASSERT_TRUE(sent.open(QIODevice::WriteOnly));
    sent.write("the list reads only the index");
    sent.close();
    submission::SubmissionHistory history(dataModule->folder());
    QString error;
    ASSERT_TRUE(history.load(&error)) << error.toStdString();
    int minute = 0;
    history.setClock([&minute] { return QDateTime(QDate(2026, 3, 1), QTime(9, minute++)); });
    const QHash<QString, QByteArray> fingerprints = submission::registrationFingerprints(*dataModule);
    for (const QString& number : {store::localNumber(5), store::localNumber(6)})
        ASSERT_TRUE(history.keep(number, file, submission::KeptSubmission::Kind::Submitted, QStringLiteral("sent.lzh"),
                                 fingerprints.value(number), &error)) << error.toStdString();
    store::Table* main = dataModule->table(QStringLiteral("NT_TBL_MAIN"));
    ASSERT_TRUE(main->locate(QStringLiteral("REG_NO"), store::localNumber(6)));
    main->edit();
    main->field(QStringLiteral("TECH_TITLE")).setString(QStringLiteral("改良した工法"));
    main->post();
    // Both saved after the submission; only 6 differs from it.
    dataModule->recordSaveTime(store::localNumber(5));
    dataModule->recordSaveTime(store::localNumber(6));

    RegistrationListView list(*dataModule);
    const app::RegistrationListModel& lines = *list.lines();
    const int column = lines.columnCount() - 1;
    EXPECT_EQ(lines.headerData(column, Qt::Horizontal).toString(), QStringLiteral("最終提出"));
    const auto shown = [&](const QString& number) { return lines.index(lines.rowOfNumber(number), column).data().toString(); };
    EXPECT_EQ(shown(store::localNumber(5)), QStringLiteral("2026/03/01 09:00"));
    EXPECT_EQ(shown(store::localNumber(6)), QStringLiteral("2026/03/01 09:01（変更あり）"));
    EXPECT_EQ(shown(store::localNumber(8)), QStringLiteral("未提出"));

    list.sortByColumn(column, Qt::DescendingOrder);
    const QStringList sorted = shownColumn(*list.filter(), column);
    EXPECT_EQ(sorted.mid(0, 3), (QStringList{QStringLiteral("2026/03/01 09:01（変更あり）"), QStringLiteral("2026/03/01 09:00"),
                                             QStringLiteral("未提出")}));
}

TEST_F(ThousandRegistrations, TheColumnsAndTheOrderChosenAreKeptForTheNextRun)
{
    {
        RegistrationListView list(*dataModule);
        EXPECT_EQ(list.horizontalHeader()->sortIndicatorSection(), 0) << "number order at first";
        QStringList titles;
        for (int c = 0; c < list.model()->columnCount(); ++c)
            titles << list.model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_EQ(titles, (QStringList{"登録番号", "技術名称", "副題", "開発会社", "最終保存", "最終提出"}));
        list.sortByColumn(3, Qt::DescendingOrder);
        list.setColumnWidth(1, 333);
    }
    RegistrationListView again(*dataModule);
    EXPECT_EQ(again.horizontalHeader()->sortIndicatorSection(), 3);
    EXPECT_EQ(again.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(again.columnWidth(1), 333);
    const QStringList companies = shownColumn(*again.model(), 3);
    const QCollator japanese(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_GT(japanese.compare(companies.first(), companies.last()), 0);
}

namespace {

// The main window over a copy of the shipped program folder, shown (the keys need it).
class TechnologyListWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        forgetListSettings();
        testsupport::copyShippedProgramFolder(dir.path());
        window = std::make_unique<MainWindow>(dir.path());
        ASSERT_TRUE(window->start());
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
    }

    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        T* control = window->control<T>(name);
        EXPECT_TRUE(control) << name.toStdString();
        return control;
    }
    QString mainField(const QString& name) const
    {
        return window->dm().table(QStringLiteral("NT_TBL_MAIN"))->field(name).asString().trimmed();
    }
    void saveNew(const QString& title, const QString& company)
    {
        window->cycle().newRegistration();
        find<QLineEdit>("TECH_TITLE")->setText(title);
        find<QLineEdit>("TECH_DVLP_COMPANY")->setText(company);
        find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
        ui.expectBox(UI::Yes);
        window->cycle().save();
        window->cycle().backToList();
    }
    RegistrationListView* list() const { return find<RegistrationListView>(app::controls::kTechnologyList); }

    testsupport::TempDir dir;
    ScriptedUserInteraction ui;
    std::unique_ptr<MainWindow> window;
};

} // namespace

TEST_F(TechnologyListWindow, TheFindBoxNarrowsTheListAndTheCommandsFollowTheLineShown)
{
    saveNew(QStringLiteral("ケーソン式防波堤の急速施工"), QStringLiteral("港湾建設"));
    saveNew(QStringLiteral("消波ブロック"), QStringLiteral("ABC Marine"));
    saveNew(QStringLiteral("桟橋の補修"), QStringLiteral("港湾建設"));
    auto* count = find<QLabel>(app::controls::kFindCount);
    EXPECT_EQ(count->text(), QStringLiteral("3 件 / 全 3 件"));
    EXPECT_EQ(shownColumn(*list()->model(), 0), (QStringList{"XXK-000001", "XXK-000002", "XXK-000003"}));
    EXPECT_FALSE(list()->model()->index(0, 4).data().toString().isEmpty()) << "the time of the save";

    // Ctrl+F puts the keyboard in the find box; what is typed narrows the list at once.
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_F, Qt::ControlModifier);
    auto* findBox = find<QLineEdit>(app::controls::kFindBox);
    ASSERT_TRUE(findBox->hasFocus());
    QTest::keyClicks(findBox, QStringLiteral("abc"));
    EXPECT_EQ(count->text(), QStringLiteral("1 件 / 全 3 件"));
    EXPECT_EQ(mainField("REG_NO"), QStringLiteral("XXK-000002")) << "the commands act on the line shown";
    findBox->setText(QStringLiteral("ｹｰｿﾝ"));
    EXPECT_EQ(shownColumn(*list()->model(), 0), QStringList{"XXK-000001"});
    EXPECT_EQ(mainField("REG_NO"), QStringLiteral("XXK-000001"));
    findBox->setText(QStringLiteral("ない名前"));
    EXPECT_EQ(count->text(), QStringLiteral("0 件 / 全 3 件"));
    EXPECT_FALSE(find<QPushButton>(app::controls::kOpenButton)->isEnabled());
    EXPECT_FALSE(find<QPushButton>(app::controls::kDeleteButton)->isEnabled());
    EXPECT_TRUE(find<QPushButton>(app::controls::kNewButton)->isEnabled());
    QTest::keyClick(findBox, Qt::Key_Escape);
    EXPECT_TRUE(findBox->text().isEmpty());
    EXPECT_EQ(count->text(), QStringLiteral("3 件 / 全 3 件"));
    EXPECT_TRUE(find<QPushButton>(app::controls::kOpenButton)->isEnabled());

    // Enter opens the selected line; Delete asks before deleting it.
    list()->setFocus();
    list()->setCurrentIndex(list()->model()->index(2, 1));
    EXPECT_EQ(mainField("REG_NO"), QStringLiteral("XXK-000003"));
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_FALSE(window->showsListPage());
    EXPECT_EQ(find<QLineEdit>("TECH_TITLE")->text(), QStringLiteral("桟橋の補修"));
    window->cycle().backToList();
    ASSERT_TRUE(window->showsListPage());
    ui.expectBox(UI::Yes);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(ui.boxTexts().last(), QStringLiteral("\"桟橋の補修\"を削除します。"));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("\"桟橋の補修\"を削除しました。"));
    EXPECT_EQ(count->text(), QStringLiteral("2 件 / 全 2 件"));
    EXPECT_FALSE(store::SaveTimes(window->dm().folder()).read().contains(QStringLiteral("XXK-000003")));

    // Ctrl+N starts a new registration; every button names its key.
    QTest::keyClick(list(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window->cycle().mode(), app::EditingCycle::New);
    for (const QString& name : {app::controls::kNewButton, app::controls::kOpenButton, app::controls::kDuplicateButton,
                                app::controls::kDeleteButton, app::controls::kExportButton, app::controls::kImportButton})
        EXPECT_TRUE(find<QPushButton>(name)->toolTip().contains(QLatin1Char('('))) << name.toStdString();
}

TEST_F(TechnologyListWindow, ACopyOpensAsANewRegistrationThatNoRemovesWholeAndSaveKeeps)
{
    saveNew(QStringLiteral("ケーソン式防波堤の急速施工"), QStringLiteral("港湾建設"));
    // A photo in slot A, as the photo slots store it.
    store::DataModule& dm = window->dm();
    store::Table* images = dm.table(QStringLiteral("NT_TBL_INFO_IMAGES"));
    store::Table::RowValues photo(images->fieldCount());
    photo[images->fieldIndex(QStringLiteral("REG_NO"))] = QStringLiteral("XXK-000001");
    photo[images->fieldIndex(QStringLiteral("IMAGES_TYPE"))] = QStringLiteral("A");
    photo[images->fieldIndex(QStringLiteral("IMAGES_FILE"))] = QStringLiteral("XXK-000001A.jpg");
    images->appendRowValues(photo);
    ASSERT_TRUE(dm.WriteChangedTables());
    const QByteArray photoBytes("\xff\xd8\xff\xe0 a photo", 13);
    dir.write(QStringLiteral("Images/XXK-000001A.jpg"), photoBytes);

    find<QPushButton>(app::controls::kDuplicateButton)->click();
    ASSERT_FALSE(window->showsListPage());
    EXPECT_EQ(window->cycle().mode(), app::EditingCycle::New);
    EXPECT_TRUE(window->cycle().isModified());
    EXPECT_EQ(mainField("REG_NO"), QStringLiteral("XXK-000002"));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("XXK-000001 を XXK-000002 として複製しました。"));
    EXPECT_EQ(find<QLineEdit>("TECH_TITLE")->text(), QStringLiteral("ケーソン式防波堤の急速施工"));
    EXPECT_EQ(find<QLineEdit>("COMPARE_TECH_TITLE")->text(), QStringLiteral("従来の工法"));
    EXPECT_EQ(dir.read(QStringLiteral("Images/XXK-000002A.jpg")), photoBytes);

    // No to the save question: the copy goes whole, its photo too.
    ui.expectBox(UI::No);
    window->cycle().backToList();
    ASSERT_TRUE(window->showsListPage());
    registrationrows::expectRegistrations(dm, {QStringLiteral("XXK-000001")});
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Images/XXK-000002A.jpg"))));
    EXPECT_EQ(dir.read(QStringLiteral("Images/XXK-000001A.jpg")), photoBytes);
    EXPECT_EQ(find<QLabel>(app::controls::kFindCount)->text(), QStringLiteral("1 件 / 全 1 件"));

    // Saved, the copy stays beside the original, with its own photo and save time.
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_FALSE(window->showsListPage());
    ui.expectBox(UI::Yes);
    window->cycle().save();
    window->cycle().backToList();
    registrationrows::expectRegistrations(dm, {QStringLiteral("XXK-000001"), QStringLiteral("XXK-000003")});
    EXPECT_EQ(dir.read(QStringLiteral("Images/XXK-000003A.jpg")), photoBytes);
    EXPECT_EQ(registrationrows::valuesInFile(dm, QStringLiteral("NT_TBL_INFO_IMAGES"), QStringLiteral("IMAGES_FILE")),
              (QStringList{"XXK-000001A.jpg", "XXK-000003A.jpg"}));
    EXPECT_EQ(shownColumn(*list()->model(), 1), QStringList(2, QStringLiteral("ケーソン式防波堤の急速施工")));
    EXPECT_FALSE(list()->model()->index(1, 4).data().toString().isEmpty());
}

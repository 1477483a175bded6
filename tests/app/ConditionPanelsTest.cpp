#include "app/ConditionPanels.h"
#include "app/MainWindow.h"
#include "store/TableFile.h"
#include "app/ScrollingPage.h"
#include "store/Table.h"
#include "support/ScriptedUserInteraction.h"
#include "support/ShippedProgramFolder.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QTest>
#include <gtest/gtest.h>

using app::MainWindow;
using UI = UserInteraction;

namespace {


// The main window over a copy of the shipped program folder (whose CNSTDEF.TXT defines the items),
// shown so that clicks and focus reach the controls, with a new registration named and ready to save.
class ConditionPanelsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::copyShippedProgramFolder(dir.path());
        startWindow();
        window->cycle().newRegistration();
        text("TECH_TITLE")->setText(QStringLiteral("浚渫の新工法"));
        text("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    }

    void startWindow()
    {
        window = std::make_unique<MainWindow>(dir.path());
        ASSERT_TRUE(window->start());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        T* control = window->control<T>(name);
        EXPECT_TRUE(control) << name.toStdString();
        return control;
    }
    QLineEdit* text(const QString& name) const { return find<QLineEdit>(name); }
    bool shown(const QString& name) const { return find(name)->isVisibleTo(window.get()); }

    // Slot 1's classification as the lists leave it in the hidden boxes.
    void setLevel3(const QString& code)
    {
        text("LEVEL1_COMBO")->setText(code.left(3));
        text("LEVEL2_COMBO")->setText(code.left(5));
        text("LEVEL3_COMBO")->setText(code);
    }
    // The user switches to the summary page (from another entry page).
    void showSummary()
    {
        window->pages()->setCurrentWidget(find("TbsPattern1"));
        window->pages()->setCurrentWidget(find("PageControl2"));
    }
    // The user goes to another entry page and comes back to the summary page.
    void leaveAndShowSummaryAgain(const QString& page)
    {
        window->pages()->setCurrentWidget(find(page));
        window->pages()->setCurrentWidget(find("PageControl2"));
    }
    void click(const QString& name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton, {}, QPoint(6, 8)); }
    // The condition rows in the table file, as rows() gives them.
    QStringList rowsInFile() const
    {
        QList<store::FieldDef> fields;
        QList<QVector<QVariant>> fileRows;
        EXPECT_TRUE(store::TableFile::read(window->dm().folder().tablePath("NT_TBL_CONST_CONDITION"), &fields, &fileRows, nullptr));
        return described(fileRows);
    }
    void restartAndOpen()
    {
        ASSERT_TRUE(window->close());
        window.reset();
        startWindow();
        window->cycle().openRegistration();
    }
    void save()
    {
        ui.expectBox(UI::Yes);
        window->cycle().save();
        ASSERT_FALSE(window->cycle().isModified()) << ui.boxTexts().join('|').toStdString();
    }

    // The stored condition rows as "ORD TYPE NAME TXT MIN_VAL MAX_VAL F_UNIT", sorted.
    QStringList rows() const { return described(window->dm().table("NT_TBL_CONST_CONDITION")->allRows()); }
    static QStringList described(const QList<QVector<QVariant>>& rows)
    {
        QStringList result;
        for (const auto& row : rows) {
            QStringList cells;
            for (int f = 1; f < row.size(); ++f)
                cells << row.at(f).toString().trimmed();
            result << cells.join(' ');
        }
        result.sort();
        return result;
    }

    testsupport::TempDir dir;
    testsupport::ScriptedUserInteraction ui;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ConditionPanelsTest, WithoutALevel3CodeNoItemIsShownAndNothingChanges)
{
    save();
    showSummary();
    EXPECT_TRUE(shown("lblNoCnst"));
    EXPECT_EQ(find<QLabel>("lblNoCnst")->text(), QStringLiteral("入力項目はありません。"));
    for (const char* panel : {"plCNST_M1", "plCNST_N1", "plCNST_R1", "plCNST_S1", "plCNST_T1"})
        EXPECT_FALSE(shown(QLatin1String(panel))) << panel;
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_FALSE(window->cycle().isModified()) << "a rebuild alone is no change";

    EXPECT_FALSE(window->conditionPanels().builtForAnotherRegistration());
    window->cycle().backToList();
    window->cycle().newRegistration();
    EXPECT_TRUE(window->conditionPanels().builtForAnotherRegistration()) << "the next registration's items are rebuilt on any way to the page";
}

TEST_F(ConditionPanelsTest, TheItemsOfTheCodeAreBuiltAndTheirValuesSurviveSaveAndReopening)
{
    setLevel3("0100101"); // R, N, M (4 choices), S, T
    save();
    showSummary();
    EXPECT_FALSE(window->cycle().isModified());
    EXPECT_FALSE(shown("lblNoCnst"));
    auto* page = find<app::ScrollingPage>("PageControl2");
    EXPECT_GE(page->panel()->height(), page->panelLayout()->totalSizeHint().height()) << "the page grows with the items";
    for (const char* panel : {"plCNST_R1", "plCNST_N2", "plCNST_M3", "plCNST_S4", "plCNST_T5"})
        EXPECT_TRUE(shown(QLatin1String(panel))) << panel;
    EXPECT_FALSE(shown("plCNST_N1"));
    EXPECT_FALSE(shown("CnstItem6") && shown("plCNST_T6"));
    EXPECT_EQ(find<QLabel>("Label_R11")->text(), QStringLiteral("浚渫水深"));
    EXPECT_EQ(find<QLabel>("Label_R12")->text(), QStringLiteral("m (CDL基準)"));
    EXPECT_EQ(find<QCheckBox>("CheckBox16")->text(), QStringLiteral("砂質土"));
    EXPECT_TRUE(shown("CheckBox18"));
    EXPECT_FALSE(shown("CheckBox19")) << "four choices, four boxes";
    EXPECT_EQ(find<QRadioButton>("RadioButton7")->text(), QStringLiteral("要"));
    EXPECT_EQ(find<QRadioButton>("RadioButton8")->text(), QStringLiteral("不要"));
    EXPECT_EQ(find<QLabel>("Label_T5")->text(), QStringLiteral("適用できない条件"));

    // A click on a check box or radio button marks the registration as changed.
    auto* sand = find<QCheckBox>("CheckBox16");
    QTest::mouseClick(sand, Qt::LeftButton, {}, QPoint(6, sand->height() / 2)); // on the box itself
    EXPECT_TRUE(sand->isChecked());
    EXPECT_TRUE(window->cycle().isModified());
    QTest::mouseClick(find<QRadioButton>("RadioButton8"), Qt::LeftButton);
    text("DBEdit_R11")->setText("10");
    text("DBEdit_R12")->setText("20");
    text("DBEdit_N2")->setText("3.5");
    find<QPlainTextEdit>("DBMemo_T5")->setPlainText(QStringLiteral("流速2m/s以上"));
    save();
    const QStringList stored = {
        QStringLiteral("1 R 浚渫水深  10 20 m (CDL基準)"),       QStringLiteral("2 N 最大排送距離  3.5  m"),
        QStringLiteral("3 M 対象土質 0100000   "),              QStringLiteral("4 S 汚濁防止膜の併用 1   "),
        QStringLiteral("5 T 適用できない条件 流速2m/s以上   "),
    };
    EXPECT_EQ(rows(), stored);

    // Back to the list, the program restarted, the registration opened again.
    window->cycle().backToList();
    ASSERT_TRUE(window->close());
    window.reset();
    startWindow();
    window->cycle().openRegistration();
    showSummary();
    EXPECT_EQ(rows(), stored);
    EXPECT_FALSE(window->cycle().isModified());
    EXPECT_TRUE(find<QCheckBox>("CheckBox16")->isChecked());
    for (const char* box : {"CheckBox15", "CheckBox17", "CheckBox18"})
        EXPECT_FALSE(find<QCheckBox>(QLatin1String(box))->isChecked()) << box;
    EXPECT_FALSE(find<QRadioButton>("RadioButton7")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("RadioButton8")->isChecked());
    EXPECT_EQ(text("DBEdit_R11")->text(), "10");
    EXPECT_EQ(text("DBEdit_N2")->text(), "3.5");
    EXPECT_EQ(find<QPlainTextEdit>("DBMemo_T5")->toPlainText(), QStringLiteral("流速2m/s以上"));
}

TEST_F(ConditionPanelsTest, AnotherCodeRewritesTheItemsKeepsTheValuesAndDropsSurplusRows)
{
    setLevel3("0100101");
    showSummary();
    text("DBEdit_R11")->setText("7");
    save();
    ASSERT_EQ(rows().size(), 5);

    // 0100401: R 矢板長 (m), M, N 最大N値 without a unit, S.
    setLevel3("0100401");
    showSummary();
    save(); // the rows follow the new code once saved
    // Only ORD, TYPE, NAME and the unit of N and R items come from the file; the rest stays.
    EXPECT_EQ(rows().join('|').toStdString(), QStringList({QStringLiteral("1 R 矢板長  7  m"), QStringLiteral("2 M 打設方法    m"),
                                                         QStringLiteral("3 N 最大N値    "), QStringLiteral("4 S 施工場所    ")})
                                                 .join('|')
                                                 .toStdString());
    EXPECT_FALSE(shown("Label_N32")) << "a line without a unit hides the unit label";
    EXPECT_FALSE(shown("plCNST_T5"));

    setLevel3(QString());
    showSummary();
    EXPECT_TRUE(shown("lblNoCnst"));
    save();
    EXPECT_TRUE(rows().isEmpty()) << rows().join('|').toStdString();
}

// A number or range item is measured in the unit its line names, or in none: the unit of the item
// another class had at the same place does not stay with the new one.
TEST_F(ConditionPanelsTest, ANumberItemWithoutAUnitKeepsNoUnitOfTheItemBefore)
{
    setLevel3("0100104"); // item 3: N 許容潮流速 (m/s)
    showSummary();
    text("DBEdit_N3")->setText("5");
    save();
    ASSERT_TRUE(rows().contains(QStringLiteral("3 N 許容潮流速  5  m/s"))) << rows().join('|').toStdString();

    setLevel3("0100401"); // item 3: N 最大N値, no unit
    showSummary();
    save();
    EXPECT_TRUE(rows().contains(QStringLiteral("3 N 最大N値  5  "))) << rows().join('|').toStdString();
    EXPECT_TRUE(rowsInFile().contains(QStringLiteral("3 N 最大N値  5  "))) << rowsInFile().join('|').toStdString();
}

// An item that another class gives another kind keeps none of the old kind's values: ticks are no
// choice, a choice is no tick, and a number belongs to no list. (A number stays the lower bound of a
// range and back: the two share their field.)
TEST_F(ConditionPanelsTest, AnItemOfAnotherKindKeepsNoValueOfTheKindBefore)
{
    const auto item4 = [this] {
        for (const QString& row : rows())
            if (row.startsWith(QLatin1String("4 ")))
                return row.toStdString();
        return std::string();
    };
    setLevel3("0100302"); // item 4: N 施工可能な有義波高 (m)
    showSummary();
    text("DBEdit_N4")->setText("2.5");
    save();
    ASSERT_EQ(item4(), "4 N 施工可能な有義波高  2.5  m");

    setLevel3("0200201"); // item 4: M 使用材料
    showSummary();
    save();
    EXPECT_EQ(item4(), "4 M 使用材料    m");
    click("CheckBox23");
    click("CheckBox24");
    save();
    ASSERT_EQ(item4(), "4 M 使用材料 0110000   m");

    setLevel3("0600101"); // item 4: S 測量船
    showSummary();
    EXPECT_FALSE(find<QRadioButton>("RadioButton7")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("RadioButton8")->isChecked());
    save();
    EXPECT_EQ(item4(), "4 S 測量船    m");
    click("RadioButton8");
    save();
    ASSERT_EQ(item4(), "4 S 測量船 1   m");

    setLevel3("0200201");
    showSummary();
    for (int k = 22; k <= 28; ++k)
        EXPECT_FALSE(find<QCheckBox>(QStringLiteral("CheckBox%1").arg(k))->isChecked()) << k;
    save();
    EXPECT_EQ(item4(), "4 M 使用材料    m");
    EXPECT_TRUE(rowsInFile().contains(QStringLiteral("4 M 使用材料    m"))) << rowsInFile().join('|').toStdString();
}

TEST_F(ConditionPanelsTest, ARangeWhoseUpperBoundIsBelowTheLowerIsReportedOnLeavingThePanel)
{
    setLevel3("0100101");
    showSummary();
    auto* lower = text("DBEdit_R11");
    auto* upper = text("DBEdit_R12");
    lower->setText("10");
    upper->setText("5.5");
    upper->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([upper] { return upper->hasFocus(); }, 1000));
    text("DBEdit_N2")->setFocus();
    EXPECT_TRUE(ui.boxes().isEmpty()) << "5.5 is not a whole number";

    upper->setText("5");
    upper->setFocus();
    ui.expectBox(UI::Ok);
    text("DBEdit_N2")->setFocus();
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(ui.boxes().first().caption, QStringLiteral("情報"));
    EXPECT_EQ(ui.boxes().first().text, QStringLiteral("浚渫水深の入力に矛盾があります。"));
    EXPECT_TRUE(lower->hasFocus());
}

TEST_F(ConditionPanelsTest, AMissingDefinitionFileIsReportedAndTheRowsAreKept)
{
    setLevel3("0100101");
    showSummary();
    save();
    QFile::remove(dir.filePath("CNSTDEF.TXT"));
    ui.expectBox(UI::Ok);
    showSummary();
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_EQ(ui.boxes().last().icon, UI::Icon::Error);
    EXPECT_TRUE(ui.boxes().last().text.contains(QStringLiteral("CNSTDEF.TXT")));
    EXPECT_FALSE(shown("plCNST_R1"));
    EXPECT_EQ(rows().size(), 5);
}

// Without the definition file the next save keeps every stored condition row, whatever the way
// to it: the page shown again, or the registration reopened after a restart.
TEST_F(ConditionPanelsTest, WithoutTheDefinitionFileTheNextSaveKeepsEveryConditionRow)
{
    setLevel3("0100101");
    showSummary();
    save();
    const QStringList stored = rows();
    ASSERT_EQ(stored.size(), 5);
    const auto rowsInFile = [this] {
        QList<store::FieldDef> fields;
        QList<QVector<QVariant>> fileRows;
        EXPECT_TRUE(store::TableFile::read(window->dm().folder().tablePath("NT_TBL_CONST_CONDITION"), &fields, &fileRows, nullptr));
        return fileRows.size();
    };
    QFile::remove(dir.filePath("CNSTDEF.TXT"));

    ui.expectBox(UI::Ok);
    showSummary();
    text("TECH_SUBTITLE")->setText(QStringLiteral("副題"));
    save();
    EXPECT_EQ(rows(), stored);

    window->cycle().backToList();
    ASSERT_TRUE(window->close());
    window.reset();
    startWindow();
    window->cycle().openRegistration();
    ui.expectBox(UI::Ok);
    showSummary();
    text("TECH_SUBTITLE")->setText(QStringLiteral("副題２"));
    save();
    EXPECT_EQ(rows(), stored);
    window->cycle().backToList();
    EXPECT_EQ(rowsInFile(), 5);
}

// Ticks and choices the user made stay through any page change and reach the save; a radio choice
// on a row that is not stored yet too.
TEST_F(ConditionPanelsTest, ChoicesSurvivePageChangesUntilTheSave)
{
    setLevel3("0100101");
    showSummary();
    click("CheckBox15");
    click("CheckBox16");
    click("RadioButton7");
    leaveAndShowSummaryAgain("TabSheet3");
    EXPECT_TRUE(find<QRadioButton>("RadioButton7")->isChecked()) << "a choice on a new row";
    save();
    EXPECT_TRUE(rows().contains(QStringLiteral("3 M 対象土質 1100000   ")));
    EXPECT_TRUE(rows().contains(QStringLiteral("4 S 汚濁防止膜の併用 0   ")));

    click("CheckBox17");
    click("RadioButton8");
    leaveAndShowSummaryAgain("TabSheet4");
    EXPECT_TRUE(find<QCheckBox>("CheckBox17")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("RadioButton8")->isChecked());
    save();
    EXPECT_TRUE(rows().contains(QStringLiteral("3 M 対象土質 1110000   ")));
    EXPECT_TRUE(rows().contains(QStringLiteral("4 S 汚濁防止膜の併用 1   ")));
    EXPECT_EQ(rowsInFile(), rows());
}

// 取消 and No at メニュー bring back exactly the saved condition rows, in memory and in the file,
// whatever pages were shown between the edit and the discard.
TEST_F(ConditionPanelsTest, DiscardedConditionEditsNeverReachTheRows)
{
    setLevel3("0100101");
    showSummary();
    text("DBEdit_N2")->setText("5");
    find<QPlainTextEdit>("DBMemo_T5")->setPlainText(QStringLiteral("流速2m/s以上"));
    click("CheckBox15");
    save();
    const QStringList stored = rows();
    window->cycle().backToList();

    for (const bool byMenu : {false, true}) {
        SCOPED_TRACE(byMenu ? "No at メニュー" : "取消");
        ui.clearBoxes();
        window->cycle().openRegistration();
        showSummary();
        text("DBEdit_N2")->setText("99");
        find<QPlainTextEdit>("DBMemo_T5")->setPlainText(QStringLiteral("別の条件"));
        click("CheckBox16");
        leaveAndShowSummaryAgain("TabSheet3");
        ui.expectBox(byMenu ? UI::No : UI::Ok);
        if (byMenu)
            window->cycle().backToList();
        else
            window->cycle().discardChanges();
        ASSERT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();
        EXPECT_EQ(rows().join('|').toStdString(), stored.join('|').toStdString());
        restartAndOpen();
        EXPECT_EQ(rows().join('|').toStdString(), stored.join('|').toStdString());
        EXPECT_EQ(rowsInFile().join('|').toStdString(), stored.join('|').toStdString());
        window->cycle().backToList();
    }
}

// A class chosen and its items shown, then dropped: no condition row of it is left anywhere.
TEST_F(ConditionPanelsTest, TheItemsOfADiscardedClassLeaveNoRow)
{
    save();
    setLevel3("0100101");
    window->cycle().markModified(); // as the classification lists mark it
    showSummary();
    showSummary();
    find<QPlainTextEdit>("DBMemo_T5")->setPlainText(QStringLiteral("捨てる条件"));
    ui.expectBox(UI::Ok);
    window->cycle().discardChanges();
    EXPECT_TRUE(rows().isEmpty());
    restartAndOpen();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(rowsInFile().isEmpty());
}

// Another class chosen for a saved registration and its items shown, then dropped by No at メニュー
// or by 取消: the next save of the registration, its items never shown again, keeps the saved rows.
TEST_F(ConditionPanelsTest, TheItemsOfADroppedClassDoNotShapeTheNextSave)
{
    setLevel3("0100101");
    showSummary();
    text("DBEdit_R11")->setText("7");
    find<QPlainTextEdit>("DBMemo_T5")->setPlainText(QStringLiteral("流速2m/s以上"));
    save();
    const QStringList stored = rows();
    window->cycle().backToList();

    for (const bool byMenu : {false, true}) {
        SCOPED_TRACE(byMenu ? "No at メニュー" : "取消");
        ui.clearBoxes();
        window->cycle().openRegistration();
        setLevel3("0100401");
        window->cycle().markModified(); // as the classification lists mark it
        showSummary();
        ui.expectBox(byMenu ? UI::No : UI::Ok);
        if (byMenu)
            window->cycle().backToList();
        else
            window->cycle().discardChanges();
        ASSERT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();

        window->cycle().openRegistration();
        text("TECH_DVLP_YEAR")->setText(QStringLiteral("2024"));
        save();
        EXPECT_EQ(rows().join('|').toStdString(), stored.join('|').toStdString());
        EXPECT_EQ(rowsInFile().join('|').toStdString(), stored.join('|').toStdString());
        window->cycle().backToList();
    }
}

} // namespace

// A value typed for an item whose kind the next class changes (a number becoming a range and back)
// shows in the new kind's box at once and stays what is shown: a page change or a save never
// brings back a text left in the box of the kind no longer shown.
TEST_F(ConditionPanelsTest, AValueTypedBeforeTheItemChangesKindIsShownAsTheRowHoldsIt)
{
    struct Case
    {
        const char* from;
        const char* to;
        const char* typedBox;
        const char* shownBox;
    };
    // 0100302 item 4: N 施工可能な有義波高; 0200101 item 4: R 改良率.
    for (const Case& c : {Case{"0100302", "0200101", "DBEdit_N4", "DBEdit_R41"}, Case{"0200101", "0100302", "DBEdit_R41", "DBEdit_N4"}}) {
        SCOPED_TRACE(c.typedBox);
        setLevel3(QLatin1String(c.from));
        showSummary();
        text(QLatin1String(c.typedBox))->setText("3.5");
        setLevel3(QLatin1String(c.to));
        window->cycle().markModified(); // as the classification lists mark it
        showSummary();
        EXPECT_EQ(text(QLatin1String(c.shownBox))->text(), "3.5") << "the typed value stays in the row as a written one does";
        leaveAndShowSummaryAgain("TabSheet3");
        EXPECT_EQ(text(QLatin1String(c.shownBox))->text(), "3.5") << "shown again";
        text(QLatin1String(c.shownBox))->setText("");
        leaveAndShowSummaryAgain("TabSheet4");
        EXPECT_EQ(text(QLatin1String(c.shownBox))->text(), "") << "emptied by the user";
        save();
        EXPECT_EQ(text(QLatin1String(c.shownBox))->text(), "") << "saved";
        for (const QString& row : rows())
            if (row.startsWith(QLatin1String("4 ")))
                EXPECT_FALSE(row.contains(QLatin1String("3.5"))) << row.toStdString();
    }
}

// A saved registration whose items were never shown: showing them builds rows no one changed.
// Leaving for the list without a change (no question asked) leaves none of them behind, in memory
// or, after another registration's save, in the file.
TEST_F(ConditionPanelsTest, ItemsOnlyShownLeaveNoRowWhenTheUserLeavesWithoutAChange)
{
    setLevel3("0100104");
    save();
    ASSERT_TRUE(rows().isEmpty());
    window->cycle().backToList();

    window->cycle().openRegistration();
    showSummary();
    ASSERT_TRUE(shown("plCNST_R1"));
    ASSERT_FALSE(window->cycle().isModified());
    window->cycle().backToList();
    ASSERT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();
    EXPECT_TRUE(rows().isEmpty()) << rows().join('|').toStdString();

    window->cycle().newRegistration();
    text("TECH_TITLE")->setText(QStringLiteral("別の工法"));
    text("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    save();
    EXPECT_TRUE(rows().isEmpty()) << rows().join('|').toStdString();
    EXPECT_TRUE(rowsInFile().isEmpty()) << rowsInFile().join('|').toStdString();
}

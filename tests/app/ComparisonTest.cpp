#include "EntryWindowFixture.h"

#include "comparison/Breakdown.h"
#include "comparison/CompareBreakdownDialog.h"
#include "comparison/CompareSheetDialog.h"
#include "comparison/ComparisonPageWidget.h"
#include "comparison/CostTypeDialog.h"
#include "store/TableFile.h"
#include "widgets/DBGrid.h"
#include "widgets/DBRadioGroup.h"
#include "widgets/FieldLink.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using comparison::CompareBreakdownDialog;
using UI = UserInteraction;

namespace {

// The main window with a new registration that names a conventional technology; the comparison
// windows are shown without a nested event loop, so the test works them as the user would.
class ComparisonTest : public EntryWindowFixture
{
protected:
    void SetUp() override
    {
        comparison::ComparisonDialog::setModalShow([](comparison::ComparisonDialog* d) { d->show(); });
        EntryWindowFixture::SetUp();
        window->cycle().newRegistration();
        find<QLineEdit>(QStringLiteral("TECH_TITLE"))->setText(QStringLiteral("新工法"));
        find<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->setText(QStringLiteral("従来工法"));
    }
    void TearDown() override { comparison::ComparisonDialog::setModalShow({}); }

    comparison::CompareSheetDialog* sheet() const { return window->comparison().sheet(); }
    QString sheetText(const QString& box) const { return sheet()->box(box)->text(); }
    CompareBreakdownDialog* dialog(bool isNew) const
    {
        return isNew ? static_cast<CompareBreakdownDialog*>(window->comparison().newDialog()) : window->comparison().oldDialog();
    }
    store::Table* table(const QString& name) const { return window->dm().table(name); }

    void openSheet() const
    {
        find<QPushButton>(QStringLiteral("btnCmp"))->click();
        ASSERT_TRUE(sheet()->isVisible());
    }
    // Adds a row through the sheet's add button and its dialog, answering `confirm` to the question.
    void addRow(bool isNew, const QString& quantity, const QString& unitPrice, bool confirm = true)
    {
        isNew ? sheet()->addNewTechnologyRow() : sheet()->addOldTechnologyRow();
        CompareBreakdownDialog* d = dialog(isNew);
        ASSERT_TRUE(d->isVisible());
        for (const auto& [name, text] : {std::pair{"ITEM", QStringLiteral("土工")}, {"METHOD", QStringLiteral("掘削")}, {"F_VALUE", quantity},
                                         {"F_UNIT", QStringLiteral("m3")}, {"UNIT_PRICE", unitPrice}})
            d->findChild<QLineEdit*>(QLatin1String(name))->setText(text);
        ui.expectBox(confirm ? UI::Yes : UI::No);
        d->finishEditing();
        EXPECT_FALSE(d->isVisible());
    }
    int gridRows(const QString& grid) const { return sheet()->findChild<widgets::DBGrid*>(grid)->model()->rowCount(); }
};

TEST_F(ComparisonTest, RowsAddedThroughTheDialogsMakeTheTotalsRateAndMainWindowMirror)
{
    openSheet();
    EXPECT_EQ(sheet()->findChild<QLabel*>(QStringLiteral("COMPARE_TECH_TITLE"))->text(), QStringLiteral("従来工法"));
    addRow(true, QStringLiteral("12.5"), QStringLiteral("1000"));
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_NEW_TECH")), QStringLiteral("12500"));
    addRow(false, QStringLiteral("1"), QStringLiteral("15000"));
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_OLD_TECH")), QStringLiteral("15000"));
    EXPECT_EQ(sheetText(QStringLiteral("N_COST")), QStringLiteral("12500"));
    EXPECT_EQ(sheetText(QStringLiteral("RATE_COST")), QStringLiteral("16.67"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label119"))->text(), QStringLiteral("16.67"));
    EXPECT_EQ(find<widgets::DBRadioGroup>(QStringLiteral("COMPARE_COST"))->itemIndex(), 0);
    EXPECT_EQ(gridRows(QStringLiteral("NT_TBL_COMPARE_DETAIL_NEW")), 1);
    EXPECT_EQ(gridRows(QStringLiteral("NT_TBL_COMPARE_DETAIL_OLD")), 1);
    // The breakdown's file is written as each row is confirmed.
    QFile file(window->dm().folder().path(QStringLiteral("FLATT_FILES\\NT_TBL_COMPARE_DETAIL.cds")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    EXPECT_TRUE(written.contains("PRICE=\"12500\"") && written.contains("PRICE=\"15000\"")) << written.constData();

    // A longer construction period for the new technology: a negative rate, "増加".
    sheet()->box(QStringLiteral("N_PROCESS"))->setText(QStringLiteral("12"));
    sheet()->box(QStringLiteral("O_PROCESS"))->setText(QStringLiteral("10"));
    EXPECT_EQ(sheetText(QStringLiteral("RATE_PROCESS")), QStringLiteral("-20"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label217"))->text(), QStringLiteral("20"));
    EXPECT_EQ(find<widgets::DBRadioGroup>(QStringLiteral("COMPARE_PROCESS"))->itemIndex(), 2);

    sheet()->box(QStringLiteral("BASE_VALUE"))->setText(QStringLiteral("100"));
    sheet()->box(QStringLiteral("BASE_UNIT"))->setText(QStringLiteral("m"));
    EXPECT_EQ(sheet()->findChild<QLabel*>(QStringLiteral("UNIT_NEW_TECH"))->text(), QStringLiteral("100m"));
    ui.expectBox(UI::Yes);
    sheet()->finishEditing();
    EXPECT_FALSE(sheet()->isVisible());

    // Saved with the registration: the rates shown on the main window.
    ui.expectBox(UI::Yes);
    window->cycle().save();
    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    EXPECT_EQ(detail->field(QStringLiteral("COMPARE_COST_RATE")).asString(), QStringLiteral("16.67"));
    EXPECT_EQ(detail->field(QStringLiteral("COMPARE_PROCESS_RATE")).asString(), QStringLiteral("20"));
    EXPECT_EQ(table(QStringLiteral("NT_TBL_COMPARE_MAIN"))->field(QStringLiteral("RATE_COST")).asString(), QStringLiteral("16.67"));

    // Reopened, the totals come back from the rows.
    window->cycle().backToList();
    window->cycle().openRegistration();
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_NEW_TECH")), QStringLiteral("12500"));
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_OLD_TECH")), QStringLiteral("15000"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label119"))->text(), QStringLiteral("16.67"));
}

TEST_F(ComparisonTest, EditingAndDeletingRowsMoveTheRunningTotal)
{
    openSheet();
    addRow(true, QStringLiteral("1"), QStringLiteral("500"));
    addRow(true, QStringLiteral("1"), QStringLiteral("1234.5"));
    addRow(true, QStringLiteral("1"), QStringLiteral("265.5"));
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_NEW_TECH")), QStringLiteral("2000"));

    // Adding answered No leaves no row and the total as it was.
    addRow(true, QStringLiteral("1"), QStringLiteral("999"), false);
    EXPECT_EQ(table(comparison::kNewView)->recordCount(), 3);
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_NEW_TECH")), QStringLiteral("2000"));

    // Editing the first row from 500 to 700: +200; then back to the first row from the second.
    store::Table* rows = table(comparison::kNewView);
    rows->first();
    sheet()->editNewTechnologyRow();
    CompareBreakdownDialog* d = dialog(true);
    EXPECT_TRUE(d->findChild<QPushButton*>(QStringLiteral("BtnNextCmpNew"))->isVisibleTo(d));
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("lblRecNo"))->text(), QStringLiteral("1"));
    d->findChild<QLineEdit*>(QStringLiteral("UNIT_PRICE"))->setText(QStringLiteral("700"));
    EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("PRICE"))->text(), QStringLiteral("700"));
    ui.expectBox(UI::Yes);
    d->showNext();
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_NEW_TECH")), QStringLiteral("2200"));
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("lblRecNo"))->text(), QStringLiteral("2"));
    d->showPrevious();
    d->showPrevious();
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("lblRecNo"))->text(), QStringLiteral("1"));
    d->cancelEditing();

    // Deleting the row priced 1234.5 from 2200 leaves 965.5.
    rows->setRecNo(2);
    ui.expectBox(UI::Ok);
    sheet()->deleteNewTechnologyRow();
    EXPECT_EQ(ui.boxes().last().text, QStringLiteral("選択中のデータを削除しますか？"));
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_NEW_TECH")), QStringLiteral("965.5"));
    EXPECT_EQ(gridRows(QStringLiteral("NT_TBL_COMPARE_DETAIL_NEW")), 2);

    // The conventional technology has nothing to edit or delete yet.
    ui.expectBox(UI::Ok);
    ui.expectBox(UI::Ok);
    sheet()->editOldTechnologyRow();
    sheet()->deleteOldTechnologyRow();
    EXPECT_EQ(ui.boxTexts().mid(ui.boxTexts().size() - 2),
              (QStringList{QStringLiteral("編集するデータはありません。"), QStringLiteral("削除するデータはありません")}));
    EXPECT_EQ(ui.boxes().last().icon, UI::Icon::None) << "a plain box";
}

TEST_F(ComparisonTest, CancellingTheSheetKeepsTheRowsAndBringsTheHeadInLine)
{
    openSheet();
    addRow(true, QStringLiteral("1"), QStringLiteral("8000"));
    addRow(false, QStringLiteral("1"), QStringLiteral("10000"));
    ui.expectBox(UI::Yes);
    sheet()->cancelEditing();
    EXPECT_EQ(ui.boxes().last().text, QStringLiteral("現在編集中のデータをクリアしますか？"));
    EXPECT_FALSE(sheet()->isVisible());
    store::Table* head = table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    EXPECT_EQ(head->field(QStringLiteral("N_COST")).asString(), QStringLiteral("8000"));
    EXPECT_EQ(head->field(QStringLiteral("O_COST")).asString(), QStringLiteral("10000"));
    EXPECT_EQ(head->field(QStringLiteral("RATE_COST")).asString(), QStringLiteral("20"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label119"))->text(), QStringLiteral("20"));
    EXPECT_EQ(table(comparison::kNewView)->recordCount(), 1);
    EXPECT_EQ(table(comparison::kOldView)->recordCount(), 1);
}

TEST_F(ComparisonTest, RowCheckKeepsTheDialogOpenOnTheMissingBox)
{
    openSheet();
    sheet()->addOldTechnologyRow();
    CompareBreakdownDialog* d = dialog(false);
    d->findChild<QLineEdit*>(QStringLiteral("ITEM"))->setText(QStringLiteral("型枠"));
    ui.expectBox(UI::Yes);
    ui.expectBox(UI::Ok);
    d->finishEditing();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(ui.boxes().last().caption, QStringLiteral("情報"));
    EXPECT_EQ(ui.boxes().last().text, QStringLiteral("仕様を入力してください。"));
    EXPECT_EQ(table(comparison::kOldView)->state(), store::Table::State::Insert);
    d->cancelEditing();
    EXPECT_EQ(table(comparison::kOldView)->recordCount(), 0);
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_OLD_TECH")), QStringLiteral("0"));
}

TEST_F(ComparisonTest, TheFiftyFirstRowIsRefusedWithEachTechnologysMessage)
{
    openSheet();
    for (store::Table* rows : {table(comparison::kNewView), table(comparison::kOldView)}) {
        const QString type = rows == table(comparison::kNewView) ? QStringLiteral("0") : QStringLiteral("1");
        for (int i = 1; i <= 49; ++i) {
            rows->append();
            rows->field(QStringLiteral("RECORD_TYPE")).setString(type);
            rows->field(QStringLiteral("ORD")).setInteger(i);
            rows->field(QStringLiteral("PRICE")).setFloat(1);
            ASSERT_TRUE(rows->post());
        }
    }
    addRow(true, QStringLiteral("1"), QStringLiteral("1")); // the 50th is accepted
    EXPECT_EQ(table(comparison::kNewView)->recordCount(), 50);
    EXPECT_EQ(table(comparison::kNewView)->field(QStringLiteral("ORD")).asString(), QStringLiteral("50"));
    addRow(false, QStringLiteral("1"), QStringLiteral("1"));

    ui.clearBoxes();
    ui.expectBox(UI::Ok);
    ui.expectBox(UI::Ok);
    sheet()->addNewTechnologyRow();
    sheet()->addOldTechnologyRow();
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_EQ(ui.boxes().at(0).caption, QStringLiteral("注意"));
    EXPECT_EQ(ui.boxes().at(0).text, QStringLiteral("これ以上入力できません。"));
    EXPECT_EQ(ui.boxes().at(1).text, QStringLiteral("これ以上入力できません"));
    EXPECT_FALSE(dialog(true)->isVisible());
    EXPECT_EQ(table(comparison::kNewView)->recordCount(), 50);
}

TEST_F(ComparisonTest, ARowWhoseTypeChangesMovesToTheOtherList)
{
    openSheet();
    addRow(true, QStringLiteral("2"), QStringLiteral("300"));
    store::Table* newRows = table(comparison::kNewView);
    newRows->edit();
    newRows->field(QStringLiteral("RECORD_TYPE")).setString(QStringLiteral("1"));
    ASSERT_TRUE(newRows->post());
    EXPECT_EQ(newRows->recordCount(), 0);
    EXPECT_EQ(table(comparison::kOldView)->recordCount(), 1);
    EXPECT_EQ(gridRows(QStringLiteral("NT_TBL_COMPARE_DETAIL_NEW")), 0);
    EXPECT_EQ(gridRows(QStringLiteral("NT_TBL_COMPARE_DETAIL_OLD")), 1);
    EXPECT_EQ(table(comparison::kOldView)->field(QStringLiteral("PRICE")).asString(), QStringLiteral("600"));
}

TEST_F(ComparisonTest, SheetNeedsAConventionalTechnologyAndRefusesTextAsNumbers)
{
    find<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->clear();
    EXPECT_FALSE(find(QStringLiteral("btnCostType"))->isEnabled());
    EXPECT_FALSE(find(QStringLiteral("COMPARE_QUALITY"))->isEnabled());
    ui.expectBox(UI::Ok);
    find<QPushButton>(QStringLiteral("btnCmp"))->click();
    EXPECT_EQ(ui.boxes().last().text, QStringLiteral("従来技術名を入力して下さい。"));
    EXPECT_FALSE(sheet()->isVisible());

    find<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->setText(QStringLiteral("従来工法"));
    EXPECT_TRUE(find(QStringLiteral("btnCostType"))->isEnabled());
    openSheet();
    sheet()->box(QStringLiteral("N_PROCESS"))->setText(QStringLiteral("十日"));
    ui.expectBox(UI::Yes);
    ui.expectBox(UI::Ok);
    sheet()->finishEditing();
    EXPECT_EQ(ui.boxes().last().text, QStringLiteral("数値を入力してください。"));
    EXPECT_EQ(ui.boxes().last().icon, UI::Icon::None) << "a plain box";
    EXPECT_TRUE(sheet()->isVisible());
    // Leaving without saving drops the change.
    ui.expectBox(UI::Yes);
    sheet()->cancelEditing();
    EXPECT_FALSE(sheet()->isVisible());
    EXPECT_EQ(table(QStringLiteral("NT_TBL_COMPARE_MAIN"))->field(QStringLiteral("N_PROCESS")).asString(), QStringLiteral("0"));
}

TEST_F(ComparisonTest, CostTypeIsStoredAndShownAgainAfterReopening)
{
    comparison::CostTypeDialog* types = window->comparison().costTypeWindow();
    find<QPushButton>(QStringLiteral("btnCostType"))->click();
    ASSERT_TRUE(types->isVisible());
    EXPECT_EQ(types->findChild<QLabel*>(QStringLiteral("TECH_TITLE3"))->text(), QStringLiteral("新工法"));
    types->findChild<QRadioButton*>(QStringLiteral("rbD1"))->click();
    types->findChild<QLineEdit*>(QStringLiteral("NEWTECH_COST_ONE"))->setText(QStringLiteral("1000"));
    types->closeStoringChoice();
    EXPECT_FALSE(types->isVisible());
    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    EXPECT_EQ(detail->field(QStringLiteral("COST_TYPE")).asString(), QStringLiteral("7"));
    EXPECT_EQ(detail->field(QStringLiteral("NEWTECH_COST_ONE")).asString(), QStringLiteral("1000"));
    EXPECT_EQ(find<QLabel>(QStringLiteral("lblCOST_TYPE"))->text(), QStringLiteral("サイクルコスト型：Ｄ(Ⅰ)型"));
    EXPECT_TRUE(!find(QStringLiteral("GroupBox5"))->isHidden());

    // Saved, left and opened again: the type comes back on the page and in the window.
    ui.expectBox(UI::Yes);
    window->cycle().save();
    window->cycle().backToList();
    find<QLabel>(QStringLiteral("lblCOST_TYPE"))->clear();
    window->cycle().openRegistration();
    EXPECT_EQ(find<QLabel>(QStringLiteral("lblCOST_TYPE"))->text(), QStringLiteral("サイクルコスト型：Ｄ(Ⅰ)型"));
    EXPECT_TRUE(!find(QStringLiteral("GroupBox5"))->isHidden());
    ASSERT_TRUE(find(QStringLiteral("btnCostType"))->isEnabled());
    find<QPushButton>(QStringLiteral("btnCostType"))->click();
    EXPECT_TRUE(types->findChild<QRadioButton*>(QStringLiteral("rbD1"))->isChecked());
    EXPECT_TRUE(types->findChild<QWidget*>(QStringLiteral("pnlD1"))->property("selected").toBool());
    EXPECT_FALSE(types->findChild<QWidget*>(QStringLiteral("pnlA1"))->property("selected").toBool());

    // "選択クリア" answered No changes nothing; a non-cycle type drops the cycle costs.
    ui.expectBox(UI::No);
    types->clearChoice();
    EXPECT_TRUE(types->findChild<QRadioButton*>(QStringLiteral("rbD1"))->isChecked());
    types->findChild<QRadioButton*>(QStringLiteral("rbA1"))->click();
    types->closeStoringChoice();
    EXPECT_EQ(detail->field(QStringLiteral("COST_TYPE")).asString(), QStringLiteral("1"));
    EXPECT_TRUE(detail->field(QStringLiteral("NEWTECH_COST_ONE")).isNull());
    EXPECT_FALSE(!find(QStringLiteral("GroupBox5"))->isHidden());
    EXPECT_EQ(find<QLabel>(QStringLiteral("lblCOST_TYPE"))->text(), QStringLiteral("損益分岐点型：Ａ(Ⅰ)型"));
}

TEST_F(ComparisonTest, FreeItemWithoutTitleIsDisabledAndLosesItsChoice)
{
    auto* title = find<QLineEdit>(QStringLiteral("FREE_ITEM_TITLE1"));
    auto* choice = find<widgets::DBRadioGroup>(QStringLiteral("FREE_ITEM1"));
    title->setText(QStringLiteral("耐久性"));
    EXPECT_TRUE(choice->isEnabled());
    choice->button(0)->click();
    store::Table* free = table(QStringLiteral("NT_TBL_DETAIL_FREE"));
    ASSERT_TRUE(free->isEditing());
    EXPECT_EQ(free->field(QStringLiteral("FREE_ITEM1")).asString(), QStringLiteral("1"));
    title->clear();
    EXPECT_FALSE(choice->isEnabled());
    EXPECT_TRUE(free->field(QStringLiteral("FREE_ITEM1")).asString().isEmpty());
    title->setText(QStringLiteral("耐久性"));
    EXPECT_TRUE(choice->isEnabled());
    EXPECT_EQ(choice->itemIndex(), -1);
}

// The values of a field in the breakdown rows, in memory and in the breakdown's file.
QStringList pricesInFile(const QString& path)
{
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> rows;
    EXPECT_TRUE(store::TableFile::read(path, &fields, &rows, nullptr));
    int price = -1;
    for (int f = 0; f < fields.size(); ++f)
        if (fields.at(f).name == QLatin1String("PRICE"))
            price = f;
    QStringList values;
    for (const auto& row : rows)
        values << row.value(price).toString();
    values.sort();
    return values;
}

// A breakdown row deleted from the sheet leaves the breakdown's file at once, as an added row
// reaches it at once: a restart must not bring it back.
TEST_F(ComparisonTest, ADeletedBreakdownRowLeavesTheFileAtOnce)
{
    openSheet();
    addRow(true, QStringLiteral("1"), QStringLiteral("1000"));
    addRow(true, QStringLiteral("1"), QStringLiteral("300"));
    const QString path = window->dm().folder().tablePath(QStringLiteral("NT_TBL_COMPARE_DETAIL"));
    ASSERT_EQ(pricesInFile(path).size(), 2);
    ui.expectBox(UI::Ok);
    sheet()->deleteNewTechnologyRow();
    ASSERT_EQ(table(comparison::kNewView)->recordCount(), 1);
    EXPECT_EQ(pricesInFile(path).size(), 1);
}

// Leaving a breakdown dialog by Escape or by its close box drops the row as "キャンセル" does: the
// next row added is the only one stored, and the totals count what is stored.
TEST_F(ComparisonTest, ABreakdownDialogLeftByEscapeOrTheCloseBoxKeepsNoRow)
{
    openSheet();
    addRow(true, QStringLiteral("1"), QStringLiteral("1000"));
    for (int way = 0; way < 2; ++way) {
        sheet()->addNewTechnologyRow();
        CompareBreakdownDialog* d = dialog(true);
        ASSERT_TRUE(d->isVisible());
        d->findChild<QLineEdit*>(QStringLiteral("F_VALUE"))->setText(QStringLiteral("7"));
        d->findChild<QLineEdit*>(QStringLiteral("UNIT_PRICE"))->setText(QStringLiteral("7"));
        if (way == 0)
            QTest::keyClick(d, Qt::Key_Escape);
        else
            d->close();
        EXPECT_FALSE(d->isVisible());
    }
    addRow(true, QStringLiteral("3"), QStringLiteral("100"));
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_NEW_TECH")), QStringLiteral("1300"));
    EXPECT_EQ(gridRows(QStringLiteral("NT_TBL_COMPARE_DETAIL_NEW")), 2);
    ui.expectBox(UI::Yes);
    sheet()->finishEditing();
    ui.expectBox(UI::Yes);
    window->cycle().save();

    QStringList inMemory;
    store::Table* rows = table(QStringLiteral("NT_TBL_COMPARE_DETAIL"));
    for (const auto& row : rows->allRows())
        inMemory << row.value(rows->fieldIndex(QStringLiteral("PRICE"))).toString();
    inMemory.sort();
    EXPECT_EQ(inMemory, (QStringList{"1000", "300"}));
    EXPECT_EQ(pricesInFile(window->dm().folder().tablePath(QStringLiteral("NT_TBL_COMPARE_DETAIL"))), (QStringList{"1000", "300"}));
    EXPECT_EQ(table(QStringLiteral("NT_TBL_COMPARE_MAIN"))->field(QStringLiteral("N_COST")).asString(), QStringLiteral("1300"));
}

// A thousands comma is no part of a number in a breakdown row: the price shows while typing, a box
// left shows the plain number, and the row is stored with it, even when 確定 comes straight from
// the box.
TEST_F(ComparisonTest, ThousandsCommasInABreakdownRowsNumbersAreReadAsNumbers)
{
    openSheet();
    sheet()->addNewTechnologyRow();
    CompareBreakdownDialog* d = dialog(true);
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    const auto box = [d](const char* name) { return d->findChild<QLineEdit*>(QLatin1String(name)); };
    box("ITEM")->setText(QStringLiteral("土工"));
    box("METHOD")->setText(QStringLiteral("掘削"));
    box("F_UNIT")->setText(QStringLiteral("m3"));
    const auto typeInto = [](QLineEdit* target, const QString& text) {
        target->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([target] { return target->hasFocus(); }, 1000));
        QTest::keyClicks(target, text);
    };
    typeInto(box("UNIT_PRICE"), QStringLiteral("1,200.5"));
    typeInto(box("F_VALUE"), QStringLiteral("1,000"));
    EXPECT_EQ(box("UNIT_PRICE")->text(), QStringLiteral("1200.5")) << "a box left shows the number";
    EXPECT_EQ(box("PRICE")->text(), QStringLiteral("1200500")) << "the price while typing";
    ui.expectBox(UI::Yes);
    d->finishEditing();
    EXPECT_FALSE(d->isVisible()) << ui.boxTexts().join('|').toStdString();
    store::Table* rows = table(comparison::kNewView);
    ASSERT_EQ(rows->recordCount(), 1);
    EXPECT_EQ(rows->field(QStringLiteral("F_VALUE")).asString(), QStringLiteral("1000"));
    EXPECT_EQ(rows->field(QStringLiteral("UNIT_PRICE")).asString(), QStringLiteral("1200.5"));
    EXPECT_EQ(rows->field(QStringLiteral("PRICE")).asString(), QStringLiteral("1200500"));
    EXPECT_EQ(sheetText(QStringLiteral("TOTAL_NEW_TECH")), QStringLiteral("1200500"));
}

// A cycle cost that cannot be a number is refused where it is typed, and one that got in all the
// same keeps the window open with the message; what is stored is always a number.
TEST_F(ComparisonTest, ACycleCostThatIsNoNumberNeverLeavesTheCostTypeWindow)
{
    comparison::CostTypeDialog* types = window->comparison().costTypeWindow();
    find<QPushButton>(QStringLiteral("btnCostType"))->click();
    types->findChild<QRadioButton*>(QStringLiteral("rbD1"))->click();
    auto* one = types->findChild<QLineEdit*>(QStringLiteral("NEWTECH_COST_ONE"));
    auto* three = types->findChild<QLineEdit*>(QStringLiteral("NEWTECH_COST_THREE"));
    QTest::keyClicks(one, QStringLiteral("12a"));
    EXPECT_EQ(one->text(), QStringLiteral("12"));
    three->setText(QStringLiteral("1,000")); // as a stored or pasted text may hold it
    ui.expectBox(UI::Ok);
    types->closeStoringChoice();
    EXPECT_EQ(ui.boxTexts(), QStringList{QStringLiteral("数値を入力してください。")});
    EXPECT_TRUE(types->isVisible());

    three->setText(QStringLiteral("1000"));
    types->closeStoringChoice();
    EXPECT_FALSE(types->isVisible());
    ui.expectBox(UI::Yes);
    window->cycle().save();
    EXPECT_FALSE(window->cycle().isModified()) << ui.boxTexts().join('|').toStdString();
    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    EXPECT_EQ(detail->field(QStringLiteral("NEWTECH_COST_ONE")).asString(), QStringLiteral("12"));
    EXPECT_EQ(detail->field(QStringLiteral("NEWTECH_COST_THREE")).asString(), QStringLiteral("1000"));
    window->cycle().backToList();
    ASSERT_EQ(window->pages()->currentIndex(), 0);
    QFile file(window->dm().folder().tablePath(QStringLiteral("NT_TBL_DETAIL")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    EXPECT_TRUE(written.contains("NEWTECH_COST_ONE=\"12\"") && written.contains("NEWTECH_COST_THREE=\"1000\"")) << written.constData();
}

// Rates changed on the comparison sheet alone are a change of the registration: the save stores
// them.
TEST_F(ComparisonTest, RatesChangedOnlyOnTheSheetAreSavedAndExportedAsShown)
{
    ui.expectBox(UI::Yes);
    window->cycle().save();
    ASSERT_FALSE(window->cycle().isModified());
    openSheet();
    sheet()->box(QStringLiteral("N_PROCESS"))->setText(QStringLiteral("12"));
    sheet()->box(QStringLiteral("O_PROCESS"))->setText(QStringLiteral("10"));
    ui.expectBox(UI::Yes);
    sheet()->finishEditing();
    EXPECT_TRUE(window->cycle().isModified());
    ui.expectBox(UI::Yes); // save on the way to the list
    window->cycle().backToList();
    ASSERT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();
    store::Table* detail = table(QStringLiteral("NT_TBL_DETAIL"));
    EXPECT_EQ(detail->field(QStringLiteral("COMPARE_PROCESS_RATE")).asString(), QStringLiteral("20"));
    QFile file(window->dm().folder().tablePath(QStringLiteral("NT_TBL_DETAIL")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("COMPARE_PROCESS_RATE=\"20\""));
}

// A breakdown box that loses the focus only after its dialog was left by Escape is no box left by
// the user: its clean-up starts no row, and nothing is stored.
TEST_F(ComparisonTest, ABoxOfAClosedBreakdownDialogStartsNoRowWhenItLosesTheFocus)
{
    openSheet();
    sheet()->addNewTechnologyRow();
    CompareBreakdownDialog* d = dialog(true);
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    auto* quantity = d->findChild<QLineEdit*>(QStringLiteral("F_VALUE"));
    quantity->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([quantity] { return quantity->hasFocus(); }, 1000));
    quantity->setText(QStringLiteral("7"));
    QTest::keyClick(d, Qt::Key_Escape);
    ASSERT_FALSE(d->isVisible());
    EXPECT_NE(d->view()->state(), store::Table::State::Insert) << "right after Escape";
    sheet()->activateWindow();
    QTest::qWait(100);
    QApplication::setActiveWindow(sheet());
    QTest::qWait(100);
    EXPECT_NE(d->view()->state(), store::Table::State::Insert);

    ui.expectBox(UI::Yes);
    sheet()->finishEditing();
    ui.expectBox(UI::Yes);
    window->cycle().save();
    EXPECT_TRUE(table(QStringLiteral("NT_TBL_COMPARE_DETAIL"))->allRows().isEmpty());
    EXPECT_TRUE(pricesInFile(window->dm().folder().tablePath(QStringLiteral("NT_TBL_COMPARE_DETAIL"))).isEmpty());
}

} // namespace

#include "WidgetTestSupport.h"

#include "support/ScriptedUserInteraction.h"
#include "widgets/DBCheckBox.h"
#include "widgets/DBEdit.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/DBMemo.h"
#include "widgets/DBRadioGroup.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace widgets;
using widgettest::focus;
using widgettest::makeTable;
using widgettest::showActive;
using testsupport::ScriptedUserInteraction;

namespace {

class BindingTest : public ::testing::Test
{
protected:
    BindingTest()
        : table(makeTable({{"XXK-000001", "Pile", 3, "1", "2", "a\r\nb"}, {"XXK-000002", "Wall", 5, "0", "9", QVariant()}}))
        , source(table.get())
        , title(new DBEdit(&source, "TECH_TITLE", &window))
        , results(new DBEdit(&source, "RESULTS_MOC", &window))
        , note(new DBMemo(&source, "NOTE", &window))
        , other(new QLineEdit(&window))
    {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : {static_cast<QWidget*>(title), static_cast<QWidget*>(results), static_cast<QWidget*>(note), static_cast<QWidget*>(other)})
            layout->addWidget(w);
    }

    ScriptedUserInteraction user;
    std::unique_ptr<store::Table> table;
    store::DataSource source;
    QWidget window;
    DBEdit* title;
    DBEdit* results;
    DBMemo* note;
    QLineEdit* other;
};

TEST_F(BindingTest, ShowsTheCurrentRowAndReloadsWheneverItChanges)
{
    EXPECT_EQ(title->objectName(), "TECH_TITLE");
    EXPECT_EQ(title->text(), "Pile");
    EXPECT_EQ(results->text(), "3");
    EXPECT_EQ(note->toPlainText(), "a\nb");

    table->next(); // scroll
    EXPECT_EQ(title->text(), "Wall");
    EXPECT_EQ(note->text(), "");

    table->edit(); // a value set by code
    table->field("TECH_TITLE").setString("Dam");
    EXPECT_EQ(title->text(), "Dam");
    table->cancel();
    EXPECT_EQ(title->text(), "Wall");

    table->edit();
    table->field("TECH_TITLE").setString("Dam");
    table->post();
    table->first();
    table->last();
    EXPECT_EQ(title->text(), "Dam");
}

TEST_F(BindingTest, FirstUserChangeStartsAnEditAndTheTextIsWrittenWhenLeft)
{
    ASSERT_TRUE(showActive(window));
    ASSERT_TRUE(focus(title));
    QSignalSpy edits(table.get(), &store::Table::afterEdit);
    QTest::keyClicks(title, "X");
    EXPECT_EQ(table->state(), store::Table::State::Edit);
    EXPECT_EQ(edits.count(), 1);
    EXPECT_EQ(table->field("TECH_TITLE").asString(), "Pile"); // not yet written
    QTest::keyClicks(title, "Y");
    EXPECT_EQ(edits.count(), 1);

    ASSERT_TRUE(focus(other));
    EXPECT_EQ(table->field("TECH_TITLE").asString(), "PileXY");
    table->post();
    EXPECT_EQ(title->text(), "PileXY");
}

TEST_F(BindingTest, TypingIntoAnEmptyTableInsertsARowAndKeepsTheTypedText)
{
    table->first();
    table->remove();
    table->remove();
    ASSERT_TRUE(table->isEmpty());
    ASSERT_TRUE(showActive(window));
    ASSERT_TRUE(focus(title));
    QSignalSpy inserts(table.get(), &store::Table::afterInsert);
    QTest::keyClicks(title, "New");
    EXPECT_EQ(inserts.count(), 1);
    EXPECT_EQ(table->state(), store::Table::State::Insert);
    EXPECT_EQ(title->text(), "New");
    ASSERT_TRUE(FieldLink::flush(table.get()));
    table->post();
    EXPECT_EQ(table->recordCount(), 1);
    EXPECT_EQ(table->field("TECH_TITLE").asString(), "New");
}

TEST_F(BindingTest, FlushWritesEveryPendingControlOfTheTableBeforeAPost)
{
    title->setText("Bridge");      // a change made by code counts as the user's
    note->setPlainText("x\ny");
    EXPECT_EQ(table->state(), store::Table::State::Edit);
    ASSERT_TRUE(FieldLink::flush(table.get()));
    table->post();
    EXPECT_EQ(table->field("TECH_TITLE").asString(), "Bridge");
    EXPECT_EQ(table->field("NOTE").asString(), "x\r\ny");
}

TEST_F(BindingTest, ChangeSignalFiresForTypedAndLoadedText)
{
    ASSERT_TRUE(showActive(window));
    QSignalSpy changes(title, &QLineEdit::textChanged);
    table->next();
    EXPECT_EQ(changes.count(), 1);
    ASSERT_TRUE(focus(title));
    QTest::keyClicks(title, "ab");
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(BindingTest, AValueTheFieldRefusesIsShownAndKeptAndBlocksTheFlush)
{
    ASSERT_TRUE(showActive(window));
    ASSERT_TRUE(focus(results));
    results->selectAll();
    QTest::keyClicks(results, "abc");
    user.expectBox(UserInteraction::Ok);
    ASSERT_TRUE(focus(other));
    ASSERT_EQ(user.boxes().size(), 1);
    EXPECT_EQ(user.boxes().at(0).icon, UserInteraction::Icon::Error);
    EXPECT_TRUE(user.boxes().at(0).text.contains("abc"));
    EXPECT_EQ(results->text(), "abc");
    EXPECT_EQ(table->field("RESULTS_MOC").asString(), "3");

    user.expectBox(UserInteraction::Ok);
    EXPECT_FALSE(FieldLink::flush(table.get()));
    EXPECT_EQ(results->text(), "abc");
}

TEST_F(BindingTest, TypingIsLimitedToTheFieldWidthInShiftJisBytes)
{
    ASSERT_TRUE(showActive(window));
    ASSERT_TRUE(focus(title));
    title->clear();
    widgettest::typeText(title, QStringLiteral("あいうえおかきくけこさ")); // 11 two-byte characters, width 20
    EXPECT_EQ(title->text(), QStringLiteral("あいうえおかきくけこ"));
}

TEST_F(BindingTest, ACharacterShiftJisCannotHoldIsRefusedWhereItIsTyped)
{
    ASSERT_TRUE(showActive(window));
    for (QWidget* box : {static_cast<QWidget*>(title), static_cast<QWidget*>(note)}) {
        ASSERT_TRUE(focus(box));
        user.expectBox(UserInteraction::Ok);
        QKeyEvent emoji(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("😀"));
        QApplication::sendEvent(box, &emoji);
    }
    ASSERT_EQ(user.boxes().size(), 2);
    EXPECT_EQ(user.boxes().at(0).caption, "注意");
    EXPECT_TRUE(user.boxes().at(0).text.contains("U+1F600"));
    EXPECT_EQ(title->text(), "Pile");
    EXPECT_EQ(note->text(), "a\r\nb");
    EXPECT_EQ(table->state(), store::Table::State::Browse);
}

TEST_F(BindingTest, CheckBoxShowsAndWritesItsTwoValues)
{
    DBCheckBox box(&source, "FLAG", "安全・安心", &window);
    EXPECT_TRUE(box.isChecked());
    table->next();
    EXPECT_FALSE(box.isChecked());
    QSignalSpy edits(table.get(), &store::Table::afterEdit);
    box.click();
    EXPECT_EQ(edits.count(), 1);
    EXPECT_EQ(table->field("FLAG").asString(), "1");
    box.click();
    EXPECT_EQ(table->field("FLAG").asString(), "0");
}

TEST_F(BindingTest, RadioGroupSelectsTheItemOfTheStoredValue)
{
    DBRadioGroup group(&source, "KIND", "安全性", {{"向上", "1"}, {"同程度", "2"}, {"低下", "3"}}, &window);
    QSignalSpy changes(&group, &DBRadioGroup::changed);
    EXPECT_EQ(group.itemIndex(), 1);
    table->next(); // "9" is no item's value
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_EQ(changes.count(), 1);
    group.button(2)->click();
    EXPECT_EQ(table->state(), store::Table::State::Edit);
    EXPECT_EQ(table->field("KIND").asString(), "3");
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(BindingTest, LookupListShowsTheTitleOfTheStoredKeyAndStoresTheChosenKey)
{
    store::Table organs("NT_STBL_INFO_EV_ORGAN");
    organs.setDeclaredFields({store::fixedText("CD", 2), store::text("EVALUATE_ORGAN", 40)});
    organs.setInitialRows({{"1", "港湾協会"}, {"2", "技術センター"}, {"9", "その他"}});
    organs.createDataSet();
    store::DataSource organSource(&organs);
    DBLookupComboBox list(&source, "KIND", &organSource, "CD", "EVALUATE_ORGAN", &window);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.currentText(), "技術センター");
    table->next();
    EXPECT_EQ(list.currentText(), "その他");

    list.setCurrentIndex(0);
    emit list.activated(0); // the user's choice
    EXPECT_EQ(table->field("KIND").asString(), "1");

    organs.append(); // the list follows its table
    organs.field("CD").setString("3");
    organs.field("EVALUATE_ORGAN").setString("大学");
    organs.post();
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.currentText(), "港湾協会");
}

} // namespace

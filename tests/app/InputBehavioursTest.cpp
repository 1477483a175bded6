#include "app/InputBehaviours.h"
#include "store/DataSource.h"
#include "store/Table.h"
#include "support/ScriptedUserInteraction.h"
#include "util/SjisText.h"
#include "widgets/DBEdit.h"
#include "widgets/DBMemo.h"
#include "widgets/RightAlignedEdit.h"
#include "widgets/TextLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace app;
using testsupport::ScriptedUserInteraction;

namespace {

void typeText(QWidget* widget, const QString& text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &press);
    }
}

bool focus(QWidget* widget)
{
    widget->setFocus(Qt::TabFocusReason);
    return QTest::qWaitFor([widget] { return widget->hasFocus(); }, 1000);
}

// An entry page with a few controls of each kind, named as on the real pages, bound to a head table
// and a description table, with the main window's hooks recorded.
class InputBehavioursTest : public ::testing::Test
{
protected:
    InputBehavioursTest()
        : main("NT_TBL_MAIN")
        , description("NT_TBL_DESCRIPTION")
        , mainSource(&main)
        , descriptionSource(&description)
    {
        main.setDeclaredFields({store::fixedText("REG_NO", 10), store::text("TECH_TITLE", 255), store::floatField("RESULTS_MOC")});
        main.setInitialRows({{"XXK-000001", "杭", 3}});
        main.createDataSet();
        main.first();
        description.setDeclaredFields({store::fixedText("REG_NO", 10), store::memo("SUMMARY_DESC")});
        description.setInitialRows({{"XXK-000001", "概要"}});
        description.createDataSet();
        description.first();

        auto* layout = new QGridLayout(&page);
        auto add = [&](QWidget* w) { layout->addWidget(w, layout->count() / 2, layout->count() % 2); return w; };
        techTitle = static_cast<QLineEdit*>(add(new widgets::DBEdit(&mainSource, "TECH_TITLE")));
        subtitle = static_cast<QLineEdit*>(add(new widgets::DBEdit(&mainSource, "REG_NO", nullptr, "TECH_SUBTITLE")));
        salesSection = static_cast<QLineEdit*>(add(new widgets::TextLineEdit("SALES_SECTION")));
        year = static_cast<QLineEdit*>(add(new widgets::TextLineEdit("TECH_DVLP_YEAR")));
        phone = static_cast<QLineEdit*>(add(new widgets::TextLineEdit("SALES_TEL_NO")));
        headingCount = static_cast<QLineEdit*>(add(new widgets::TextLineEdit("eTCntSUMMARYcol")));
        postCode = static_cast<QLineEdit*>(add(new widgets::TextLineEdit("SALES_POST_CODE1")));
        results = static_cast<QLineEdit*>(add(new widgets::RightDBEdit(&mainSource, "RESULTS_MOC")));
        number = static_cast<QLineEdit*>(add(new widgets::RightEdit("DBEdit_N1")));
        range = static_cast<QLineEdit*>(add(new widgets::RightEdit("DBEdit_R11")));
        summaryDesc = static_cast<widgets::TextMemo*>(add(new widgets::DBMemo(&descriptionSource, "SUMMARY_DESC")));
        conditionText = static_cast<widgets::TextMemo*>(add(new widgets::TextMemo("DBMemo_T1")));
        patentNumber = static_cast<widgets::TextMemo*>(add(new widgets::TextMemo("CERTIFY_PATENT_NO1")));
        level = static_cast<QComboBox*>(add(new QComboBox));
        level->setObjectName("Level1");
        level->addItems({"a", "b"});

        EditingHooks hooks;
        hooks.markModified = [this] { ++modifiedMarks; };
        hooks.isNewMode = [this] { return newMode; };
        hooks.isSaveEnabled = [this] { return saveEnabled; };
        hooks.setSaveEnabled = [this](bool on) { saveEnabled = on; };
        hooks.putDetailInEdit = [this] { ++detailEdits; };
        hooks.table = [this](const QString& name) { return name == "NT_TBL_DESCRIPTION" ? &description : nullptr; };
        behaviours = std::make_unique<InputBehaviours>(hooks);
        missing = behaviours->attach(&page);
        page.show();
        page.activateWindow();
        active = QTest::qWaitForWindowActive(&page);
    }

    ScriptedUserInteraction user;
    store::Table main, description;
    store::DataSource mainSource, descriptionSource;
    QWidget page;
    QLineEdit *techTitle, *subtitle, *salesSection, *year, *phone, *headingCount, *postCode, *results, *number, *range;
    widgets::TextMemo *summaryDesc, *conditionText, *patentNumber;
    QComboBox* level;
    std::unique_ptr<InputBehaviours> behaviours;
    QStringList missing;
    bool active = false;
    int modifiedMarks = 0;
    int detailEdits = 0;
    bool newMode = true;
    bool saveEnabled = false;
};

TEST_F(InputBehavioursTest, AttachFindsTheControlsByNameAndReportsTheOthers)
{
    ASSERT_TRUE(active);
    EXPECT_FALSE(missing.contains("TECH_TITLE"));
    EXPECT_FALSE(missing.contains("DBMemo_T1"));
    EXPECT_TRUE(missing.contains("KEYWD_FREE1"));
    EXPECT_EQ(missing.count("RESULTS_MOC"), 0);
}

TEST_F(InputBehavioursTest, ListsHoldTheExpectedNumberOfControls)
{
    EXPECT_EQ(kMarkChangedWhenNewBoxes.size(), 95);
    QStringList unique = kMarkChangedWhenNewBoxes;
    EXPECT_EQ(unique.removeDuplicates(), 0);
    EXPECT_EQ(kKeywordAndAimCheckBoxes.size(), 20);
    EXPECT_EQ(kConvertOnLeavingBoxes.size(), 85);
    EXPECT_EQ(kConvertKeepingSaveStateBoxes.size(), 26);
    EXPECT_EQ(kNumberBoxes.size(), 25);
    EXPECT_EQ(kChoiceOnlyLists.size(), 22);
    EXPECT_TRUE(kConvertKeepingSaveStateBoxes.contains("LEVEL4_COMBO5"));
    EXPECT_TRUE(kChoiceOnlyLists.contains("Level4_5"));
}

TEST_F(InputBehavioursTest, EnterMovesTheFocusToTheNextBox)
{
    ASSERT_TRUE(active);
    ASSERT_TRUE(focus(techTitle));
    QTest::keyClick(techTitle, Qt::Key_Return);
    EXPECT_TRUE(subtitle->hasFocus());
    QTest::keyClick(subtitle, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(salesSection->hasFocus());
}

TEST_F(InputBehavioursTest, KeyFiltersLetOnlyTheirCharactersThrough)
{
    ASSERT_TRUE(active);
    struct Case
    {
        QLineEdit* box;
        QString start;
        QString typed;
        bool backspace;
        QString expected;
    };
    const QList<Case> cases = {
        {year, "", "19a9-8", false, "1998"},
        {year, "12", "", true, "1"},
        {phone, "", "(03)+1-2x3", false, "(03)+1-23"},
        {number, "", "1e-2.5", false, "12.5"},
        {headingCount, "", "4321", false, "321"},
        {headingCount, "2", "", true, "2"}, // backspace is refused too
        {postCode, "", "１2ab3", false, "23"},
    };
    for (const Case& c : cases) {
        c.box->setText(c.start);
        ASSERT_TRUE(focus(c.box));
        c.box->end(false);
        typeText(c.box, c.typed);
        if (c.backspace)
            QTest::keyClick(c.box, Qt::Key_Backspace);
        EXPECT_EQ(c.box->text(), c.expected) << c.box->objectName().toStdString() << " typed " << c.typed.toStdString();
    }

    ASSERT_TRUE(focus(level));
    typeText(level, "b");
    EXPECT_EQ(level->currentIndex(), 0);
    typeText(conditionText, "a");
    QTest::keyClick(conditionText, Qt::Key_Return);
    EXPECT_EQ(conditionText->text(), "a");
}

TEST(BlankRuleTest, ShrinksEveryRunOfBlanksToOneAndPutsTheCursorAfterTheFirstBlankThatStays)
{
    struct Case
    {
        QString text;
        bool changed;
        QString expected;
        int cursor;
    };
    const QList<Case> cases = {
        {"a b", false, "a b", 0},
        {"a  b", true, "a b", 2},
        {"a  b  c", true, "a b c", 2},
        {"a b    c", true, "a b c", 4},
        {QStringLiteral("全　 と"), true, QStringLiteral("全 と"), 2},     // full-width blank beside a blank: two blanks
        {QStringLiteral("　　x"), true, QStringLiteral(" x"), 1},
        {QStringLiteral("表　示　 a"), true, QStringLiteral("表 示 a"), 4}, // every full-width blank becomes a blank
        {QStringLiteral("一　つ"), false, QStringLiteral("一　つ"), 0},
        {QStringLiteral("ｱ  ｲ"), true, QStringLiteral("ｱ ｲ"), 2},
    };
    for (const Case& c : cases) {
        QString text = c.text;
        int cursor = 0;
        EXPECT_EQ(inputrules::removeDoubleBlank(&text, &cursor), c.changed) << c.text.toStdString();
        EXPECT_EQ(text, c.expected) << c.text.toStdString();
        if (c.changed)
            EXPECT_EQ(cursor, c.cursor) << c.text.toStdString();
    }
}

TEST_F(InputBehavioursTest, ASecondBlankTypedAfterABlankHasNoEffect)
{
    ASSERT_TRUE(active);
    ASSERT_TRUE(focus(salesSection));
    typeText(salesSection, "ab  c");
    EXPECT_EQ(salesSection->text(), "ab c");
    ASSERT_TRUE(focus(summaryDesc));
    summaryDesc->setText("x\r\ny");
    summaryDesc->setCursorPositionInText(3);
    typeText(summaryDesc, QStringLiteral("　 "));
    EXPECT_EQ(summaryDesc->text(), "x\r\n y");
    EXPECT_EQ(summaryDesc->cursorPositionInText(), 4);
}

TEST_F(InputBehavioursTest, PasteMeetsTheSameFiltersAsTypingAndOneLineMemosJoinTheLines)
{
    ASSERT_TRUE(active);
    ASSERT_TRUE(focus(phone));
    phone->clear();
    QApplication::clipboard()->setText(QStringLiteral("1abc"));
    user.expectBox(UserInteraction::Ok);
    QTest::keyClick(phone, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(phone->text().isEmpty());
    ASSERT_EQ(user.boxes().size(), 1);
    EXPECT_EQ(user.boxes().first().caption, QStringLiteral("注意"));
    EXPECT_TRUE(user.boxes().first().text.contains(QStringLiteral("「a」")));

    // A condition's note keeps both sentences on its one line; a blank at a line's end and the
    // joining blank become one by the blank rule.
    QApplication::clipboard()->setText(QStringLiteral("幅は5m以上。 \r\n高さは制限なし。"));
    ASSERT_TRUE(focus(conditionText));
    conditionText->clear();
    user.clearBoxes();
    user.expectBox(UserInteraction::Ok);
    QTest::keyClick(conditionText, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(conditionText->text(), QStringLiteral("幅は5m以上。 高さは制限なし。"));
    EXPECT_EQ(user.boxTexts(), QStringList{QStringLiteral("改行を含む文字列のため、行を空白でつないで貼り付けました。")});
}

TEST_F(InputBehavioursTest, PatentNumbersFollowTheBlankRule)
{
    patentNumber->setText(QStringLiteral("特許  第1号"));
    EXPECT_EQ(patentNumber->text(), QStringLiteral("特許 第1号"));
}

TEST_F(InputBehavioursTest, ConvertedTextThatNoLongerFitsIsCutWithTheMessageWhereTheUserSeesIt)
{
    ASSERT_TRUE(active);
    main.edit();
    ASSERT_TRUE(focus(techTitle));
    techTitle->setText(QString(200, QChar(0xFF71))); // 200 bytes; 400 once converted, the field holds 255
    user.expectBox(UserInteraction::Ok);
    ASSERT_TRUE(focus(year));
    ASSERT_EQ(user.boxes().size(), 1);
    EXPECT_EQ(user.boxes().first().text, "文字制限をオーバーしました。\r\n制限を越えた分は削除されます。");
    EXPECT_EQ(techTitle->text(), QString(127, QChar(0x30A2)));
    EXPECT_TRUE(QTest::qWaitFor([this] { return techTitle->hasFocus(); }, 1000));
    EXPECT_EQ(main.field("TECH_TITLE").asString(), QString(127, QChar(0x30A2)));
}

TEST_F(InputBehavioursTest, PastedRunsOfBlanksShrinkInOnePass)
{
    ASSERT_TRUE(active);
    // Many pairs of blanks at once (a paste): the text is set twice, not once for each pair.
    QString pasted;
    for (int i = 0; i < 2000; ++i)
        pasted += QStringLiteral("語  ");
    int changes = 0;
    QObject::connect(summaryDesc, &QPlainTextEdit::textChanged, [&changes] { ++changes; });
    summaryDesc->setText(pasted);
    EXPECT_EQ(summaryDesc->text(), QString(pasted).replace(QStringLiteral("  "), QStringLiteral(" ")));
    EXPECT_LE(changes, 3);
}

TEST_F(InputBehavioursTest, ChangesAreMarkedAsTheModeAndTheListSay)
{
    ASSERT_TRUE(active);
    salesSection->setText("営業部");
    EXPECT_EQ(modifiedMarks, 1);
    newMode = false;
    salesSection->setText("技術部");
    EXPECT_EQ(modifiedMarks, 1); // in an opened registration the table's edit marks the change
    techTitle->setText("新しい名前");
    EXPECT_EQ(modifiedMarks, 1);
    subtitle->setText("副題"); // markChanged marks in any mode
    EXPECT_EQ(modifiedMarks, 2);

    postCode->setText("123"); // set by code: the post-code flag is off
    EXPECT_EQ(detailEdits, 0);
    ASSERT_TRUE(focus(postCode));
    EXPECT_TRUE(behaviours->postCodeFocus());
    typeText(postCode, "4");
    EXPECT_EQ(detailEdits, 1);
    EXPECT_EQ(modifiedMarks, 3);
    ASSERT_TRUE(focus(year));
    EXPECT_FALSE(behaviours->postCodeFocus());
}

TEST_F(InputBehavioursTest, WidthsAreConvertedOnLeavingABoundBoxOnlyWhileItsTableEdits)
{
    ASSERT_TRUE(active);
    main.edit();
    main.field("TECH_TITLE").setString(QStringLiteral("ｸｲ ＡＢＣ"));
    main.post();
    ASSERT_TRUE(focus(techTitle));
    saveEnabled = false;
    ASSERT_TRUE(focus(year));
    EXPECT_EQ(techTitle->text(), QStringLiteral("ｸｲ ＡＢＣ")); // browse state: left alone
    EXPECT_EQ(main.state(), store::Table::State::Browse);

    main.edit();
    ASSERT_TRUE(focus(subtitle));
    ASSERT_TRUE(focus(techTitle));
    ASSERT_TRUE(focus(year));
    EXPECT_EQ(techTitle->text(), QStringLiteral("クイ ABC"));
    EXPECT_EQ(main.field("TECH_TITLE").asString(), QStringLiteral("クイ ABC"));
    EXPECT_FALSE(saveEnabled); // the conversion on leaving TECH_TITLE marks no change

    salesSection->setText(QStringLiteral("ｴｲｷﾞｮｳ１"));
    ASSERT_TRUE(focus(salesSection));
    ASSERT_TRUE(focus(year));
    EXPECT_EQ(salesSection->text(), QStringLiteral("エイギョウ1"));
}

TEST_F(InputBehavioursTest, NumbersAreCleanedUpOnLeaving)
{
    ASSERT_TRUE(active);
    struct Case
    {
        QLineEdit* box;
        QString typed;
        QString expected;
    };
    const QList<Case> cases = {
        {results, "-12.7", "12"}, {results, "", "0"},   {number, "2.125", "2.13"}, {number, "2.124", "2.12"},
        {number, "-3", "3"},      {number, "", "0"},    {number, QStringLiteral("１．５"), "1.5"},
        {range, "", ""},          {range, "0.004", "0"}, {range, "-7.5", "7.5"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(focus(c.box));
        c.box->setText(c.typed);
        ASSERT_TRUE(focus(year));
        EXPECT_EQ(c.box->text(), c.expected) << c.box->objectName().toStdString() << " " << c.typed.toStdString();
    }
    EXPECT_EQ(main.field("RESULTS_MOC").asString(), "0");
    EXPECT_TRUE(user.boxes().isEmpty());
}

TEST_F(InputBehavioursTest, ANonNumericTextShowsOneErrorBoxAndKeepsItsText)
{
    ASSERT_TRUE(active);
    for (QLineEdit* box : {range, results}) {
        ASSERT_TRUE(focus(box));
        box->setText("abc");
        user.expectBox(UserInteraction::Ok);
        ASSERT_TRUE(focus(year));
        EXPECT_EQ(box->text(), "abc");
    }
    ASSERT_EQ(user.boxes().size(), 2);
    for (const auto& box : user.boxes()) {
        EXPECT_EQ(box.icon, UserInteraction::Icon::Error);
        EXPECT_EQ(box.caption, "VORDELL");
        EXPECT_TRUE(box.text.contains("'abc'"));
    }
    EXPECT_EQ(main.field("RESULTS_MOC").asString(), "3");
}

TEST_F(InputBehavioursTest, AMemoOverItsLimitIsCutWithTheMessageAndKeepsTheFocus)
{
    ASSERT_TRUE(active);
    ASSERT_TRUE(focus(summaryDesc));
    summaryDesc->setText(QString(2000, QChar(0xFF71))); // half-width katakana: 2000 bytes
    ASSERT_EQ(description.state(), store::Table::State::Edit);
    user.expectBox(UserInteraction::Ok);
    ASSERT_TRUE(focus(year));
    ASSERT_EQ(user.boxes().size(), 1);
    EXPECT_EQ(user.boxes().at(0).caption, "VORDELL");
    EXPECT_EQ(user.boxes().at(0).text, "文字制限をオーバーしました。\r\n制限を越えた分は削除されます。");
    EXPECT_EQ(summaryDesc->text(), QString(1000, QChar(0x30A2)));
    EXPECT_EQ(description.field("SUMMARY_DESC").asString(), QString(1000, QChar(0x30A2)));
    EXPECT_TRUE(QTest::qWaitFor([this] { return summaryDesc->hasFocus(); }, 1000));
}

TEST_F(InputBehavioursTest, MemoCleanUpShrinksTrailingLineBreaksAndWaitsForTheDescriptionEdit)
{
    ASSERT_TRUE(active);
    description.edit();
    description.field("SUMMARY_DESC").setString(QStringLiteral("ｱ\r\n\r\n\r\n"));
    description.post();
    ASSERT_TRUE(focus(summaryDesc));
    ASSERT_TRUE(focus(year));
    EXPECT_EQ(summaryDesc->text(), QStringLiteral("ｱ\r\n\r\n\r\n")); // not edited: left alone

    conditionText->setText(QStringLiteral("ｶﾞ\r\n\r\n"));
    ASSERT_TRUE(focus(conditionText));
    ASSERT_TRUE(focus(year));
    EXPECT_EQ(conditionText->text(), QStringLiteral("ガ\r\n"));
    EXPECT_EQ(conditionText->cursorPositionInText(), 0);

    const inputrules::MemoCleanUp short3 = inputrules::cleanUpMemo("\r\n\r\n", 255);
    EXPECT_EQ(short3.text, "\r\n");
    EXPECT_EQ(inputrules::cleanUpMemo("ab\r\n", 255).text, "ab\r\n");
    const inputrules::MemoCleanUp cut = inputrules::cleanUpMemo(QString(254, 'a') + QStringLiteral("あ"), 255);
    EXPECT_TRUE(cut.cut);
    EXPECT_EQ(cut.text, QString(254, 'a')); // never half a character
}

TEST_F(InputBehavioursTest, BeginningWorkGivesAnEmptyCountZero)
{
    results->clear();
    behaviours->BeginningWork(results);
    EXPECT_EQ(results->text(), "0");
    EXPECT_GE(modifiedMarks, 1);
}

} // namespace

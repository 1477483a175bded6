#include "EntryWindowFixture.h"
#include "support/PhotoBytes.h"
#include "app/ClassificationLists.h"
#include "app/ScrollingPage.h"

#include "widgets/BusyIndicator.h"
#include "widgets/TextMemo.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

using UI = UserInteraction;

namespace {

// A JPEG picture `width` pixels wide, padded behind its end to `size` bytes where it is smaller.
QByteArray jpeg(int width, int size)
{
    const QByteArray bytes = testsupport::jpegPhoto(width, 8);
    return bytes + QByteArray(std::max(0, size - int(bytes.size())), 'x');
}

class SaveCheckTest : public EntryWindowFixture
{
protected:
    void SetUp() override
    {
        EntryWindowFixture::SetUp();
        ui.setDesktopFolder(dir.filePath("Desktop"));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->cycle().newRegistration();
    }
    void type(const QString& name, const QString& text) const { find<QLineEdit>(name)->setText(text); }
    // "保   存" answered Yes (and the error box of a failing check confirmed); true when the
    // registration was saved.
    bool save(bool failing = false)
    {
        ui.expectBox(UI::Yes);
        if (failing)
            ui.expectBox(UI::Ok);
        window->cycle().save();
        return window->cycle().mode() == 1;
    }
    bool hasFocus(const QString& name) const
    {
        QWidget* control = find(name);
        return QTest::qWaitFor([control] { return control->hasFocus(); }, 1000);
    }
    QString currentTab(const QString& tabsName) const { return find<QTabWidget>(tabsName)->currentWidget()->objectName(); }
};

} // namespace

TEST_F(SaveCheckTest, FailingRuleShowsItsBoxFocusesItsControlAndDoesNotSave)
{
    const struct
    {
        const char* typedBox; // what the user typed, into which box
        QString typed;
        QString control;
        QString message;
        QString page;    // entry page shown
        QString subPage; // "tabs/page" selected, if any
    } cases[] = {
        {nullptr, {}, "TECH_TITLE", QStringLiteral("名称を入力してください。"), "TbsPattern1", {}},
        {"TECH_DVLP_YEAR", "98", "TECH_DVLP_YEAR",
         QStringLiteral("技術開発年：書式が誤っています。\r\n半角で数値を入力してください。"), "TbsPattern1", {}},
        // A date the field itself would refuse gets the rule's message, not the field's.
        {"DB_REG_DATE", "2024/02/30", "DB_REG_DATE",
         QStringLiteral("記入年月日：書式が誤っています。\r\nyyyy/mm/dd の形式で半角入力してください。"), "TbsPattern1", {}},
        {"SALES_POST_CODE_BUSINESS2", "1234", "SALES_POST_CODE_BUSINESS1",
         QStringLiteral("問合せ先（郵便番号）：書式が誤っています。\r\n半角で３桁の整数を入力してください。"), "TbsPattern1",
         "PageControl3/TabSheet24"},
        {"EVALUATE_PRIVATE_NO", QStringLiteral("第1号"), "EVALUATE_PRIVATE_DATE",
         QStringLiteral("評価年月日を入力してください。"), "TabSheet4", "PageEVALUATE/PageEVALUATE2"},
    };
    for (const auto& c : cases) {
        window->pages()->setCurrentWidget(find("PageControl2"));
        ui.clearBoxes();
        if (c.typedBox) {
            type("TECH_TITLE", QStringLiteral("防波堤の新工法"));
            type(c.typedBox, c.typed);
        }
        EXPECT_FALSE(save(true)) << c.control.toStdString();
        ASSERT_EQ(ui.boxes().size(), 2);
        EXPECT_EQ(ui.boxes().last().caption, QStringLiteral("エラー"));
        EXPECT_EQ(ui.boxes().last().icon, UI::Icon::Error);
        EXPECT_EQ(ui.boxes().last().text, c.message);
        EXPECT_EQ(window->pages()->currentWidget()->objectName(), c.page);
        if (!c.subPage.isEmpty())
            EXPECT_EQ(currentTab(c.subPage.section('/', 0, 0)), c.subPage.section('/', 1));
        EXPECT_TRUE(hasFocus(c.control)) << c.control.toStdString();
        EXPECT_EQ(window->dm().table("NT_TBL_MAIN")->recordCount(), 0) << "nothing posted";
        if (c.typedBox) {
            EXPECT_EQ(find<QLineEdit>(c.typedBox)->text(), c.typed) << "the entered value stays for the correction";
            find<QLineEdit>(c.typedBox)->clear();
        }
    }
    type("TECH_TITLE", QStringLiteral("防波堤の新工法"));
    type("TECH_DVLP_YEAR", "1998");
    type("DB_REG_DATE", "1997/04/01");
    type("SALES_POST_CODE1", "100");
    type("SALES_POST_CODE2", "0001");
    ui.clearBoxes();
    EXPECT_TRUE(save());
    EXPECT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(mainField("TECH_DVLP_YEAR"), QStringLiteral("1998"));
}

TEST_F(SaveCheckTest, PhotoTooLargeForTheSubmissionIsDroppedFromItsSlotAndItsTitleKept)
{
    type("TECH_TITLE", QStringLiteral("防波堤の新工法"));
    // Accepted when chosen (below 185 KB of 1024 bytes) but above the 185000 bytes a submission holds.
    ui.expectFile(dir.write("Desktop/photo.jpg", jpeg(600, 185001)));
    ui.expectBox(UI::Ok);
    find<QPushButton>("BtnPICTURE_B")->click();
    const QString regNo = mainField("REG_NO");
    type("PICTURE_B", QStringLiteral("全景"));

    ui.clearBoxes();
    EXPECT_FALSE(save(true));
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_EQ(ui.boxes().last().text, QStringLiteral("写真のﾌｧｲﾙｻｲｽﾞが大きすぎます。\r\n185K ﾊﾞｲﾄ以内にしてください。"));
    EXPECT_EQ(window->pages()->currentWidget(), find("PageControl2"));
    EXPECT_TRUE(hasFocus("BtnPICTURE_B"));
    EXPECT_TRUE(find<QLineEdit>("ImagePath_B")->text().isEmpty());
    EXPECT_FALSE(find("BtnCancelPICTURE_B")->isEnabled());
    // What the user typed stays, open for a change.
    EXPECT_EQ(find<QLineEdit>("PICTURE_B")->text(), QStringLiteral("全景"));
    EXPECT_TRUE(find("PICTURE_B")->isEnabled());

    // A title without its photo does not pass either.
    ui.clearBoxes();
    EXPECT_FALSE(save(true));
    EXPECT_EQ(ui.boxes().last().text, QStringLiteral("画像ファイルが見つかりません。\r\n画像ファイルを選択し直して下さい。"));

    // Without the title the slot passes; neither its row nor its file outlives the save.
    find<QLineEdit>("PICTURE_B")->clear();
    EXPECT_TRUE(save());
    EXPECT_FALSE(window->dm().table("NT_TBL_INFO_IMAGES")->locate("REG_NO", regNo));
    EXPECT_TRUE(QDir(dir.filePath("Images")).entryList(QDir::Files).isEmpty());
}

TEST_F(SaveCheckTest, PhotoWhoseFileIsGoneNeverPassesEvenWithoutTitle)
{
    type("TECH_TITLE", QStringLiteral("防波堤の新工法"));
    ui.expectFile(dir.write("Desktop/photo.jpg", jpeg(600, 1000)));
    ui.expectBox(UI::Ok);
    find<QPushButton>("BtnPICTURE_G")->click();
    ASSERT_TRUE(QFile::remove(dir.filePath("Images/" + mainField("REG_NO") + "G.jpg")));

    ui.clearBoxes();
    EXPECT_FALSE(save(true));
    EXPECT_EQ(ui.boxes().last().text, QStringLiteral("画像ファイルが見つかりません。\r\n画像ファイルを選択し直して下さい。"));
    EXPECT_TRUE(hasFocus("BtnPICTURE_G"));
    EXPECT_TRUE(find<QLineEdit>("ImagePath_G")->text().isEmpty());
    EXPECT_TRUE(save());
    EXPECT_FALSE(window->dm().table("NT_TBL_INFO_IMAGES")->locate("REG_NO", mainField("REG_NO")));
}

TEST_F(SaveCheckTest, EveryWayToASaveAppliesTheMemoLimitsWithTheirMessage)
{
    const QString limit = QStringLiteral("文字制限をオーバーしました。\r\n制限を越えた分は削除されます。");
    type("TECH_TITLE", QStringLiteral("防波堤の新工法"));
    type("COMPARE_TECH_TITLE", QStringLiteral("従来の工法"));
    // Pasted into the focused summary text, and the window closed at once.
    window->pages()->setCurrentWidget(find("PageControl2"));
    auto* summary = find<widgets::TextMemo>("SUMMARY_DESC");
    ASSERT_TRUE(QTest::qWaitFor([&] { summary->setFocus(); return summary->hasFocus(); }, 1000));
    summary->setText(QString(10000, QChar(0x3042)));
    ui.clearBoxes();
    ui.expectBox(UI::Yes);
    ui.expectBox(UI::Ok);
    EXPECT_FALSE(window->cycle().mayClose());
    EXPECT_EQ(ui.boxTexts(), (QStringList{QStringLiteral("編集データを保存しますか？"), limit}));
    EXPECT_EQ(summary->text(), QString(1000, QChar(0x3042)));
    EXPECT_TRUE(hasFocus("SUMMARY_DESC"));
    EXPECT_EQ(window->dm().table("NT_TBL_MAIN")->recordCount(), 0) << "nothing saved unseen";

    // A memo over its limit that does not have the focus is cut the same way before a save.
    find<widgets::TextMemo>("SUMMARY")->setText(QString(400, 'a'));
    ui.clearBoxes();
    EXPECT_FALSE(save(true));
    EXPECT_EQ(ui.boxTexts().last(), limit);
    EXPECT_TRUE(hasFocus("SUMMARY"));

    EXPECT_TRUE(save());
    store::Table* description = window->dm().table("NT_TBL_DESCRIPTION");
    EXPECT_EQ(description->field("SUMMARY_DESC").asString(), QString(1000, QChar(0x3042)));
    EXPECT_EQ(mainField("SUMMARY"), QString(255, 'a'));
}

TEST_F(SaveCheckTest, OverlongTableFocusesItsGrid)
{
    type("TECH_TITLE", QStringLiteral("防波堤の新工法"));
    window->pages()->setCurrentWidget(find("TbsPattern1"));
    // "1\t1\t0\t0" + CR LF + 1000 full-width characters + CR LF: 2011 bytes.
    find<QTableWidget>("FEATURE_TABLE")->setItem(1, 1, new QTableWidgetItem(QString(1000, QChar(0x3042))));
    EXPECT_FALSE(save(true));
    EXPECT_EQ(ui.boxes().last().text, QStringLiteral("特徴の表で入力文字数が2000文字を超えています。"));
    EXPECT_EQ(window->pages()->currentWidget(), find("PageControl2"));
    EXPECT_TRUE(hasFocus("FEATURE_TABLE"));
}

TEST_F(SaveCheckTest, RefusedDateNamesTheBoxByItsCaption)
{
    QLineEdit* date = find<QLineEdit>("DB_REG_DATE");
    date->setFocus();
    ASSERT_TRUE(hasFocus("DB_REG_DATE"));
    date->setText("2024/02/30");
    ui.expectBox(UI::Ok);
    find("TECH_TITLE")->setFocus();
    ASSERT_TRUE(hasFocus("TECH_TITLE"));
    EXPECT_EQ(ui.boxTexts(), QStringList{QStringLiteral("'2024/02/30' は 記入年月日 の日付として正しくありません。")});
}

TEST_F(SaveCheckTest, CheckListShowsEveryProblemInRuleOrderAndALineShowsItsControl)
{
    type("TECH_DVLP_YEAR", "98");
    type("DB_REG_DATE", "2024/02/30");
    type("SALES_POST_CODE2", "12");
    type("RESULTS_MOC", "1x");
    type("EVALUATE_PRIVATE_NO", QStringLiteral("第1号"));
    type("EVALUATE_DATE3", "2024/13/01");
    ui.clearBoxes();

    window->showInputCheck();
    auto* list = find<QTreeWidget>("ProblemList");
    ASSERT_TRUE(list);
    QStringList lines;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        lines << item->text(0) + " | " + item->text(1) + " | " + item->text(2);
    }
    const QString form = QStringLiteral("yyyy/mm/dd の形式で半角入力してください。");
    EXPECT_EQ(lines, (QStringList{
                         QStringLiteral("名称・分類等 | 保存 | 名称を入力してください。"),
                         QStringLiteral("名称・分類等 | 保存 | 技術開発年：書式が誤っています。 半角で数値を入力してください。"),
                         QStringLiteral("名称・分類等 | 保存 | 記入年月日：書式が誤っています。 ") + form,
                         QStringLiteral("名称・分類等（技術） | 保存 | 問合せ先（郵便番号）：書式が誤っています。 半角で３桁の整数を入力してください。"),
                         QStringLiteral("名称・分類等（技術） | 保存 | 問合せ先（郵便番号）：書式が誤っています。 半角で４桁の整数を入力してください。"),
                         QStringLiteral("施工実績等 | 保存 | 実績件数（国土交通省）：書式が誤っています。 半角で数値を入力してください。"),
                         QStringLiteral("施工実績等 | 保存 | 評価年月日を入力してください。"),
                         QStringLiteral("施工実績等 | 保存 | 評価機関を選択してください。"),
                         QStringLiteral("施工実績等 | 保存 | 評価年月日(その他の制度等による証明)：書式が誤っています。 ") + form,
                         QStringLiteral("名称・分類等 | 提出 | ･ 技術名称"),
                         QStringLiteral("名称・分類等 | 提出 | ･ 区分(選択)"),
                         QStringLiteral("名称・分類等 | 提出 | ･ 分類(選択)"),
                     }));
    EXPECT_TRUE(ui.boxes().isEmpty()) << "the list shows no message box";

    // Choosing a line brings its page, tab and control into view.
    emit list->itemActivated(list->topLevelItem(8), 0);
    EXPECT_EQ(window->pages()->currentWidget()->objectName(), QStringLiteral("TabSheet4"));
    EXPECT_EQ(currentTab("PageEVALUATE"), QStringLiteral("PageEVALUATE3"));
    EXPECT_TRUE(hasFocus("EVALUATE_DATE3"));
    QWidget* date = find("EVALUATE_DATE3");
    const auto* page = static_cast<app::ScrollingPage*>(window->pages()->currentWidget());
    const int top = date->mapTo(page, QPoint(0, 0)).y();
    EXPECT_GE(top, app::ScrollingPage::kHeaderHeight);
    EXPECT_LE(top + date->height(), page->height());

    // Mended, the line is gone on the next run.
    type("EVALUATE_DATE3", "2024/12/01");
    find<QPushButton>("BtnRecheck")->click();
    EXPECT_EQ(list->topLevelItemCount(), 11);
}

// The check holds the program while it runs: past the delay, each of its steps lets the busy
// window appear.
TEST_F(SaveCheckTest, TheCheckSaysItGoesOnSoThatALongOneShowsTheBusyWindow)
{
    const widgets::BusyIndicator busy(QStringLiteral("入力内容をチェックしています…"), window.get(), 1);
    QThread::msleep(10);
    EXPECT_FALSE(busy.window()->isVisible());
    window->inputProblems();
    EXPECT_TRUE(busy.window()->isVisible());
}

// Choosing a line of the check list hands the keyboard to its control, with the list moved out of
// its way wherever it stood; a slot whose first level is chosen leads to the level below.
TEST_F(SaveCheckTest, TheCheckListStepsAsideFromTheControlItShowsAndFindsTheOpenLevel)
{
    window->classification().listOpened(1, 1);
    pick(QStringLiteral("Level1"), QStringLiteral("港湾・海岸工事"));
    type("TECH_TITLE", QStringLiteral("新工法"));
    window->setGeometry(40, 40, 900, 640);
    window->showInputCheck();
    auto* list = find<QTreeWidget>("ProblemList");
    QWidget* checkWindow = list->window();
    int row = -1;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(2) == QStringLiteral("･ 分類(選択)"))
            row = i;
    }
    ASSERT_GE(row, 0);
    QWidget* level2 = find("Level2");
    emit list->itemActivated(list->topLevelItem(row), 0);
    EXPECT_TRUE(hasFocus("Level2")) << "the first open level, not level 1";
    // The list put back right over the level list, and the line chosen again.
    checkWindow->move(level2->mapToGlobal(QPoint(0, 0)) - QPoint(20, 20));
    checkWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(checkWindow));
    emit list->itemActivated(list->topLevelItem(row), 0);
    EXPECT_TRUE(hasFocus("Level2"));
    EXPECT_EQ(QApplication::activeWindow(), window.get());
    const QRect shown(level2->mapToGlobal(QPoint(0, 0)), level2->size());
    EXPECT_FALSE(checkWindow->frameGeometry().intersects(shown));
    EXPECT_TRUE(checkWindow->isVisible());
}

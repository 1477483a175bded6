#include "app/MainWindow.h"
#include "app/ScrollingPage.h"
#include "store/Table.h"
#include "store/TableFile.h"
#include "RegistrationRows.h"
#include "support/PhotoBytes.h"
#include "support/ScriptedUserInteraction.h"
#include "support/ShippedProgramFolder.h"
#include "support/TempDir.h"
#include "util/SjisText.h"
#include "widgets/DBCheckBox.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/DBMemo.h"
#include "widgets/DBRadioGroup.h"
#include "widgets/TextLineEdit.h"
#include "widgets/TextMemo.h"
#include <QPlainTextEdit>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QAction>
#include <QDialog>
#include <QTimer>
#include <QLineEdit>
#include <gtest/gtest.h>

using app::MainWindow;
using testsupport::ScriptedUserInteraction;
using UI = UserInteraction;

namespace {

const QString kSaveQuestion = QStringLiteral("編集データを保存しますか？");

// The five tables whose fields the entry pages edit directly.
const QStringList kEditedTables = {"NT_TBL_MAIN", "NT_TBL_DETAIL", "NT_TBL_DETAIL_FREE", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE"};

// The main window over a copy of the shipped program folder, started as the program starts it.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::copyShippedProgramFolder(dir.path());
        startWindow();
    }

    void startWindow()
    {
        window = std::make_unique<MainWindow>(dir.path());
        ASSERT_TRUE(window->start());
    }

    // Closes the window from the list page and destroys it with its tables.
    void restart()
    {
        if (window->pages()->currentIndex() != 0) {
            window->cycle().backToList();
            ASSERT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();
        }
        ASSERT_TRUE(window->close());
        window.reset();
        startWindow();
    }

    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        T* control = window->control<T>(name);
        EXPECT_TRUE(control) << name.toStdString();
        return control;
    }
    store::Table* table(const QString& name) const { return window->dm().table(name); }
    QString field(const QString& tableName, const QString& name) const { return table(tableName)->field(name).asString().trimmed(); }
    int rowsInFile(const QString& tableName) const
    {
        QList<store::FieldDef> fields;
        QList<QVector<QVariant>> rows;
        EXPECT_TRUE(store::TableFile::read(window->dm().folder().tablePath(tableName), &fields, &rows, nullptr));
        return int(rows.size());
    }
    // The window shown, one record of other clients added through its dialog and confirmed: it
    // is in the table's file at once.
    void addPrivateRecordInItsDialog()
    {
        window->show();
        find<QPushButton>("Button5")->click();
        auto* dialog = window->findChild<QDialog*>(QStringLiteral("FrmPrvRec"));
        ASSERT_TRUE(dialog);
        QTimer::singleShot(0, dialog, [dialog] {
            dialog->findChild<QLineEdit*>(QStringLiteral("PJT_NAME"))->setText(QStringLiteral("護岸工事"));
            dialog->findChild<QPushButton*>(QStringLiteral("BtnOk"))->click();
        });
        ui.expectBox(UI::Yes); // レコードを追加しますか？
        find<QPushButton>("Project_Pvt_Add")->click();
        ASSERT_EQ(rowsInFile("PL_TBL_PROJECT_PRIVATE"), 1) << ui.boxTexts().join('|').toStdString();
    }
    QStringList valuesInMemory(const QString& tableName, const QString& fieldName) const
    {
        return registrationrows::valuesInMemory(window->dm(), tableName, fieldName);
    }
    QStringList valuesInFile(const QString& tableName, const QString& fieldName) const
    {
        return registrationrows::valuesInFile(window->dm(), tableName, fieldName);
    }
    void expectRegistrations(const QStringList& numbers) const { registrationrows::expectRegistrations(window->dm(), numbers); }
    // The user clicks the tab of the technology list.
    void clickListTab() const
    {
        QTabBar* bar = window->pages()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    }
    // A new registration with a name and a conventional technology, saved.
    void saveNew(const QString& title)
    {
        window->cycle().newRegistration();
        find<QLineEdit>("TECH_TITLE")->setText(title);
        find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
        ui.expectBox(UI::Yes);
        window->cycle().save();
    }

    testsupport::TempDir dir;
    ScriptedUserInteraction ui;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, StartsOnTheListWithTheFixedCaptionAndSize)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("VORDELL(港湾版) Ver7.800"));
    EXPECT_EQ(window->size(), QSize(939, 694));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint)) << "the size is fixed";
    EXPECT_EQ(window->pages()->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
    EXPECT_FALSE(find<QPlainTextEdit>("Memo1")->toPlainText().isEmpty());
    EXPECT_TRUE(find<QPushButton>("BtnHelp")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("BitBtnPost")->isEnabled());
    EXPECT_EQ(window->cycle().mode(), -1);
    EXPECT_TRUE(ui.boxes().isEmpty());
}

TEST_F(MainWindowTest, WithoutHelpFileTheUserIsToldTwiceAndHelpIsDisabled)
{
    window.reset();
    QFile::remove(dir.filePath("HELP.TXT"));
    dir.write("Temp/NT_TBL_MAIN.Cds", "left over");
    ui.expectBox(UI::Ok);
    ui.expectBox(UI::Ok);
    startWindow();
    EXPECT_EQ(ui.boxTexts(), QStringList(2, QStringLiteral("ヘルプファイルがありません。")));
    EXPECT_FALSE(find<QPushButton>("BtnHelp")->isEnabled());
    EXPECT_FALSE(QFile::exists(dir.filePath("Temp/NT_TBL_MAIN.Cds"))) << "the working folder is emptied";
}

TEST_F(MainWindowTest, SaveAndCancelCommandsFollowTheModifiedState)
{
    window->cycle().newRegistration();
    auto* save = find<QPushButton>("BitBtnPost");
    EXPECT_FALSE(save->isEnabled());
    find<QLineEdit>("SALES_SECTION")->setText(QStringLiteral("技術部"));
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("防波堤の新工法"));
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(find<QPushButton>("BitBtnCancel")->isEnabled());

    ui.expectBox(UI::No); // not now
    window->cycle().save();
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(window->cycle().mode(), 0);

    ui.expectBox(UI::Yes);
    window->cycle().save();
    EXPECT_EQ(ui.boxes().last().text, kSaveQuestion);
    EXPECT_EQ(ui.boxes().last().caption, QStringLiteral("確認"));
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(window->cycle().mode(), 1);
}

TEST_F(MainWindowTest, AfterASaveTheMenuKeepsTheRegistrationAndItsFilesAreWritten)
{
    saveNew(QStringLiteral("防波堤の新工法"));
    EXPECT_EQ(rowsInFile("NT_TBL_MAIN"), 1) << "a saved registration reaches its file at once";
    EXPECT_EQ(rowsInFile("NT_TBL_DETAIL"), 1);
    window->cycle().backToList();
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    ASSERT_EQ(table("NT_TBL_MAIN")->recordCount(), 1);
    EXPECT_EQ(field("NT_TBL_MAIN", "TECH_TITLE"), QStringLiteral("防波堤の新工法"));
    EXPECT_EQ(table("NT_TBL_DETAIL")->recordCount(), 1);
}

TEST_F(MainWindowTest, PostCodesAreSplitOnOpeningAndJoinedOnSaving)
{
    saveNew(QStringLiteral("岸壁"));
    find<QLineEdit>("SALES_POST_CODE1")->setText("100");
    find<QLineEdit>("SALES_POST_CODE2")->setText("0013");
    ui.expectBox(UI::Yes);
    window->cycle().save();
    EXPECT_EQ(field("NT_TBL_DETAIL", "SALES_POST_CODE"), QStringLiteral("〒100-0013"));
    EXPECT_EQ(field("NT_TBL_DETAIL", "SALES_POST_CODE_BUSINESS"), QString());
    window->cycle().backToList();

    struct Case
    {
        QString stored, first, second, savedAgain;
    };
    for (const Case& c : {Case{"〒123-4567", "123", "4567", "〒123-4567"}, Case{"123-4567", "", "", ""}}) {
        store::Table* detail = table("NT_TBL_DETAIL");
        detail->edit();
        detail->field("SALES_POST_CODE").setString(c.stored);
        detail->post();
        window->cycle().openRegistration();
        EXPECT_EQ(find<QLineEdit>("SALES_POST_CODE1")->text(), c.first) << c.stored.toStdString();
        EXPECT_EQ(find<QLineEdit>("SALES_POST_CODE2")->text(), c.second);
        find<QLineEdit>("SALES_SECTION")->setText(c.stored); // any change, so that there is something to save
        ui.expectBox(UI::Yes);
        window->cycle().save();
        EXPECT_EQ(field("NT_TBL_DETAIL", "SALES_POST_CODE"), c.savedAgain);
        window->cycle().backToList();
    }
}

// No to the save question, then staying at the comparison question (by メニュー or by closing the
// window): the pages show the registration as saved, so that a photo cleared before is shown again
// and cannot be chosen over, and the next save keeps it.
TEST_F(MainWindowTest, StayingAfterNoShowsTheRegistrationAsSaved)
{
    const QByteArray photo = testsupport::gifPhoto(100, 100, "saved photo");
    window->show();
    window->cycle().newRegistration();
    ui.expectFile(dir.write("saved.gif", photo));
    ui.expectBox(UI::Ok);
    find<QPushButton>("BtnPICTURE_S")->click();
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("消波ブロック"));
    ui.expectBox(UI::Yes);
    window->cycle().save();
    for (const bool byClosing : {false, true}) {
        SCOPED_TRACE(byClosing ? "closing" : "メニュー");
        ui.clearBoxes();
        ui.expectBox(UI::Ok);
        ui.expectBox(UI::Ok);
        find<QPushButton>("BtnCancelPICTURE_S")->click();
        ASSERT_TRUE(find<QPushButton>("BtnPICTURE_S")->isEnabled());
        ui.expectBox(UI::No); // the save question
        ui.expectBox(UI::No); // no comparison: stay
        if (byClosing)
            EXPECT_FALSE(window->close());
        else
            window->cycle().backToList();
        ASSERT_NE(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();
        EXPECT_FALSE(find<QPushButton>("BtnPICTURE_S")->isEnabled());
        EXPECT_TRUE(find<QPushButton>("BtnCancelPICTURE_S")->isEnabled());
        EXPECT_EQ(find<QLineEdit>("ImagePath_S")->text(), QStringLiteral("saved.gif"));
        ui.expectBox(UI::Yes);
        window->cycle().save();
        EXPECT_EQ(dir.read("Images/XXK-000001S.gif"), photo);
        EXPECT_EQ(field("NT_TBL_INFO_IMAGES", "IMAGES_FILE"), QStringLiteral("XXK-000001S.gif"));
    }
}

TEST_F(MainWindowTest, NoToTheSaveQuestionBringsBackAReplacedPhoto)
{
    const QByteArray oldPhoto = testsupport::gifPhoto(100, 100, "old photo");
    window->cycle().newRegistration();
    ui.expectFile(dir.write("old.gif", oldPhoto));
    ui.expectBox(UI::Ok);
    find<QPushButton>("BtnPICTURE_A")->click();
    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("消波ブロック"));
    find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    ui.expectBox(UI::Yes);
    window->cycle().save();
    // Slot A's photo was cleared (set aside) and another chosen since the save.
    ui.expectBox(UI::Ok);
    ui.expectBox(UI::Ok);
    find<QPushButton>("BtnCancelPICTURE_A")->click();
    ui.expectFile(dir.write("new.gif", testsupport::gifPhoto(100, 100, "new photo")));
    ui.expectBox(UI::Ok);
    find<QPushButton>("BtnPICTURE_A")->click();
    find<QLineEdit>("SALES_STUFF")->setText(QStringLiteral("山田"));
    ASSERT_TRUE(window->cycle().isModified());

    ui.clearBoxes();
    ui.expectBox(UI::No);
    window->cycle().backToList();
    ASSERT_EQ(ui.boxes().size(), 1) << ui.boxTexts().join('|').toStdString();
    EXPECT_EQ(ui.boxes().at(0).text, kSaveQuestion);
    EXPECT_EQ(ui.boxes().at(0).buttons, UI::Buttons(UI::Yes) | UI::No | UI::Cancel);
    EXPECT_EQ(dir.read("Images/XXK-000001A.gif"), oldPhoto);
    EXPECT_EQ(QDir(dir.filePath("Images")).entryList(QDir::Files), QStringList{"XXK-000001A.gif"});
    EXPECT_EQ(window->pages()->currentIndex(), 0);
    EXPECT_EQ(field("NT_TBL_DETAIL", "SALES_STUFF"), QString()) << "the change is dropped";
}

// The behaviours that need the keyboard focus, on a shown window.
class MainWindowFocusTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->cycle().newRegistration();
    }

    bool focus(QWidget* widget)
    {
        widget->setFocus(Qt::TabFocusReason);
        return QTest::qWaitFor([widget] { return widget->hasFocus(); }, 1000);
    }
};

TEST_F(MainWindowFocusTest, EnterMovesTheFocusOn)
{
    auto* title = find<QLineEdit>("TECH_TITLE");
    ASSERT_TRUE(focus(title));
    QTest::keyClick(title, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), find("TECH_SUBTITLE"));
}

TEST_F(MainWindowFocusTest, NumberBoxesAreCleanedUpWhenLeft)
{
    window->pages()->setCurrentWidget(find("TabSheet4"));
    auto* count = find<QLineEdit>("RESULTS_MOC");
    auto* next = find<QLineEdit>("RESULTS_PUBLIC");
    struct Case
    {
        QString typed, left;
        bool error;
    };
    for (const Case& c : {Case{"-12.7", "12", false}, Case{"", "0", false}, Case{"3.99", "3", false}, Case{"１２", "12", false},
                          Case{"abc", "abc", true}}) {
        ASSERT_TRUE(focus(count));
        count->setText(c.typed);
        if (c.error)
            ui.expectBox(UI::Ok);
        ui.clearBoxes();
        ASSERT_TRUE(focus(next));
        EXPECT_EQ(count->text(), c.left) << c.typed.toStdString();
        ASSERT_EQ(ui.boxes().size(), c.error ? 1 : 0) << c.typed.toStdString();
        if (c.error)
            EXPECT_EQ(ui.boxes().at(0).icon, UI::Icon::Error);
    }
}

TEST_F(MainWindowFocusTest, AMemoOverItsLimitIsCutWithItsMessage)
{
    window->pages()->setCurrentWidget(find("PageControl2"));
    auto* memo = find<widgets::DBMemo>("SUMMARY_DESC");
    ASSERT_TRUE(focus(memo));
    // 1990 bytes typed; ten half-width katakana become ten full-width ones on leaving: 2000 + 10.
    memo->setText(QString(1990, QLatin1Char('a')) + QStringLiteral("ｱｲｳｴｵｶｷｸｹｺ"));
    ui.expectBox(UI::Ok);
    ASSERT_TRUE(focus(find("FEATURE_DESC")));
    ASSERT_EQ(ui.boxTexts(), QStringList{QStringLiteral("文字制限をオーバーしました。\r\n制限を越えた分は削除されます。")});
    EXPECT_EQ(ui.boxes().at(0).caption, QStringLiteral("VORDELL"));
    EXPECT_EQ(sjis::byteLength(memo->text()), 2000);
    EXPECT_TRUE(QTest::qWaitFor([memo] { return memo->hasFocus(); }, 1000)) << "the focus goes back to the memo";
}

// The context menu's paste and a drop refuse what Ctrl+V refuses, with the same message, and leave
// the box as it was.
TEST_F(MainWindowFocusTest, EveryWayOfPastingIntoAnEntryBoxRefusesAsTheKeysDo)
{
    auto* subtitle = find<QLineEdit>("TECH_SUBTITLE");
    const auto pasteByMenu = [subtitle] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), subtitle->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(subtitle, &event);
        QMenu* menu = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<QMenu*>(top); m && m->isVisible())
                menu = m;
        ASSERT_TRUE(menu);
        auto* action = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
        ASSERT_TRUE(action);
        action->trigger();
        menu->close();
    };
    const auto drop = [subtitle](const QString& text) {
        QMimeData data;
        data.setText(text);
        QDropEvent event(QPointF(subtitle->width() - 2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        static_cast<QObject*>(subtitle)->event(&event);
    };
    for (const QString& pasted : {QStringLiteral("副題😀"), QString(256, QLatin1Char('a'))}) {
        for (int way = 0; way < 3; ++way) {
            SCOPED_TRACE(way);
            subtitle->setText(QStringLiteral("元の副題"));
            ASSERT_TRUE(focus(subtitle));
            subtitle->end(false);
            QApplication::clipboard()->setText(pasted);
            ui.clearBoxes();
            ui.expectBox(UI::Ok);
            if (way == 0)
                QTest::keyClick(subtitle, Qt::Key_V, Qt::ControlModifier);
            else if (way == 1)
                pasteByMenu();
            else
                drop(pasted);
            ASSERT_EQ(ui.boxes().size(), 1) << ui.boxTexts().join('|').toStdString();
            if (pasted.size() < 256)
                EXPECT_EQ(subtitle->text(), QStringLiteral("元の副題"));
            else
                EXPECT_TRUE(subtitle->text().startsWith(QStringLiteral("元の副題")));
        }
    }
}

// A record deleted through its dialog's delete button leaves the table's file at once, as a
// stored record reaches it at once: dropping the registration's other changes must not bring it
// back from the file.
TEST_F(MainWindowTest, ADeletedDialogRecordLeavesTheFileAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(addPrivateRecordInItsDialog());
    ui.expectBox(UI::Yes); // 削除してよろしいですか？
    find<QPushButton>("Project_Pvt_Del")->click();
    EXPECT_EQ(rowsInFile("PL_TBL_PROJECT_PRIVATE"), 0) << ui.boxTexts().join('|').toStdString();
}

// A record confirmed in its dialog is the only input of a new registration: the way out asks the
// save question, and Yes keeps the registration with its record.
TEST_F(MainWindowTest, ANewRegistrationWhoseOnlyInputIsADialogRecordIsNotDroppedUnasked)
{
    ASSERT_NO_FATAL_FAILURE(addPrivateRecordInItsDialog());
    EXPECT_TRUE(window->cycle().isModified());

    ui.clearBoxes();
    ui.expectBox(UI::Cancel);
    find<QPushButton>("BitBtn2")->click();
    ASSERT_EQ(ui.boxTexts(), QStringList{kSaveQuestion});
    EXPECT_NE(window->pages()->currentIndex(), 0);

    find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("護岸の新工法")); // what the save check asks for
    ui.clearBoxes();
    ui.expectBox(UI::Yes);
    ui.expectBox(UI::Yes); // no comparison: leave all the same
    find<QPushButton>("BitBtn2")->click();
    ASSERT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();
    EXPECT_EQ(rowsInFile("NT_TBL_MAIN"), 1);
    EXPECT_EQ(rowsInFile("PL_TBL_PROJECT_PRIVATE"), 1);
    EXPECT_EQ(field("PL_TBL_PROJECT_PRIVATE", "REG_NO"), field("NT_TBL_MAIN", "REG_NO"));
}

// A value that fits the field, different for each control.
QString valueFor(const store::FieldDef& def, int n)
{
    switch (def.type) {
    case store::FieldType::Float:
    case store::FieldType::Integer:
        return QString::number(n + 1);
    case store::FieldType::DateTime:
        return QStringLiteral("2024/%1/%2").arg(n % 12 + 1, 2, 10, QLatin1Char('0')).arg(n % 28 + 1, 2, 10, QLatin1Char('0'));
    case store::FieldType::Memo:
        return QStringLiteral("一行目 %1\r\n二行目").arg(n);
    default:
        if (def.width > 0 && def.width < 12)
            return QString::number(n).right(def.width);
        return QStringLiteral("港湾%1").arg(n);
    }
}

TEST_F(MainWindowTest, EveryBoundFieldTypedIntoIsFoundAgainAfterARestart)
{
    window->cycle().newRegistration();
    // A utility-model number is kept only with a granted utility model.
    find<QRadioButton>("RbCERTIFY_IDEA_STAT1")->click();
    QHash<QString, QString> typed; // control name → the value it must show again
    int n = 0;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        auto* bound = dynamic_cast<widgets::BoundControl*>(control);
        widgets::FieldLink* link = control->findChild<widgets::FieldLink*>(QString(), Qt::FindDirectChildrenOnly);
        if (!bound || !link || !link->isBound() || !kEditedTables.contains(link->table()->name()))
            continue;
        ++n;
        if (auto* check = qobject_cast<widgets::DBCheckBox*>(control)) {
            check->click();
            typed.insert(control->objectName(), check->isChecked() ? "1" : "0");
        } else if (auto* group = qobject_cast<widgets::DBRadioGroup*>(control)) {
            group->button(group->count() - 1)->click();
            typed.insert(control->objectName(), group->value());
        } else if (auto* list = qobject_cast<widgets::DBLookupComboBox*>(control)) {
            ASSERT_GT(list->count(), 0) << control->objectName().toStdString();
            list->setCurrentIndex(list->count() - 1);
            emit list->activated(list->count() - 1);
            typed.insert(control->objectName(), list->keyValue());
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            if (edit->isReadOnly())
                continue;
            edit->setText(valueFor(link->field().def(), n));
            typed.insert(control->objectName(), edit->text());
        } else if (auto* memo = qobject_cast<widgets::DBMemo*>(control)) {
            // A description table's memo holds a stored table, which the save writes back from its grid.
            const bool storedTable = memo->objectName().endsWith(QLatin1String("_TABLE_MEMO"));
            memo->setText(storedTable ? QStringLiteral("1\t1\t0\t0\r\n表%1\r\n").arg(n) : valueFor(link->field().def(), n));
            typed.insert(control->objectName(), memo->text());
        }
    }
    find<QLineEdit>("SALES_POST_CODE_BUSINESS1")->setText("231");
    find<QLineEdit>("SALES_POST_CODE_BUSINESS2")->setText("0002");
    // The fields whose form the save check tests get values of that form.
    const std::pair<const char*, QString> formed[] = {{"TECH_DVLP_YEAR", "1998"},          {"DB_REG_DATE", "2024/01/02"},
                                                      {"EVALUATE_MOC_DATE", "2024/03/04"},  {"EVALUATE_PRIVATE_DATE", "2024/05/06"},
                                                      {"EVALUATE_DATE3", "2024/07/08"},     {"EVALUATE_DATE4", "2024/09/10"},
                                                      {"RESULTS_MOC", "1"},                 {"RESULTS_PUBLIC", "2"},
                                                      {"RESULTS_PRIVATE", "3"}};
    for (const auto& [name, value] : formed) {
        find<QLineEdit>(name)->setText(value);
        typed.insert(name, value);
    }
    // A titled photo needs its file in the photo folder.
    const QString regNo = table("NT_TBL_MAIN")->field("REG_NO").asString().trimmed();
    const QStringList letters = {"A", "B", "S", "T", "G", "H", "I"};
    for (int slot = 1; slot <= 7; ++slot) {
        const QString file = regNo + letters.at(slot - 1) + ".gif";
        dir.write("Images/" + file, testsupport::gifPhoto(100, 100));
        store::Table* images = table(QStringLiteral("NT_TBL_INFO_IMAGES%1").arg(slot));
        images->append();
        images->field("REG_NO").setString(regNo);
        images->field("IMAGES_TYPE").setString(letters.at(slot - 1));
        images->field("IMAGES_FILE").setString(file);
        images->field("IMAGES_ORIGINAL").setString(file);
    }
    ASSERT_GT(typed.size(), 150);

    ui.expectBox(UI::Yes);
    window->cycle().save();
    ASSERT_EQ(ui.boxes().size(), 1);
    restart();
    ASSERT_EQ(table("NT_TBL_MAIN")->recordCount(), 1);
    window->cycle().openRegistration();

    for (auto it = typed.cbegin(); it != typed.cend(); ++it) {
        QWidget* control = find(it.key());
        QString shown;
        if (auto* check = qobject_cast<widgets::DBCheckBox*>(control))
            shown = check->isChecked() ? "1" : "0";
        else if (auto* group = qobject_cast<widgets::DBRadioGroup*>(control))
            shown = group->value();
        else if (auto* list = qobject_cast<widgets::DBLookupComboBox*>(control))
            shown = list->keyValue();
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            shown = edit->text();
        else if (auto* memo = qobject_cast<widgets::DBMemo*>(control))
            shown = memo->text();
        EXPECT_EQ(shown, it.value()) << it.key().toStdString();
    }
    EXPECT_EQ(find<QLineEdit>("SALES_POST_CODE_BUSINESS1")->text(), QStringLiteral("231"));
    EXPECT_EQ(find<QLineEdit>("SALES_POST_CODE_BUSINESS2")->text(), QStringLiteral("0002"));
}

} // namespace

TEST_F(MainWindowFocusTest, TabKeepsTheFocusedBoxInViewAndLeavesAGridAfterItsLastCell)
{
    auto* page = find<app::ScrollingPage>("TbsPattern1");
    ASSERT_TRUE(focus(find("TECH_TITLE")));
    int outOfView = 0;
    for (int press = 0; press < 66; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || !page->panel()->isAncestorOf(now))
            continue;
        const int top = now->mapTo(page, QPoint(0, 0)).y();
        if (top < app::ScrollingPage::kHeaderHeight || top + std::min(now->height(), 100) > page->height())
            ++outOfView;
    }
    EXPECT_EQ(outOfView, 0);

    window->pages()->setCurrentWidget(find("PageControl2"));
    auto* grid = find<QTableWidget>("SUMMARY_TABLE");
    ASSERT_TRUE(focus(grid));
    grid->setCurrentCell(1, 1);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->currentColumn(), 2) << "inside the grid Tab goes from cell to cell";
    EXPECT_TRUE(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_FALSE(grid->isAncestorOf(QApplication::focusWidget()) || grid->hasFocus()) << "Ctrl+Tab leaves at once";

    ASSERT_TRUE(focus(grid));
    grid->setCurrentCell(20, 20);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_FALSE(grid->isAncestorOf(QApplication::focusWidget()) || grid->hasFocus()) << "Tab leaves after the last cell";
}

// The tab of the technology list is no way out of the entry pages: neither an edited nor a new
// registration is left by it, and what the user typed is still there for the save question.
TEST_F(MainWindowTest, TheListTabIsNoWayOutOfTheEntryPages)
{
    window->show();
    saveNew(QStringLiteral("防波堤の新工法"));
    find<QLineEdit>("SALES_SECTION")->setText(QStringLiteral("技術部"));
    clickListTab();
    EXPECT_EQ(window->pages()->currentWidget()->objectName(), QStringLiteral("TbsPattern1"));
    EXPECT_EQ(window->cycle().mode(), 1);
    EXPECT_TRUE(window->cycle().isModified());

    ui.expectBox(UI::Yes);
    window->cycle().backToList();
    ASSERT_EQ(window->pages()->currentIndex(), 0);
    EXPECT_EQ(valuesInFile("NT_TBL_DETAIL", "SALES_SECTION"), QStringList{QStringLiteral("技術部")});

    window->cycle().newRegistration();
    clickListTab();
    EXPECT_EQ(window->cycle().mode(), 0);
    window->cycle().backToList();
    ASSERT_EQ(window->pages()->currentIndex(), 0);
    restart();
    expectRegistrations({"XXK-000001"});
}

// A grid edit answered "No" never comes back, neither in the registration it was made in nor in
// another one whose stored table reads the same.
TEST_F(MainWindowTest, DiscardedGridEditsNeverReachAnotherRegistration)
{
    saveNew(QStringLiteral("岸壁の工法"));
    window->cycle().backToList();
    ASSERT_EQ(window->pages()->currentIndex(), 0);

    window->cycle().newRegistration();
    auto* grid = find<QTableWidget>("SUMMARY_TABLE");
    grid->item(1, 1)->setText(QStringLiteral("捨てた表"));
    ASSERT_TRUE(window->cycle().isModified());
    ui.expectBox(UI::No); // do not save
    window->cycle().backToList();
    ASSERT_EQ(window->pages()->currentIndex(), 0);

    ASSERT_TRUE(table("NT_TBL_MAIN")->locate("REG_NO", "XXK-000001"));
    window->cycle().openRegistration();
    EXPECT_EQ(grid->item(1, 1)->text(), QString());
    find<QLineEdit>("SALES_SECTION")->setText(QStringLiteral("技術部"));
    ui.expectBox(UI::Yes);
    window->cycle().save();
    window->cycle().backToList();
    for (const QStringList& stored : {valuesInMemory("NT_TBL_DESCRIPTION", "SUMMARY_TABLE"), valuesInFile("NT_TBL_DESCRIPTION", "SUMMARY_TABLE")})
        EXPECT_FALSE(stored.join('|').contains(QStringLiteral("捨てた表"))) << stored.join('|').toStdString();
    restart();
    expectRegistrations({"XXK-000001"});
}

// The looked-up names of the construction records show in their grids as soon as a registration is
// opened after a restart, not only after a record was added.
TEST_F(MainWindowTest, LookedUpColumnsAreFilledAfterARestart)
{
    saveNew(QStringLiteral("実績のある技術"));
    const auto addRecord = [this](const QString& tableName, const QString& idField, const QHash<QString, QVariant>& values) {
        store::Table* records = table(tableName);
        records->append();
        records->field("REG_NO").setString("XXK-000001");
        records->field(idField).setString("1");
        records->field("PJT_NAME").setString(QStringLiteral("岸壁工事"));
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            records->field(it.key()).setValue(it.value());
        ASSERT_TRUE(records->post());
    };
    addRecord("PL_TBL_PROJECT_MOC", "MOC_ID", {{"PJT_TYPE_CODE", 5}, {"CLIENT_MOC_CODE", "081"}});
    addRecord("PL_TBL_PROJECT_PRIVATE", "PRIVATE_ID", {{"CLIENT_KIND_CD", "1"}});
    ASSERT_TRUE(window->dm().WriteChangedTables());
    window->cycle().backToList();
    restart();
    EXPECT_EQ(valuesInFile("PL_TBL_PROJECT_MOC", "PJT_TYPE_CODE"), QStringList{"5"});
    EXPECT_EQ(valuesInMemory("PL_TBL_PROJECT_MOC", "CLIENT_MOC_CODE"), QStringList{"081"});
    window->cycle().openRegistration();

    const auto cell = [this](const QString& grid, int column) {
        return find<widgets::DBGrid>(grid)->model()->index(0, column).data().toString();
    };
    EXPECT_EQ(cell("PL_TBL_PROJECT_MOC", 1), QStringLiteral("一般工事"));
    EXPECT_FALSE(cell("PL_TBL_PROJECT_MOC", 2).isEmpty());
    EXPECT_FALSE(cell("PL_TBL_PROJECT_PRIVATE", 1).isEmpty());
}


// Every writable box of the entry pages, line or memo, refuses a character Shift_JIS cannot hold
// when it comes by the context menu's paste or by a drop, with the message Ctrl+V gives.
TEST_F(MainWindowFocusTest, EveryEntryBoxRefusesAnUnencodablePasteByMenuOrDrop)
{
    const QString pasted = QStringLiteral("副題😀");
    QList<QWidget*> boxes;
    for (auto* line : window->findChildren<widgets::TextLineEdit*>())
        if (!line->isReadOnly())
            boxes << line;
    for (auto* memo : window->findChildren<widgets::TextMemo*>())
        if (!memo->isReadOnly())
            boxes << memo;
    const auto text = [](QWidget* box) {
        auto* line = qobject_cast<QLineEdit*>(box);
        return line ? line->text() : qobject_cast<QPlainTextEdit*>(box)->toPlainText();
    };
    int tried = 0;
    for (QWidget* box : boxes) {
        for (int p = 0; p < window->pages()->count(); ++p)
            if (window->pages()->widget(p)->isAncestorOf(box))
                window->pages()->setCurrentIndex(p);
        if (!box->isVisible() || !box->isEnabled())
            continue;
        ++tried;
        auto* memo = qobject_cast<QPlainTextEdit*>(box);
        QWidget* target = memo ? memo->viewport() : box;
        for (int way = 0; way < 2; ++way) {
            SCOPED_TRACE(box->objectName().toStdString() + (way == 0 ? " menu" : " drop"));
            ASSERT_TRUE(focus(box));
            QApplication::clipboard()->setText(pasted);
            ui.clearBoxes();
            ui.expectBox(UI::Ok);
            if (way == 0) {
                QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), target->mapToGlobal(QPoint(2, 2)));
                QApplication::sendEvent(target, &event);
                QMenu* menu = nullptr;
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (auto* m = qobject_cast<QMenu*>(top); m && m->isVisible())
                        menu = m;
                ASSERT_TRUE(menu);
                QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
                ASSERT_TRUE(paste);
                paste->trigger();
                menu->close();
            } else {
                QMimeData data;
                data.setText(pasted);
                QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QDragMoveEvent move(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop})
                    QApplication::sendEvent(target, event);
            }
            EXPECT_FALSE(text(box).contains(pasted)) << text(box).toStdString();
            ASSERT_EQ(ui.boxes().size(), 1) << ui.boxTexts().join('|').toStdString();
            EXPECT_TRUE(ui.boxes().at(0).text.contains(QStringLiteral("😀")));
        }
    }
    EXPECT_GT(tried, 50);
}

#include "app/EntryWindowFixture.h"
#include "dialogs/EvaluationResultDialog.h"
#include "dialogs/MocRecordDialog.h"
#include "dialogs/OtherContactDialog.h"
#include "dialogs/PrivateRecordDialog.h"
#include "store/TableFile.h"
#include "util/SjisText.h"
#include "widgets/DBGrid.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/DBMemo.h"
#include "widgets/DBPanelList.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using UI = UserInteraction;

namespace {

const QString kAdd = QStringLiteral("レコードを追加しますか？");
const QString kSaveEditing = QStringLiteral("現在編集中のデータを保存しますか？");

// The main window on a new registration, with the dialogs made for the run.
class SubRecordDialogsTest : public EntryWindowFixture
{
protected:
    void SetUp() override
    {
        EntryWindowFixture::SetUp();
        window->cycle().newRegistration();
        regNo = mainField(QStringLiteral("REG_NO"));
    }

    template <typename T>
    T* dialog() const
    {
        T* d = window->findChild<T*>();
        EXPECT_TRUE(d);
        return d;
    }
    template <typename T = QWidget>
    T* in(QWidget* dialog, const QString& name) const
    {
        T* control = dialog->findChild<T*>(name);
        EXPECT_TRUE(control) << name.toStdString();
        return control;
    }
    store::Table* table(const QString& name) const { return window->dm().table(name); }

    // Presses the main window's button `button`; `whileOpen` runs while the modal dialog is shown.
    // A dialog still open afterwards is a failure (and is closed).
    void withDialog(QDialog* dialog, const QString& button, const std::function<void()>& whileOpen)
    {
        bool ran = false;
        QTimer::singleShot(0, dialog, [&] {
            ran = true;
            whileOpen();
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->reject();
            }
        });
        find<QPushButton>(button)->click();
        EXPECT_TRUE(ran) << "the dialog was not shown";
    }
    void pick(QWidget* dialog, const QString& listName, const QString& title) const
    {
        auto* list = in<QComboBox>(dialog, listName);
        const int index = list->findText(title);
        ASSERT_GE(index, 0) << title.toStdString();
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    void click(QWidget* dialog, const QString& name) const { in<QPushButton>(dialog, name)->click(); }
    void type(QWidget* dialog, const QString& name, const QString& text) const { in<QLineEdit>(dialog, name)->setText(text); }

    // A field of every row the table file holds for this registration.
    QStringList fileColumn(const QString& tableName, const QString& fieldName) const
    {
        QList<store::FieldDef> fields;
        QList<QVector<QVariant>> rows;
        EXPECT_TRUE(store::TableFile::read(window->dm().folder().tablePath(tableName), &fields, &rows, nullptr));
        int reg = -1, wanted = -1;
        for (int i = 0; i < fields.size(); ++i) {
            if (fields.at(i).name == QLatin1String("REG_NO"))
                reg = i;
            if (fields.at(i).name == fieldName)
                wanted = i;
        }
        QStringList values;
        for (const auto& row : rows) {
            if (row.at(reg).toString().trimmed() == regNo)
                values.append(row.at(wanted).toString());
        }
        return values;
    }
    QStringList gridColumn(const QString& gridName, int column) const
    {
        QStringList values;
        auto* model = find<widgets::DBGrid>(gridName)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            values.append(model->index(row, column).data().toString());
        return values;
    }
    // Rows added straight to a table of the registration, with identifiers 1 … n.
    void addRows(const QString& tableName, int count, const QString& field = {}, const QString& prefix = {})
    {
        store::Table* t = table(tableName);
        for (int i = 1; i <= count; ++i) {
            t->append();
            t->field(0).setInteger(i);
            if (!field.isEmpty())
                t->field(field).setString(prefix + QString::number(i));
            ASSERT_TRUE(t->post());
        }
    }

    QString regNo;
};

// ---------------------------------------------------------------- construction records (ministry)

TEST_F(SubRecordDialogsTest, MinistryRecordIsAddedEditedAndDeletedThroughTheDialog)
{
    auto* moc = dialog<dialogs::MocRecordDialog>();
    EXPECT_TRUE(find<QPushButton>("Project_Moc_Add")->isEnabled());
    withDialog(moc, "Project_Moc_Add", [&] {
        EXPECT_FALSE(in(moc, "BtnPrevMoc")->isVisible()) << "no navigation when adding";
        EXPECT_EQ(moc->size(), QSize(685, 455));
        type(moc, "PJT_NAME", QStringLiteral("第一岸壁改良工事"));
        pick(moc, "DBLookupComboBox1", QStringLiteral("一般工事"));
        pick(moc, "DBLookupComboBox2", QStringLiteral("四国地方整備局"));
        pick(moc, "CLIENT_MOC_OFFICE", in<QComboBox>(moc, "CLIENT_MOC_OFFICE")->itemText(0));
        type(moc, "PJT_START_DATE", "2004/04/01");
        type(moc, "PJT_END_DATE", "2004/04/01");
        type(moc, "TALVEN_NO", "0012345");
        ui.expectBox(UI::Yes);
        click(moc, "BtnOk");
    });
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_EQ(ui.boxes().at(0).text, kAdd);
    EXPECT_EQ(ui.boxes().at(0).caption, QStringLiteral("確認"));
    EXPECT_EQ(ui.boxes().at(0).icon, UI::Icon::Information);
    EXPECT_EQ(ui.boxes().at(0).buttons, UI::Buttons(UI::Yes) | UI::No | UI::Cancel);

    EXPECT_EQ(gridColumn("PL_TBL_PROJECT_MOC", 0), QStringList{QStringLiteral("第一岸壁改良工事")});
    EXPECT_EQ(gridColumn("PL_TBL_PROJECT_MOC", 1), QStringList{QStringLiteral("一般工事")}) << "looked-up project type";
    EXPECT_EQ(gridColumn("PL_TBL_PROJECT_MOC", 2), QStringList{QStringLiteral("四国地方整備局")}) << "looked-up bureau";
    EXPECT_FALSE(gridColumn("PL_TBL_PROJECT_MOC", 3).at(0).isEmpty());
    EXPECT_EQ(fileColumn("PL_TBL_PROJECT_MOC", "MOC_ID"), QStringList{"1"}) << "written at once, first identifier 1";
    EXPECT_EQ(fileColumn("PL_TBL_PROJECT_MOC", "CLIENT_MOC_CODE"), QStringList{"081"});

    ui.clearBoxes();
    withDialog(moc, "Project_Moc_Edit", [&] {
        EXPECT_TRUE(in(moc, "BtnPrevMoc")->isVisible());
        EXPECT_EQ(in<QLabel>(moc, "lblRecNo")->text(), "1");
        EXPECT_EQ(in<QLineEdit>(moc, "PJT_NAME")->text(), QStringLiteral("第一岸壁改良工事"));
        type(moc, "PJT_NAME", QStringLiteral("第二岸壁改良工事"));
        ui.expectBox(UI::Yes);
        click(moc, "BtnOk");
    });
    EXPECT_EQ(ui.boxTexts(), QStringList{kSaveEditing});
    EXPECT_EQ(fileColumn("PL_TBL_PROJECT_MOC", "PJT_NAME"), QStringList{QStringLiteral("第二岸壁改良工事")});

    withDialog(moc, "Project_Moc_Add", [&] { click(moc, "BtnCancel"); });
    EXPECT_EQ(table("PL_TBL_PROJECT_MOC")->recordCount(), 1) << "a cancelled new row disappears";

    ui.clearBoxes();
    ui.expectBox(UI::Yes);
    find<QPushButton>("Project_Moc_Del")->click();
    EXPECT_EQ(ui.boxTexts(), QStringList{QStringLiteral("削除してよろしいですか？")});
    EXPECT_EQ(ui.boxes().last().icon, UserInteraction::Icon::None);
    EXPECT_EQ(table("PL_TBL_PROJECT_MOC")->recordCount(), 0);
    ui.expectBox(UI::Ok);
    find<QPushButton>("Project_Moc_Edit")->click();
    ui.expectBox(UI::Ok);
    find<QPushButton>("Project_Moc_Del")->click();
    EXPECT_EQ(ui.boxTexts().mid(1), (QStringList{QStringLiteral("編集するデータがありません。"), QStringLiteral("削除するデータがありません。")}));
}

TEST_F(SubRecordDialogsTest, OfficeListHoldsTheOfficesOfTheChosenBureauOnly)
{
    // The offices of a bureau are those whose code lies in its range, as the shipped list holds them.
    const auto officesOf = [&](const QString& prefix) {
        QStringList names;
        QList<store::FieldDef> fields;
        QList<QVector<QVariant>> rows;
        EXPECT_TRUE(store::TableFile::read(window->dm().folder().tablePath("NT_STBL_HAC_SAI"), &fields, &rows, nullptr));
        for (const auto& row : rows) {
            if (row.at(0).toString().startsWith(prefix) && row.at(0).toString().size() == 4)
                names.append(row.at(1).toString());
        }
        return names;
    };
    auto* moc = dialog<dialogs::MocRecordDialog>();
    withDialog(moc, "Project_Moc_Add", [&] {
        auto* office = in<QComboBox>(moc, "CLIENT_MOC_OFFICE");
        EXPECT_EQ(office->count(), 0) << "no bureau, no offices";
        pick(moc, "DBLookupComboBox2", QStringLiteral("四国地方整備局"));
        QStringList shown;
        for (int i = 0; i < office->count(); ++i)
            shown.append(office->itemText(i));
        EXPECT_FALSE(shown.isEmpty());
        EXPECT_EQ(shown, officesOf("81"));
        pick(moc, "CLIENT_MOC_OFFICE", shown.at(0));
        EXPECT_EQ(office->currentText(), shown.at(0));

        pick(moc, "DBLookupComboBox2", QStringLiteral("北海道開発局"));
        EXPECT_EQ(office->currentText(), QString()) << "another bureau empties the office";
        QStringList hokkaido;
        for (int i = 0; i < office->count(); ++i)
            hokkaido.append(office->itemText(i));
        EXPECT_EQ(hokkaido, officesOf("11"));
        click(moc, "BtnCancel");
    });
}

struct MocCase
{
    const char* name;
    bool type, bureau;
    const char* start;
    const char* end;
    const char* message; // empty: accepted
};

TEST_F(SubRecordDialogsTest, MinistryRecordCheckRefusesWithItsMessages)
{
    const MocCase cases[] = {
        {"", true, true, "", "", "工事名を入力してください"},
        {"工事", false, true, "", "", "事業種類を選択してください"},
        {"工事", true, false, "", "", "地建名を選択してください"},
        {"工事", true, true, "2004/4/1", "", "施工開始年月日：書式が誤っています"},
        {"工事", true, true, "2004/02/30", "", "施工開始年月日：書式が誤っています"},
        {"工事", true, true, "2004/04/01", "2004-04-30", "施工終了年月日：書式が誤っています"},
        {"工事", true, true, "2004/05/01", "2004/04/30", "施工期間：入力に矛盾があります。"},
        {"工事", true, true, "2004/04/30", "2004/04/30", ""},
        {"工事", true, true, "", "2004/04/30", ""},
    };
    auto* moc = dialog<dialogs::MocRecordDialog>();
    for (const MocCase& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + c.end + " " + c.message);
        ui.clearBoxes();
        withDialog(moc, "Project_Moc_Add", [&] {
            type(moc, "PJT_NAME", QString::fromUtf8(c.name));
            if (c.type)
                pick(moc, "DBLookupComboBox1", QStringLiteral("一般工事"));
            if (c.bureau)
                pick(moc, "DBLookupComboBox2", QStringLiteral("九州地方整備局"));
            type(moc, "PJT_START_DATE", c.start);
            type(moc, "PJT_END_DATE", c.end);
            ui.expectBox(UI::Yes);
            if (*c.message)
                ui.expectBox(UI::Ok);
            click(moc, "BtnOk");
            if (*c.message) {
                EXPECT_TRUE(moc->isVisible()) << "the row stays pending";
                EXPECT_TRUE(table("PL_TBL_PROJECT_MOC")->isEditing());
                click(moc, "BtnCancel");
            }
        });
        if (*c.message) {
            ASSERT_EQ(ui.boxes().size(), 2);
            EXPECT_EQ(ui.boxes().at(1).text, QString::fromUtf8(c.message));
            EXPECT_EQ(ui.boxes().at(1).caption, QStringLiteral("情報"));
        } else {
            EXPECT_EQ(ui.boxTexts(), QStringList{kAdd});
        }
    }
    EXPECT_EQ(fileColumn("PL_TBL_PROJECT_MOC", "MOC_ID"), (QStringList{"1", "2"})) << "the two accepted records";
}

// After a refusal the refused box has the focus with its text selected, so that the next typing
// replaces it: a date its field refuses as the box is left, and a period the record check refuses.
TEST_F(SubRecordDialogsTest, ARefusedBoxGetsTheFocusBackWithItsTextSelected)
{
    auto* moc = dialog<dialogs::MocRecordDialog>();
    withDialog(moc, "Project_Moc_Add", [&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(moc));
        auto* start = in<QLineEdit>(moc, "PJT_START_DATE");
        auto* end = in<QLineEdit>(moc, "PJT_END_DATE");
        start->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([start] { return start->hasFocus(); }, 1000));
        QTest::keyClicks(start, QStringLiteral("2023.4.1"));
        ui.expectBox(UI::Ok);
        QTest::keyClick(start, Qt::Key_Tab);
        EXPECT_TRUE(QTest::qWaitFor([start] { return start->hasFocus(); }, 1000)) << "focus in " << QApplication::focusWidget()->objectName().toStdString();
        EXPECT_EQ(start->selectedText(), QStringLiteral("2023.4.1"));
        ASSERT_EQ(ui.boxes().size(), 1);
        EXPECT_TRUE(ui.boxes().first().text.contains(QStringLiteral("施工期間(開始) の日付"))) << ui.boxes().first().text.toStdString();

        QTest::keyClicks(start, QStringLiteral("2023/05/01"));
        EXPECT_EQ(start->text(), QStringLiteral("2023/05/01")) << "the typing replaced the refused text";
        type(moc, "PJT_NAME", QStringLiteral("工事"));
        pick(moc, "DBLookupComboBox1", QStringLiteral("一般工事"));
        pick(moc, "DBLookupComboBox2", QStringLiteral("九州地方整備局"));
        end->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([end] { return end->hasFocus(); }, 1000));
        QTest::keyClicks(end, QStringLiteral("2023/04/30"));
        ui.clearBoxes();
        ui.expectBox(UI::Yes);
        ui.expectBox(UI::Ok);
        click(moc, "BtnOk");
        EXPECT_EQ(ui.boxTexts().value(1), QStringLiteral("施工期間：入力に矛盾があります。"));
        EXPECT_TRUE(QTest::qWaitFor([start] { return start->hasFocus(); }, 1000));
        EXPECT_EQ(start->selectedText(), QStringLiteral("2023/05/01"));
        click(moc, "BtnCancel");
    });
}

// The office list's text is a one-line box as any other: the lines of a paste are joined, with a
// word to the user.
TEST_F(SubRecordDialogsTest, LinesPastedIntoTheOfficeListAreJoined)
{
    auto* moc = dialog<dialogs::MocRecordDialog>();
    withDialog(moc, "Project_Moc_Add", [&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(moc));
        auto* office = in<QComboBox>(moc, "CLIENT_MOC_OFFICE");
        office->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([office] { return office->hasFocus(); }, 1000));
        QApplication::clipboard()->setText(QStringLiteral("第一\r\n事務所"));
        ui.expectBox(UI::Ok);
        QTest::keyClick(office->lineEdit(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(office->currentText(), QStringLiteral("第一 事務所"));
        click(moc, "BtnCancel");
    });
    EXPECT_EQ(ui.boxTexts(), QStringList{QStringLiteral("改行を含む文字列のため、行を空白でつないで貼り付けました。")});
}

TEST_F(SubRecordDialogsTest, DeleteKeyClearsTheProjectTypeWhichIsThenMissing)
{
    auto* moc = dialog<dialogs::MocRecordDialog>();
    withDialog(moc, "Project_Moc_Add", [&] {
        type(moc, "PJT_NAME", QStringLiteral("工事"));
        pick(moc, "DBLookupComboBox1", QStringLiteral("一般工事"));
        pick(moc, "DBLookupComboBox2", QStringLiteral("九州地方整備局"));
        auto* types = in<widgets::DBLookupComboBox>(moc, "DBLookupComboBox1");
        QTest::keyClick(types, Qt::Key_A);
        EXPECT_EQ(types->currentText(), QStringLiteral("一般工事")) << "typing is ignored";
        QTest::keyClick(types, Qt::Key_Delete);
        EXPECT_EQ(types->currentIndex(), -1);
        ui.expectBox(UI::Yes);
        ui.expectBox(UI::Ok);
        click(moc, "BtnOk");
        click(moc, "BtnCancel");
    });
    EXPECT_EQ(ui.boxTexts().value(1), QStringLiteral("事業種類を選択してください"));
}

TEST_F(SubRecordDialogsTest, SecondBlankInTheWorkNameIsRemoved)
{
    auto* moc = dialog<dialogs::MocRecordDialog>();
    withDialog(moc, "Project_Moc_Add", [&] {
        auto* name = in<QLineEdit>(moc, "PJT_NAME");
        QTest::keyClicks(name, "ab ");
        QTest::keyClick(name, Qt::Key_Space);
        EXPECT_EQ(name->text(), "ab ");
        name->setText(QStringLiteral("ab　 c"));
        EXPECT_EQ(name->text(), "ab c");
        click(moc, "BtnCancel");
    });
}

// ---------------------------------------------------------------- navigation (private records)

TEST_F(SubRecordDialogsTest, PrivateRecordsNavigateWithTheNumberAndDiscardOnNo)
{
    addRows("PL_TBL_PROJECT_PRIVATE", 3, "PJT_NAME", QStringLiteral("工事"));
    table("PL_TBL_PROJECT_PRIVATE")->last();
    auto* prv = dialog<dialogs::PrivateRecordDialog>();
    withDialog(prv, "Project_Pvt_Edit", [&] {
        auto* number = in<QLabel>(prv, "lblRecNo");
        EXPECT_EQ(number->text(), "3");
        type(prv, "PJT_NAME", QStringLiteral("変更した工事"));
        ui.expectBox(UI::No);
        click(prv, "BtnPrevPrv");
        EXPECT_EQ(number->text(), "2");
        EXPECT_EQ(in<QLineEdit>(prv, "PJT_NAME")->text(), QStringLiteral("工事2"));
        type(prv, "PJT_NAME", QStringLiteral("名前だけの工事"));
        ui.expectBox(UI::Yes);
        click(prv, "BtnNextPrv");
        EXPECT_EQ(number->text(), "3");
        click(prv, "BtnNextPrv");
        EXPECT_EQ(number->text(), "3") << "stays on the last row";
        click(prv, "BtnOk");
    });
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_EQ(ui.boxes().at(0).icon, UI::Icon::Question);
    EXPECT_EQ(ui.boxes().at(0).buttons, UI::Buttons(UI::Yes) | UI::No);
    EXPECT_EQ(ui.boxTexts(), QStringList(2, kSaveEditing));
    EXPECT_EQ(fileColumn("PL_TBL_PROJECT_PRIVATE", "PJT_NAME"),
              (QStringList{QStringLiteral("工事1"), QStringLiteral("名前だけの工事"), QStringLiteral("工事3")}))
        << "a name alone is a complete record; the answer No dropped the change of the third";
}

TEST_F(SubRecordDialogsTest, MinistryCancelAnswerMovesOnNavigationAndStaysOnOk)
{
    addRows("PL_TBL_PROJECT_MOC", 2, "PJT_NAME", QStringLiteral("工事"));
    table("PL_TBL_PROJECT_MOC")->first();
    auto* moc = dialog<dialogs::MocRecordDialog>();
    withDialog(moc, "Project_Moc_Edit", [&] {
        type(moc, "PJT_NAME", QStringLiteral("変更"));
        ui.expectBox(UI::Cancel);
        click(moc, "BtnNextMoc");
        EXPECT_EQ(in<QLabel>(moc, "lblRecNo")->text(), "2") << "Cancel acts like No and still moves";
        type(moc, "PJT_NAME", QStringLiteral("変更"));
        ui.expectBox(UI::Cancel);
        click(moc, "BtnOk");
        EXPECT_TRUE(moc->isVisible()) << "Cancel on OK keeps the dialog open";
        EXPECT_TRUE(table("PL_TBL_PROJECT_MOC")->isEditing());
        click(moc, "BtnCancel");
    });
    EXPECT_EQ(ui.boxTexts(), (QStringList{kSaveEditing, kSaveEditing}));
    EXPECT_EQ(gridColumn("PL_TBL_PROJECT_MOC", 0), (QStringList{QStringLiteral("工事1"), QStringLiteral("工事2")}));
}

TEST_F(SubRecordDialogsTest, ReleasingTheMouseOverAGridNarrowsTheFirstColumnWiderThanIt)
{
    auto* grid = find<widgets::DBGrid>("NT_TBL_COMPANY");
    grid->resize(300, 200);
    grid->setColumnWidth(1, 500);
    grid->setColumnWidth(2, 600);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &release);
    EXPECT_EQ(grid->columnWidth(0), 30);
    EXPECT_EQ(grid->columnWidth(1), 261);
    EXPECT_EQ(grid->columnWidth(2), 600) << "only the first such column";
}

// ---------------------------------------------------------------- row limits

TEST_F(SubRecordDialogsTest, AddIsRefusedAtEachDialogsRowLimit)
{
    const struct
    {
        const char* table;
        int limit;
        const char* button;
    } limits[] = {{"PL_TBL_PROJECT_MOC", 20, "Project_Moc_Add"},
                  {"PL_TBL_PROJECT_PRIVATE", 20, "Project_Pvt_Add"},
                  {"NT_TBL_COMPANY", 40, "BtnCmpnyAdd"},
                  {"NT_TBL_EVALUATE_RESULT", 20, "EVALUATE_RSLT_ADD"}};
    for (const auto& l : limits) {
        SCOPED_TRACE(l.table);
        addRows(l.table, l.limit);
        ui.clearBoxes();
        ui.expectBox(UI::Ok);
        find<QPushButton>(l.button)->click();
        ASSERT_EQ(ui.boxes().size(), 1);
        EXPECT_EQ(ui.boxes().at(0).text, QStringLiteral("これ以上入力できません。"));
        EXPECT_EQ(ui.boxes().at(0).caption, QStringLiteral("注意"));
        EXPECT_EQ(ui.boxes().at(0).icon, UI::Icon::Warning);
        EXPECT_EQ(table(l.table)->recordCount(), l.limit);
    }
}

// ---------------------------------------------------------------- other contacts

class OtherContactsTest : public SubRecordDialogsTest
{
protected:
    void fillContact(QWidget* d, const QString& company, const QString& post1, const QString& post2)
    {
        type(d, "SALES_COMPANY_OTHER", company);
        type(d, "SALES_SECTION_OTHER", QStringLiteral("営業部"));
        type(d, "SALES_STUFF_OTHER", QStringLiteral("山田"));
        QTest::keyClicks(in<QLineEdit>(d, "SALES_POST_CODE_OTHER1"), post1);
        QTest::keyClicks(in<QLineEdit>(d, "SALES_POST_CODE_OTHER2"), post2);
        type(d, "SALES_ADDRESS_OTHER", QStringLiteral("東京都港区"));
        type(d, "SALES_TEL_NO_OTHER", "03-1234-5678");
        type(d, "SALES_FAX_NO_OTHER", "03-1234-5679");
    }
    // Contacts "C1" … "Cn" stored through the dialog, each placed last.
    void addContacts(int n)
    {
        auto* d = dialog<dialogs::OtherContactDialog>();
        for (int i = 1; i <= n; ++i) {
            withDialog(d, "BtnCmpnyAdd", [&] {
                fillContact(d, QStringLiteral("C%1").arg(i), "123", "4567");
                ui.expectBox(UI::Yes);
                click(d, "BtnOk");
            });
        }
        ui.clearBoxes();
    }
    QStringList companiesInOrder() { return gridColumn("NT_TBL_COMPANY", 1); }
};

TEST_F(OtherContactsTest, PostCodeBoxesAreCheckedAndStoredWithTheMark)
{
    const struct
    {
        const char* first;
        const char* second;
        const char* message; // empty: stored
    } cases[] = {
        {"12", "3456", "郵便番号の書式が誤っています。\r\n半角で３桁の整数を入力してください。"},
        {"123", "456", "郵便番号の書式が誤っています。\r\n半角で４桁の整数を入力してください。"},
        {"", "4567", "郵便番号を入力してください。"},
        {"123", "", "郵便番号を入力してください。"},
        {"123", "4567", ""},
    };
    auto* d = dialog<dialogs::OtherContactDialog>();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + "-" + c.second);
        ui.clearBoxes();
        withDialog(d, "BtnCmpnyAdd", [&] {
            fillContact(d, QStringLiteral("港湾建設"), c.first, c.second);
            ui.expectBox(UI::Yes);
            if (*c.message)
                ui.expectBox(UI::Ok);
            click(d, "BtnOk");
            if (*c.message)
                click(d, "BtnCancel");
        });
        if (*c.message) {
            ASSERT_EQ(ui.boxes().size(), 2);
            EXPECT_EQ(ui.boxes().at(1).text, QString::fromUtf8(c.message));
            const bool format = QString::fromUtf8(c.message).contains(QStringLiteral("書式"));
            EXPECT_EQ(ui.boxes().at(1).icon, format ? UI::Icon::Error : UI::Icon::Information);
        }
    }
    EXPECT_EQ(fileColumn("NT_TBL_COMPANY", "SALES_POST_CODE_OTHER"), QStringList{QStringLiteral("〒123-4567")});
    EXPECT_EQ(gridColumn("NT_TBL_COMPANY", 4), QStringList{QStringLiteral("〒123-4567")});

    withDialog(d, "BtnCmpnyEdit", [&] {
        EXPECT_EQ(in<QLineEdit>(d, "SALES_POST_CODE_OTHER1")->text(), "123");
        EXPECT_EQ(in<QLineEdit>(d, "SALES_POST_CODE_OTHER2")->text(), "4567");
        click(d, "BtnOk");
    });
}

TEST_F(OtherContactsTest, CheckAsksForEachRequiredFieldInTurn)
{
    auto* d = dialog<dialogs::OtherContactDialog>();
    const QList<std::pair<const char*, const char*>> required = {
        {"SALES_COMPANY_OTHER", "会社を入力してください。"}, {"SALES_SECTION_OTHER", "担当部署を入力してください。"},
        {"SALES_STUFF_OTHER", "担当者を入力してください。"},   {"SALES_ADDRESS_OTHER", "住所を入力してください。"},
        {"SALES_TEL_NO_OTHER", "TELを入力してください。"},      {"SALES_FAX_NO_OTHER", "FAXを入力してください。"}};
    for (const auto& [field, message] : required) {
        SCOPED_TRACE(field);
        ui.clearBoxes();
        withDialog(d, "BtnCmpnyAdd", [&] {
            fillContact(d, QStringLiteral("港湾建設"), "123", "4567");
            type(d, field, QString());
            ui.expectBox(UI::Yes);
            ui.expectBox(UI::Ok);
            click(d, "BtnOk");
            click(d, "BtnCancel");
        });
        EXPECT_EQ(ui.boxTexts().value(1), QString::fromUtf8(message));
    }
}

TEST_F(OtherContactsTest, PhoneAndPostCodeBoxesTakeOnlyTheirCharacters)
{
    auto* d = dialog<dialogs::OtherContactDialog>();
    withDialog(d, "BtnCmpnyAdd", [&] {
        auto* tel = in<QLineEdit>(d, "SALES_TEL_NO_OTHER");
        QTest::keyClicks(tel, "a(03)x+81-1");
        EXPECT_EQ(tel->text(), "(03)+81-1");
        auto* post = in<QLineEdit>(d, "SALES_POST_CODE_OTHER1");
        QTest::keyClicks(post, "1a2-345");
        EXPECT_EQ(post->text(), "123") << "digits only, three at most";
        // Pasted text meets the same filter, and is refused with a message.
        tel->clear();
        QApplication::clipboard()->setText(QStringLiteral("03-1234 内線5"));
        ui.expectBox(UI::Ok);
        QTest::keyClick(tel, Qt::Key_V, Qt::ControlModifier);
        EXPECT_TRUE(tel->text().isEmpty());
        EXPECT_TRUE(ui.boxTexts().last().contains(QStringLiteral("「 」"))) << ui.boxTexts().join('|').toStdString();
        click(d, "BtnCancel");
    });
}

TEST_F(OtherContactsTest, NewContactGoesToTheChosenPositionAndAllAreRenumbered)
{
    const struct
    {
        const char* position;
        const char* side;
        QStringList order;
    } cases[] = {
        {"2", "前", {"C1", "New", "C2", "C3", "C4"}},
        {"4", "後", {"C1", "C2", "C3", "C4", "New"}},
        {"1", "前", {"New", "C1", "C2", "C3", "C4"}},
        {"", "", {"C1", "C2", "C3", "C4", "New"}},
    };
    addContacts(4);
    auto* d = dialog<dialogs::OtherContactDialog>();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.position) + c.side);
        withDialog(d, "BtnCmpnyAdd", [&] {
            fillContact(d, "New", "123", "4567");
            EXPECT_EQ(in<QComboBox>(d, "SALES_ORDER_INFO1")->count(), 5) << "an empty entry and 1 to 4";
            if (*c.position) {
                pick(d, "SALES_ORDER_INFO1", c.position);
                pick(d, "SALES_ORDER_INFO2", QString::fromUtf8(c.side));
            }
            ui.expectBox(UI::Yes);
            click(d, "BtnOk");
        });
        EXPECT_EQ(companiesInOrder(), c.order);
        EXPECT_EQ(gridColumn("NT_TBL_COMPANY", 0), (QStringList{"1", "2", "3", "4", "5"}));
        EXPECT_EQ(fileColumn("NT_TBL_COMPANY", "SALES_ORDER_OTHER").size(), 5);
        // Back to four contacts numbered 1 to 4 for the next case.
        store::Table* t = table("NT_TBL_COMPANY");
        ASSERT_TRUE(t->locate("SALES_COMPANY_OTHER", "New"));
        ui.expectBox(UI::Yes);
        find<QPushButton>("BtnCmpnyDel")->click();
        int n = 0;
        for (t->first(); !t->eof(); t->next()) {
            t->edit();
            t->field("SALES_ORDER_OTHER").setInteger(++n);
            t->post();
        }
    }
}

TEST_F(OtherContactsTest, EditedContactKeepsItsPlace)
{
    addContacts(4);
    store::Table* t = table("NT_TBL_COMPANY");
    t->setRecNo(3);
    auto* d = dialog<dialogs::OtherContactDialog>();
    withDialog(d, "BtnCmpnyEdit", [&] {
        EXPECT_EQ(in<QLabel>(d, "Label1")->text(), "3");
        EXPECT_EQ(in<QComboBox>(d, "SALES_ORDER_INFO1")->currentText(), "3");
        EXPECT_EQ(in<QComboBox>(d, "SALES_ORDER_INFO2")->currentText(), QStringLiteral("前"));
        type(d, "SALES_COMPANY_OTHER", "C3x");
        ui.expectBox(UI::Yes);
        click(d, "BtnNextCmpny");
        EXPECT_EQ(in<QLineEdit>(d, "SALES_COMPANY_OTHER")->text(), "C4") << "the move starts at the stored contact";
        EXPECT_EQ(in<QLabel>(d, "Label1")->text(), "4");
        click(d, "BtnOk");
    });
    EXPECT_EQ(ui.boxTexts(), QStringList{kSaveEditing});
    EXPECT_EQ(companiesInOrder(), (QStringList{"C1", "C2", "C3x", "C4"}));
    EXPECT_EQ(fileColumn("NT_TBL_COMPANY", "SALES_COMPANY_OTHER").contains("C3x"), true);
}

// ---------------------------------------------------------------- evaluation results

TEST_F(SubRecordDialogsTest, EvaluationIsAddedEditedAndDeletedWithoutQuestion)
{
    auto* d = dialog<dialogs::EvaluationResultDialog>();
    const auto fill = [&](const QString& item) {
        in<QPlainTextEdit>(d, "ITEM")->setPlainText(item);
        in<QPlainTextEdit>(d, "CONTENTS")->setPlainText(QStringLiteral("載荷試験"));
        in<QPlainTextEdit>(d, "RESULTS")->setPlainText(QStringLiteral("基準を満たす"));
    };
    withDialog(d, "EVALUATE_RSLT_ADD", [&] {
        fill(QStringLiteral("耐久性"));
        ui.expectBox(UI::Yes);
        click(d, "BtnOk");
    });
    auto* list = find<widgets::DBPanelList>("NT_TBL_EVALUATE_RESULT");
    EXPECT_EQ(list->panelCount(), 1);
    EXPECT_EQ(fileColumn("NT_TBL_EVALUATE_RESULT", "RESULT"), QStringList{QStringLiteral("基準を満たす")});

    withDialog(d, "EVALUATE_RSLT_EDIT", [&] {
        EXPECT_EQ(in<QLabel>(d, "lblRecNo")->text(), "1");
        in<QPlainTextEdit>(d, "ITEM")->setPlainText(QStringLiteral("耐久性の確認"));
        ui.expectBox(UI::Yes);
        click(d, "BtnOk");
    });
    withDialog(d, "EVALUATE_RSLT_ADD", [&] {
        fill(QStringLiteral("施工性"));
        ui.expectBox(UI::Yes);
        click(d, "BtnOk");
    });
    EXPECT_EQ(ui.boxTexts(), (QStringList{kAdd, QStringLiteral("変更を保存しますか？"), kAdd})) << "add after edit still asks to add";
    EXPECT_EQ(fileColumn("NT_TBL_EVALUATE_RESULT", "ITEM"), (QStringList{QStringLiteral("耐久性の確認"), QStringLiteral("施工性")}));
    EXPECT_EQ(fileColumn("NT_TBL_EVALUATE_RESULT", "EVALUATE_ID"), (QStringList{"1", "2"}));
    EXPECT_EQ(list->panelCount(), 2);

    ui.clearBoxes();
    find<QPushButton>("EVALUATE_RSLT_DEL")->click();
    EXPECT_TRUE(ui.boxes().isEmpty()) << "no question";
    EXPECT_EQ(table("NT_TBL_EVALUATE_RESULT")->recordCount(), 1);
}

TEST_F(SubRecordDialogsTest, EvaluationCheckAndTheMemoLimit)
{
    auto* d = dialog<dialogs::EvaluationResultDialog>();
    withDialog(d, "EVALUATE_RSLT_ADD", [&] {
        auto* item = in<widgets::DBMemo>(d, "ITEM");
        QTest::keyClicks(item, "ab");
        QTest::keyClick(item, Qt::Key_Return);
        EXPECT_EQ(item->text(), "ab") << "the item stays one line";
        auto* contents = in<widgets::DBMemo>(d, "CONTENTS");
        // Half-width katakana doubles in bytes when converted on leaving: 600 bytes become 1200.
        contents->setText(QString(600, QChar(0xFF71)));
        ui.expectBox(UI::Ok);
        d->cleanUpMemoOnLeaving(contents);
        EXPECT_EQ(sjis::byteLength(contents->text()), 1020);
        EXPECT_EQ(contents->text(), QString(510, QChar(0x30A2)));
        ui.expectBox(UI::Yes);
        ui.expectBox(UI::Ok);
        click(d, "BtnOk");
        click(d, "BtnCancel");
    });
    ASSERT_EQ(ui.boxes().size(), 3);
    EXPECT_EQ(ui.boxes().at(0).caption, kProgramTitle);
    EXPECT_EQ(ui.boxes().at(0).text, QStringLiteral("文字制限をオーバーしました。\r\n制限を越えた分は削除されます。"));
    EXPECT_EQ(ui.boxes().at(2).text, QStringLiteral("結果を入力してください"));
    EXPECT_EQ(table("NT_TBL_EVALUATE_RESULT")->recordCount(), 0);
}

TEST_F(SubRecordDialogsTest, EvaluationMemosShowTheBytesTheirLimitLeaves)
{
    auto* d = dialog<dialogs::EvaluationResultDialog>();
    withDialog(d, "EVALUATE_RSLT_ADD", [&] {
        for (const char* name : {"ITEM", "CONTENTS", "RESULTS"}) {
            auto* memo = in<widgets::DBMemo>(d, QLatin1String(name));
            auto* counter = in<QLabel>(d, QStringLiteral("lblRemain_") + QLatin1String(name));
            EXPECT_EQ(counter->text(), QStringLiteral("残り 1020 バイト")) << name;
            memo->insertPlainText(QStringLiteral("試験a")); // as an input method commits it
            EXPECT_EQ(counter->text(), QStringLiteral("残り 1015 バイト")) << name;
            // Half-width katakana counts as the clean-up on leaving will make it: 600 become 1200 bytes.
            memo->setText(QString(600, QChar(0xFF71)));
            EXPECT_EQ(counter->text(), QStringLiteral("180 バイト超過")) << name;
            ui.expectBox(UI::Ok);
            d->cleanUpMemoOnLeaving(memo);
            EXPECT_EQ(counter->text(), QStringLiteral("残り 0 バイト")) << name;
            memo->setText(QString());
        }
        click(d, "BtnCancel");
    });
}

TEST_F(SubRecordDialogsTest, EvaluationMemosStopAtTheirLimitWhereTyped)
{
    auto* d = dialog<dialogs::EvaluationResultDialog>();
    withDialog(d, "EVALUATE_RSLT_ADD", [&] {
        for (const char* name : {"ITEM", "CONTENTS", "RESULTS"}) {
            auto* memo = in<widgets::DBMemo>(d, QLatin1String(name));
            memo->setText(QString(1018, 'x'));
            memo->moveCursor(QTextCursor::End);
            QTest::keyClicks(memo, QStringLiteral("ab"));
            QTest::keyClicks(memo, QStringLiteral("c"));
            EXPECT_EQ(memo->text(), QString(1018, 'x') + QStringLiteral("ab")) << name;
        }
        click(d, "BtnCancel");
    });
    EXPECT_TRUE(ui.boxes().isEmpty()) << ui.boxTexts().join('|').toStdString();
}

} // namespace

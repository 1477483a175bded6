#include "EntryWindowFixture.h"

#include "app/DescriptionGrids.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using UI = UserInteraction;

namespace {

// Typing as the user does: ASCII keys, other characters committed by the input method.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(c));
            continue;
        }
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QApplication::sendEvent(widget, &commit);
    }
}

// The entry window with a registration saved under a name, and a restart on the same folder.
class DescriptionGridsTest : public EntryWindowFixture
{
protected:
    void SetUp() override
    {
        EntryWindowFixture::SetUp();
        showWindow();
    }
    void showWindow() const
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    static bool focus(QWidget* widget)
    {
        widget->setFocus(Qt::TabFocusReason);
        return QTest::qWaitFor([widget] { return widget->hasFocus(); }, 1000);
    }
    QTableWidget* grid(const QString& name) const { return find<QTableWidget>(name); }
    QString cell(const QString& gridName, int column, int row) const
    {
        QTableWidgetItem* item = grid(gridName)->item(row, column);
        return item ? item->text() : QString();
    }
    QString descriptionField(const QString& name) const
    {
        return window->dm().table(QStringLiteral("NT_TBL_DESCRIPTION"))->field(name).asString();
    }
    // The user types into a cell through the grid's editor and confirms with Enter.
    void typeIntoCell(const QString& gridName, int column, int row, const QString& text) const
    {
        QTableWidget* table = grid(gridName);
        window->pages()->setCurrentWidget(find("PageControl2"));
        ASSERT_TRUE(focus(table));
        table->setCurrentCell(row, column);
        table->editItem(table->item(row, column));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_TRUE(editor && table->isAncestorOf(editor));
        typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the grid takes the text after the key
    }
    void typeInto(const QString& boxName, const QString& text) const
    {
        auto* box = find<QLineEdit>(boxName);
        ASSERT_TRUE(focus(box));
        typeText(box, text);
    }
    void save()
    {
        ui.expectBox(UI::Yes);
        window->cycle().save();
    }
    void newRegistration()
    {
        window->cycle().newRegistration();
        find<QLineEdit>("TECH_TITLE")->setText(QStringLiteral("桟橋の補修"));
        find<QLineEdit>("COMPARE_TECH_TITLE")->setText(QStringLiteral("従来の工法"));
    }
    // The window closed from the list page and started again on the same folder, the registration opened.
    void restartAndOpen()
    {
        window->cycle().backToList();
        ASSERT_EQ(window->pages()->currentIndex(), 0) << ui.boxTexts().join('|').toStdString();
        ASSERT_TRUE(window->close());
        window.reset();
        window = std::make_unique<app::MainWindow>(dir.path());
        ASSERT_TRUE(window->start());
        showWindow();
        window->cycle().openRegistration();
    }
};

} // namespace

TEST_F(DescriptionGridsTest, ANewRegistrationShowsTheSampleCostTable)
{
    window->cycle().newRegistration();
    EXPECT_EQ(cell("CNST_COST_TABLE", 1, 1), QStringLiteral("工種"));
    EXPECT_EQ(cell("CNST_COST_TABLE", 4, 4), QStringLiteral("○○"));
    EXPECT_EQ(find<QLineEdit>("CNST_COST_TABLE_TITLE")->text(), QStringLiteral("参考例"));
    EXPECT_EQ(find<QLineEdit>("eTCntCNST_COSTcol")->text(), QStringLiteral("1"));
    EXPECT_EQ(find<QSpinBox>("udTCntCNST_COSTrow")->value(), 1);
    EXPECT_EQ(cell("SUMMARY_TABLE", 1, 1), QString());
    EXPECT_FALSE(window->cycle().isModified()) << "loading the grids is no change";
}

TEST_F(DescriptionGridsTest, TypedCellsTitleAndHeadingsAreSavedAndFoundAfterARestart)
{
    newRegistration();
    save();
    ASSERT_FALSE(window->cycle().isModified());

    typeIntoCell("SUMMARY_TABLE", 2, 2, QStringLiteral("鋼管杭"));
    EXPECT_TRUE(window->cycle().isModified()) << "a typed cell marks the registration as changed";
    save();
    typeInto("SUMMARY_TABLE_TITLE", QStringLiteral("工法, 比較"));
    EXPECT_TRUE(window->cycle().isModified()) << "a typed title marks the registration as changed";
    typeIntoCell("SUMMARY_TABLE", 1, 3, QStringLiteral(" "));
    typeIntoCell("FEATURE_TABLE", 1, 1, QStringLiteral("ABC"));
    find<QSpinBox>("udSUMMARY_TABLE_Col")->setValue(2);
    EXPECT_EQ(find<QLineEdit>("eTCntSUMMARYcol")->text(), QStringLiteral("2"));
    find<QLineEdit>("eTCntSUMMARYrow")->setText(QStringLiteral("5"));
    EXPECT_EQ(find<QLineEdit>("eTCntSUMMARYrow")->text(), QStringLiteral("3")) << "a value above 3 becomes 3";
    EXPECT_EQ(find<QSpinBox>("udSUMMARY_TABLE_Row")->value(), 3);
    ASSERT_TRUE(focus(find("SUMMARY_DESC"))); // the title box is left
    save();

    EXPECT_EQ(descriptionField("SUMMARY_TABLE"), QStringLiteral("2\t2\t2\t3\r\n\t\r\n\t鋼管杭\r\n工法, 比較\r\n"));
    EXPECT_EQ(descriptionField("FEATURE_TABLE"), QStringLiteral("1\t1\t0\t0\r\nABC\r\n"));
    EXPECT_EQ(descriptionField("TEST_TABLE"), QStringLiteral("0\t0\t0\t0\r\n"));
    EXPECT_EQ(cell("SUMMARY_TABLE", 1, 3), QString()) << "the blank outside the used extent is dropped at the save";

    restartAndOpen();
    EXPECT_EQ(cell("SUMMARY_TABLE", 2, 2), QStringLiteral("鋼管杭"));
    EXPECT_EQ(find<QLineEdit>("SUMMARY_TABLE_TITLE")->text(), QStringLiteral("工法, 比較"));
    EXPECT_EQ(find<QLineEdit>("eTCntSUMMARYcol")->text(), QStringLiteral("2"));
    EXPECT_EQ(find<QLineEdit>("eTCntSUMMARYrow")->text(), QStringLiteral("3"));
    EXPECT_EQ(cell("FEATURE_TABLE", 1, 1), QStringLiteral("ABC"));
    EXPECT_EQ(cell("CNST_COST_TABLE", 1, 2), QStringLiteral("材料費")) << "the sample saved with the registration";
    EXPECT_FALSE(window->cycle().isModified());
    EXPECT_EQ(ui.boxes().size(), 3) << ui.boxTexts().join('|').toStdString();
}

TEST_F(DescriptionGridsTest, ACellWithDoubleBlanksKeepsOneWhenTheGridIsLeft)
{
    window->cycle().newRegistration();
    typeIntoCell("FEATURE_TABLE", 1, 1, QStringLiteral("a   b"));
    EXPECT_EQ(cell("FEATURE_TABLE", 1, 1), QStringLiteral("a   b"));
    ASSERT_TRUE(focus(find("SUMMARY_DESC")));
    EXPECT_EQ(cell("FEATURE_TABLE", 1, 1), QStringLiteral("a b"));
}

// A block copied from a spreadsheet fills the cells from the current one as far as the grid
// reaches, each cell kept to one line; the user hears what did not fit and which lines were joined.
// Delete empties the selected cells. Text that Shift_JIS cannot hold is refused as typing is.
TEST_F(DescriptionGridsTest, ABlockPastesFromTheCurrentCellAndDeleteClearsTheSelectedCells)
{
    window->cycle().newRegistration();
    QTableWidget* table = grid("FEATURE_TABLE");
    window->pages()->setCurrentWidget(find("PageControl2"));
    ASSERT_TRUE(focus(table));
    const auto paste = [table](const QString& text) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
    };

    table->setCurrentCell(2, 2);
    ui.expectBox(UI::Ok);
    paste(QStringLiteral("項目\t数量\t\"備考\n\"\"続き\"\"\"\r\n杭\t12\t\r\n"));
    EXPECT_EQ(cell("FEATURE_TABLE", 2, 2), QStringLiteral("項目"));
    EXPECT_EQ(cell("FEATURE_TABLE", 3, 2), QStringLiteral("数量"));
    EXPECT_EQ(cell("FEATURE_TABLE", 4, 2), QStringLiteral("備考 \"続き\""));
    EXPECT_EQ(cell("FEATURE_TABLE", 2, 3), QStringLiteral("杭"));
    EXPECT_EQ(cell("FEATURE_TABLE", 3, 3), QStringLiteral("12"));
    EXPECT_EQ(cell("FEATURE_TABLE", 2, 4), QString()) << "nothing beyond the block";
    EXPECT_EQ(ui.boxTexts(), QStringList{QStringLiteral("改行を含む文字列のため、行を空白でつないで貼り付けました。")});
    EXPECT_TRUE(window->cycle().isModified());

    // At the corner: four cells fit, four with text do not (the empty one is no loss).
    ui.clearBoxes();
    table->setCurrentCell(19, 19);
    ui.expectBox(UI::Ok);
    paste(QStringLiteral("a\tb\tc\r\nd\te\t\r\ng\th\ti"));
    EXPECT_EQ(cell("FEATURE_TABLE", 19, 19) + cell("FEATURE_TABLE", 20, 19) + cell("FEATURE_TABLE", 19, 20) + cell("FEATURE_TABLE", 20, 20),
              QStringLiteral("abde"));
    EXPECT_EQ(ui.boxTexts(), QStringList{QStringLiteral("表に収まらない 4 個のセルは貼り付けていません。")});

    ui.clearBoxes();
    table->setCurrentCell(2, 2);
    ui.expectBox(UI::Ok);
    paste(QStringLiteral("杭😀\tx"));
    EXPECT_EQ(cell("FEATURE_TABLE", 2, 2), QStringLiteral("項目")) << "refused whole";
    ASSERT_EQ(ui.boxes().size(), 1);
    EXPECT_TRUE(ui.boxes().first().text.contains(QStringLiteral("U+1F600")));

    table->setRangeSelected(QTableWidgetSelectionRange(2, 2, 3, 3), true);
    QTest::keyClick(table, Qt::Key_Delete);
    EXPECT_EQ(cell("FEATURE_TABLE", 2, 2) + cell("FEATURE_TABLE", 3, 2) + cell("FEATURE_TABLE", 2, 3) + cell("FEATURE_TABLE", 3, 3), QString());
    EXPECT_EQ(cell("FEATURE_TABLE", 4, 2), QStringLiteral("備考 \"続き\"")) << "outside the selection";
}

// A text of several lines pasted into a cell being edited keeps every line, joined by blanks.
TEST_F(DescriptionGridsTest, LinesPastedIntoAnOpenCellAreJoined)
{
    window->cycle().newRegistration();
    QTableWidget* table = grid("FEATURE_TABLE");
    window->pages()->setCurrentWidget(find("PageControl2"));
    ASSERT_TRUE(focus(table));
    table->setCurrentCell(1, 1);
    table->editItem(table->item(1, 1));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(editor && table->isAncestorOf(editor));
    QApplication::clipboard()->setText(QStringLiteral("第一文。\r\n第二文。"));
    ui.expectBox(UI::Ok);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(cell("FEATURE_TABLE", 1, 1), QStringLiteral("第一文。 第二文。"));
    EXPECT_EQ(ui.boxes().size(), 1);
}

TEST_F(DescriptionGridsTest, AStoredTextThatDoesNotFitIsShownAsFarAsPossibleAndReported)
{
    newRegistration();
    save();
    store::Table* description = window->dm().table(QStringLiteral("NT_TBL_DESCRIPTION"));
    description->edit();
    description->field(QStringLiteral("FEATURE_TABLE")).setString(QStringLiteral("22\t1\t0\t0\r\n") + QString("x\t").repeated(21) + "y");
    ASSERT_TRUE(description->post());
    window->dm().WriteChangedTables(nullptr);

    ui.expectBox(UI::Ok);
    restartAndOpen();
    ASSERT_EQ(ui.boxes().size(), 2);
    EXPECT_EQ(ui.boxes().last().caption, QStringLiteral("注意"));
    EXPECT_TRUE(ui.boxes().last().text.startsWith(QStringLiteral("特徴の表の保存内容に"))) << ui.boxes().last().text.toStdString();
    EXPECT_EQ(cell("FEATURE_TABLE", 20, 1), QStringLiteral("x"));
}

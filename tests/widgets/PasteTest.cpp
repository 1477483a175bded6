#include "WidgetTestSupport.h"

#include "support/ScriptedUserInteraction.h"
#include "util/SjisText.h"
#include "widgets/DBEdit.h"
#include "widgets/DBMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace widgets;
using testsupport::ScriptedUserInteraction;
using widgettest::focus;
using widgettest::makeTable;
using widgettest::showActive;

namespace {

const QString kLimitMessage = QStringLiteral("文字制限をオーバーしました。\r\n制限を越えた分は削除されます。");
const QString kJoinedMessage = QStringLiteral("改行を含む文字列のため、行を空白でつないで貼り付けました。");

enum class Way { Keys, ContextMenu, Drop };

// Pastes `text` into `box` the way a user does.
void paste(QWidget* box, const QString& text, Way way)
{
    QApplication::clipboard()->setText(text);
    switch (way) {
    case Way::Keys: QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); break;
    case Way::ContextMenu: {
        // A memo takes the mouse's context menu on its viewport.
        auto* area = qobject_cast<QAbstractScrollArea*>(box);
        QWidget* target = area ? area->viewport() : box;
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), target->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(target, &event);
        QMenu* menu = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* m = qobject_cast<QMenu*>(top); m && m->isVisible())
                menu = m;
        }
        ASSERT_TRUE(menu);
        auto* action = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
        ASSERT_TRUE(action);
        action->trigger();
        menu->close();
        break;
    }
    case Way::Drop: {
        QMimeData data;
        data.setText(text);
        QDropEvent drop(QPointF(box->width() - 2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // Without a drag under way the application hands a drop to no one: the box gets it directly.
        static_cast<QObject*>(box)->event(&drop);
        break;
    }
    }
}

class PasteTest : public ::testing::Test
{
protected:
    PasteTest()
        : table(makeTable({{"XXK-000001", "", 3, "1", "2", ""}}))
        , source(table.get())
        , title(new DBEdit(&source, "TECH_TITLE", &window))
        , phone(new TextLineEdit("SALES_TEL_NO", &window))
        , note(new DBMemo(&source, "NOTE", &window))
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(title);
        layout->addWidget(phone);
        layout->addWidget(note);
        phone->setAcceptedCharacters([](QChar c) { return QStringLiteral("()+-0123456789").contains(c); });
    }

    ScriptedUserInteraction user;
    std::unique_ptr<store::Table> table;
    store::DataSource source;
    QWidget window;
    DBEdit* title;
    TextLineEdit* phone;
    DBMemo* note;
};

TEST_F(PasteTest, EveryWayOfPastingKeepsEveryLineOnOneLineAndSaysWhyItJoinsRefusesOrCuts)
{
    ASSERT_TRUE(showActive(window));
    const struct
    {
        const char* name;
        QLineEdit* box;
        QString pasted;
        Way way;
        QString expected;
        QString message; // contained in the one box shown; empty: no box
    } cases[] = {
        // The lines are joined by one blank, and the user is told.
        {"lineBreaks", title, QStringLiteral("防波堤\r\n補強工法"), Way::Keys, QStringLiteral("防波堤 補強工法"), kJoinedMessage},
        {"lineBreaksByMenu", title, QStringLiteral("防波堤\n補強工法"), Way::ContextMenu, QStringLiteral("防波堤 補強工法"), kJoinedMessage},
        {"tabAndBreakDropped", title, QStringLiteral("a\tb\r\nc"), Way::Drop, QStringLiteral("a b c"), kJoinedMessage},
        {"emptyLinesBetween", title, QStringLiteral("a\r\n\r\n\rb\n"), Way::Keys, QStringLiteral("a b"), kJoinedMessage},
        // A line break at the end (a cell copied from a spreadsheet) holds no text: nothing to say.
        {"finalLineBreak", title, QStringLiteral("防波堤\r\n"), Way::Keys, QStringLiteral("防波堤"), {}},
        // Joined and cut: one box says both.
        {"joinedAndCut", title, QStringLiteral("防波堤補強\r\n工法の説明文"), Way::Keys, QStringLiteral("防波堤補強 工法の説"), kJoinedMessage + QStringLiteral("\r\n") + kLimitMessage},
        {"emojiByKeys", title, QStringLiteral("杭😀"), Way::Keys, {}, QStringLiteral("U+1F600")},
        {"emojiByMenu", title, QStringLiteral("杭😀"), Way::ContextMenu, {}, QStringLiteral("U+1F600")},
        {"emojiDropped", title, QStringLiteral("杭😀"), Way::Drop, {}, QStringLiteral("U+1F600")},
        // Width 20 bytes: what fits goes in, the rest is cut with the limit's message.
        {"tooLongByKeys", title, QString(15, QChar(0x3042)), Way::Keys, QString(10, QChar(0x3042)), kLimitMessage},
        {"tooLongByMenu", title, QString(21, 'a'), Way::ContextMenu, QString(20, 'a'), kLimitMessage},
        // The key filter's characters only.
        {"filteredByKeys", phone, QStringLiteral("1abc"), Way::Keys, {}, QStringLiteral("「a」")},
        {"filteredByMenu", phone, QStringLiteral("03 1234"), Way::ContextMenu, {}, QStringLiteral("「 」")},
        {"filterPasses", phone, QStringLiteral("(03)1234-5678"), Way::Keys, QStringLiteral("(03)1234-5678"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.box->clear();
        ASSERT_TRUE(focus(c.box));
        user.clearBoxes();
        if (!c.message.isEmpty())
            user.expectBox(UserInteraction::Ok);
        paste(c.box, c.pasted, c.way);
        EXPECT_EQ(c.box->text(), c.expected);
        ASSERT_EQ(user.boxes().size(), c.message.isEmpty() ? 0 : 1) << user.boxTexts().join('|').toStdString();
        if (!c.message.isEmpty())
            EXPECT_TRUE(user.boxes().first().text.contains(c.message)) << user.boxes().first().text.toStdString();
    }
    // What stays in the box is what reaches the field.
    title->clear();
    ASSERT_TRUE(focus(title));
    user.expectBox(UserInteraction::Ok);
    paste(title, QStringLiteral("防波堤\r\n補強工法"), Way::Keys);
    ASSERT_TRUE(focus(phone));
    EXPECT_EQ(table->field("TECH_TITLE").asString(), QStringLiteral("防波堤 補強工法"));
}

TEST_F(PasteTest, AMemoWithALimitStopsTypingThereAndCutsAPasteWithTheMessage)
{
    ASSERT_TRUE(showActive(window));
    note->setMaxBytes(10);
    ASSERT_TRUE(focus(note));
    widgettest::typeText(note, QStringLiteral("abcdefghiあj"));
    EXPECT_EQ(note->text(), QStringLiteral("abcdefghij")); // the two-byte character would not fit
    QTest::keyClick(note, Qt::Key_Return);
    EXPECT_EQ(note->text(), QStringLiteral("abcdefghij"));

    note->setText(QStringLiteral("abc"));
    note->moveCursor(QTextCursor::End);
    user.expectBox(UserInteraction::Ok);
    paste(note, QStringLiteral("de\r\nfghij"), Way::Keys);
    EXPECT_EQ(note->text(), QStringLiteral("abcde\r\nfgh"));
    ASSERT_EQ(user.boxes().size(), 1);
    EXPECT_EQ(user.boxes().first().text, kLimitMessage);
    EXPECT_EQ(user.boxes().first().caption, QStringLiteral("VORDELL"));

    // A one-line memo joins the lines of what is pasted, and says so.
    note->setMaxBytes(0);
    note->setOneLine(true);
    note->setText(QString());
    user.clearBoxes();
    user.expectBox(UserInteraction::Ok);
    paste(note, QStringLiteral("試験\r\n結果"), Way::ContextMenu);
    EXPECT_EQ(note->text(), QStringLiteral("試験 結果"));
    ASSERT_EQ(user.boxes().size(), 1);
    EXPECT_EQ(user.boxes().first().text, kJoinedMessage);
}

} // namespace

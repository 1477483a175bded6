#include "EntryWindowFixture.h"

#include "comparison/CompareBreakdownDialog.h"
#include "comparison/CompareSheetDialog.h"
#include "comparison/ComparisonPageWidget.h"
#include "comparison/CostTypeDialog.h"
#include "dialogs/EvaluationResultDialog.h"
#include "dialogs/MocRecordDialog.h"
#include "dialogs/OtherContactDialog.h"
#include "dialogs/PrivateRecordDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QString nameOf(const QWidget* w)
{
    if (!w)
        return QStringLiteral("(none)");
    if (!w->objectName().isEmpty())
        return w->objectName();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    return QString::fromLatin1(w->metaObject()->className());
}

// The controls a user can reach with Tab in `dialog`: shown, enabled, taking the focus from Tab.
// Of the radio buttons of one group Tab reaches only one, which stands for the group.
QList<QWidget*> tabStops(QWidget* dialog)
{
    QList<QWidget*> stops;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dialog) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy())
            continue;
        // Parts of another control (a list's line edit, a scroll area's bars) are that control's.
        if (w->parentWidget() && w->parentWidget()->focusProxy() == w)
            continue;
        if (qobject_cast<QRadioButton*>(w))
            continue;
        stops << w;
    }
    return stops;
}

// Where a control stands in the dialog's reading order, measured before any scrolling.
struct Place
{
    QRect rect;
};

// True when `b` comes after `a` read top to bottom, left to right: below it, or on the same line
// (their heights overlap by more than half of the lower one) and to its right.
bool readsAfter(const QRect& a, const QRect& b)
{
    const int overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
    if (overlap > std::min(a.height(), b.height()) / 2)
        return b.left() > a.left();
    return b.top() > a.top();
}

// Walks Tab from `first` (null: the control focused as the dialog opens) through the dialog until the focus comes back to it; checks that
// every control is reached, and the boxes (every control but the push buttons, which may close a
// window from its header) each after the one before in reading order.
void expectTabOrderFollowsTheBoxes(QWidget* dialog, QWidget* first)
{
    SCOPED_TRACE(dialog->objectName().toStdString());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    if (!first)
        first = dialog->focusWidget(); // the control that has the focus when the dialog opens
    ASSERT_TRUE(first);
    QHash<QWidget*, QRect> places;
    const QList<QWidget*> stops = tabStops(dialog);
    for (QWidget* w : stops)
        places.insert(w, QRect(w->mapTo(dialog, QPoint(0, 0)), w->size()));
    first->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([first] { return first->hasFocus(); }, 1000));
    QList<QWidget*> walked = {first};
    for (int step = 0; step < 200; ++step) {
        QTest::keyClick(walked.last(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (now == first || !now || !dialog->isAncestorOf(now))
            break;
        walked << now;
    }
    QStringList order;
    for (QWidget* w : walked)
        order << nameOf(w);
    SCOPED_TRACE(order.join(QStringLiteral(" → ")).toStdString());
    for (QWidget* w : stops)
        EXPECT_TRUE(walked.contains(w)) << "never reached: " << nameOf(w).toStdString();
    QList<QWidget*> boxes;
    for (QWidget* w : walked) {
        if (places.contains(w) && !qobject_cast<QPushButton*>(w)) // a radio button stands for its group
            boxes << w;
    }
    for (int i = 1; i < boxes.size(); ++i) {
        EXPECT_TRUE(readsAfter(places.value(boxes.at(i - 1)), places.value(boxes.at(i))))
            << nameOf(boxes.at(i - 1)).toStdString() << " before " << nameOf(boxes.at(i)).toStdString();
    }
    EXPECT_EQ(walked.size(), QSet<QWidget*>(walked.begin(), walked.end()).size()) << "a control reached twice";
}

class DialogTabOrderTest : public EntryWindowFixture
{
protected:
    void SetUp() override
    {
        comparison::ComparisonDialog::setModalShow([](comparison::ComparisonDialog* d) { d->show(); });
        EntryWindowFixture::SetUp();
        window->show();
        window->cycle().newRegistration();
        find<QLineEdit>(QStringLiteral("TECH_TITLE"))->setText(QStringLiteral("新工法"));
        find<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->setText(QStringLiteral("従来工法"));
    }
    void TearDown() override { comparison::ComparisonDialog::setModalShow({}); }

    // Opens a record dialog by the main window's add button and walks it.
    template <typename D>
    void walkRecordDialog(const QString& addButton)
    {
        auto* d = window->findChild<D*>();
        ASSERT_TRUE(d);
        bool ran = false;
        QTimer::singleShot(0, d, [&] {
            ran = true;
            expectTabOrderFollowsTheBoxes(d, nullptr);
            d->reject();
        });
        find<QPushButton>(addButton)->click();
        EXPECT_TRUE(ran);
    }
};

} // namespace

TEST_F(DialogTabOrderTest, TheRecordAndContactDialogsTabThroughTheirBoxesInReadingOrder)
{
    walkRecordDialog<dialogs::MocRecordDialog>(QStringLiteral("Project_Moc_Add"));
    walkRecordDialog<dialogs::PrivateRecordDialog>(QStringLiteral("Project_Pvt_Add"));
    walkRecordDialog<dialogs::OtherContactDialog>(QStringLiteral("BtnCmpnyAdd"));
    walkRecordDialog<dialogs::EvaluationResultDialog>(QStringLiteral("EVALUATE_RSLT_ADD"));
}

TEST_F(DialogTabOrderTest, TheComparisonWindowsTabThroughTheirBoxesInReadingOrder)
{
    find<QPushButton>(QStringLiteral("btnCmp"))->click();
    comparison::CompareSheetDialog* sheet = window->comparison().sheet();
    ASSERT_TRUE(sheet->isVisible());
    expectTabOrderFollowsTheBoxes(sheet, sheet->box(QStringLiteral("BASE_VALUE")));

    for (const bool isNew : {true, false}) {
        isNew ? sheet->addNewTechnologyRow() : sheet->addOldTechnologyRow();
        comparison::CompareBreakdownDialog* d = isNew ? static_cast<comparison::CompareBreakdownDialog*>(window->comparison().newDialog())
                                                      : window->comparison().oldDialog();
        ASSERT_TRUE(d->isVisible());
        d->activateWindow();
        expectTabOrderFollowsTheBoxes(d, d->findChild<QWidget*>(QStringLiteral("ITEM")));
        d->reject();
    }
    sheet->reject();

    find<QPushButton>(QStringLiteral("btnCostType"))->click();
    comparison::CostTypeDialog* types = window->comparison().costTypeWindow();
    ASSERT_TRUE(types->isVisible());
    types->activateWindow();
    QWidget* firstType = types->findChild<QWidget*>(QStringLiteral("rbA1"));
    expectTabOrderFollowsTheBoxes(types, firstType);
}

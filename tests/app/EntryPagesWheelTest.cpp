#include "EntryWindowFixture.h"

#include "app/ScrollingPage.h"
#include "comparison/ComparisonDialog.h"
#include "comparison/ComparisonPageWidget.h"
#include "comparison/CompareSheetDialog.h"
#include "comparison/CostTypeDialog.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QWheelEvent>

namespace {

void turnWheelDown(QWidget* widget, int angle = 120)
{
    const QPointF inside(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(inside, widget->mapToGlobal(inside), QPoint(), QPoint(0, -angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

QString valueOf(QWidget* box)
{
    if (auto* list = qobject_cast<QComboBox*>(box))
        return list->currentText() + QString::number(list->currentIndex());
    return static_cast<QAbstractSpinBox*>(box)->text();
}

} // namespace

// Scrolling an entry page with the wheel while the pointer passes over a list or number box
// changes nothing: the page scrolls instead, on every page of a new registration.
TEST_F(EntryWindowFixture, TheWheelOverAnUnfocusedListOrNumberBoxScrollsThePageAndKeepsTheValue)
{
    window->show();
    window->cycle().newRegistration();
    int boxesTried = 0;
    for (app::ScrollingPage* page : window->findChildren<app::ScrollingPage*>()) {
        if (window->pages()->indexOf(page) >= 0)
            window->pages()->setCurrentWidget(page);
        for (QWidget* box : page->findChildren<QWidget*>()) {
            if (!qobject_cast<QComboBox*>(box) && !qobject_cast<QAbstractSpinBox*>(box))
                continue;
            if (box->hasFocus())
                window->setFocus();
            const QString before = valueOf(box);
            page->scrollBar()->setValue(0);
            turnWheelDown(box);
            EXPECT_EQ(valueOf(box), before) << box->objectName().toStdString();
            if (box->isVisible() && page->scrollBar()->maximum() > 0)
                EXPECT_GT(page->scrollBar()->value(), 0) << box->objectName().toStdString();
            ++boxesTried;
        }
    }
    EXPECT_GT(boxesTried, 5);
}

// A notch of the wheel scrolls every entry page, and the panels of the comparison windows, by the
// platform's step: three lines of the form (a line: a one-line box's height), as text views scroll
// three lines of text; a smooth wheel's half notch scrolls half as far.
TEST_F(EntryWindowFixture, ANotchOfTheWheelScrollsThreeLinesOfTheForm)
{
    comparison::ComparisonDialog::setModalShow([](comparison::ComparisonDialog* d) { d->show(); });
    window->show();
    window->cycle().newRegistration();
    find<QLineEdit>(QStringLiteral("COMPARE_TECH_TITLE"))->setText(QStringLiteral("従来工法"));
    const int notch = QApplication::wheelScrollLines() * QLineEdit().sizeHint().height();
    ASSERT_GE(notch, 3 * 20);
    int pagesTried = 0;
    for (app::ScrollingPage* page : window->findChildren<app::ScrollingPage*>()) {
        SCOPED_TRACE(page->objectName().toStdString());
        window->pages()->setCurrentWidget(page);
        QScrollBar* bar = page->scrollBar();
        ASSERT_GE(bar->maximum(), 2 * notch);
        bar->setValue(0);
        turnWheelDown(page);
        EXPECT_EQ(bar->value(), notch);
        turnWheelDown(page, 60);
        EXPECT_EQ(bar->value(), notch + notch / 2);
        ++pagesTried;
    }
    EXPECT_EQ(pagesTried, 4);

    find<QPushButton>(QStringLiteral("btnCmp"))->click();
    find<QPushButton>(QStringLiteral("btnCostType"))->click();
    for (QWidget* w : {static_cast<QWidget*>(window->comparison().sheet()), static_cast<QWidget*>(window->comparison().costTypeWindow())}) {
        SCOPED_TRACE(w->objectName().toStdString());
        ASSERT_TRUE(w->isVisible());
        auto* area = w->findChild<QScrollArea*>();
        ASSERT_TRUE(area);
        QScrollBar* bar = area->verticalScrollBar();
        ASSERT_GE(bar->maximum(), notch);
        bar->setValue(0);
        turnWheelDown(area->viewport());
        EXPECT_EQ(bar->value(), notch);
    }
    comparison::ComparisonDialog::setModalShow({});
}

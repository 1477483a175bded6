#include "EntryWindowFixture.h"

#include "app/ScrollingPage.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QWheelEvent>

namespace {

void turnWheelDown(QWidget* widget)
{
    const QPointF inside(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(inside, widget->mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
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

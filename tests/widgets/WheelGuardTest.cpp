#include "widgets/WheelGuard.h"

#include <QApplication>
#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// Turns the wheel one notch down over `widget`, as the window system delivers it.
void turnWheelDown(QWidget* widget)
{
    const QPointF inside(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(inside, widget->mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

struct ScrolledBoxes {
    QScrollArea area;
    QComboBox* list = new QComboBox;
    QSpinBox* number = new QSpinBox;

    ScrolledBoxes()
    {
        auto* panel = new QWidget;
        auto* layout = new QVBoxLayout(panel);
        list->addItems({QStringLiteral("システム"), QStringLiteral("製品"), QStringLiteral("その他")});
        number->setRange(0, 99);
        layout->addWidget(list);
        layout->addWidget(number);
        layout->addSpacing(3000);
        area.setWidget(panel);
        area.resize(300, 200);
        area.show();
        QApplication::setActiveWindow(&area);
    }
};

} // namespace

TEST(WheelGuard, AnUnfocusedListOrNumberBoxLeavesItsValueAndTheWheelScrollsThePage)
{
    widgets::installWheelGuard(*qApp);
    ScrolledBoxes boxes;
    boxes.area.setFocus();
    for (QWidget* box : {static_cast<QWidget*>(boxes.list), static_cast<QWidget*>(boxes.number)}) {
        const int before = boxes.area.verticalScrollBar()->value();
        turnWheelDown(box);
        EXPECT_GT(boxes.area.verticalScrollBar()->value(), before) << box->metaObject()->className();
        EXPECT_FALSE(box->hasFocus());
    }
    EXPECT_EQ(boxes.list->currentIndex(), 0);
    EXPECT_EQ(boxes.number->value(), 0);
    EXPECT_EQ(boxes.list->focusPolicy(), Qt::StrongFocus);
}

TEST(WheelGuard, AFocusedListTakesTheWheel)
{
    widgets::installWheelGuard(*qApp);
    ScrolledBoxes boxes;
    boxes.list->setFocus();
    ASSERT_TRUE(boxes.list->hasFocus());
    turnWheelDown(boxes.list);
    EXPECT_EQ(boxes.list->currentIndex(), 1);
    EXPECT_EQ(boxes.area.verticalScrollBar()->value(), 0);
}

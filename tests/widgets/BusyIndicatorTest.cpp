#include "widgets/BusyIndicator.h"

#include <QAbstractButton>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

Qt::CursorShape shownCursor()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

TEST(BusyIndicatorTest, BusyCursorAtOnceTheWindowOnlyWhenTheWorkLastsAndBoxesShowTheOrdinaryCursor)
{
    QWidget main;
    main.show();
    {
        auto busy = std::make_unique<widgets::BusyIndicator>(QStringLiteral("PDFファイルを作成しています…"), &main);
        EXPECT_EQ(shownCursor(), Qt::WaitCursor);
        QTest::qWait(50);
        EXPECT_FALSE(busy->window()->isVisible()) << "short work shows no window";

        // Work that lets the loop run past the delay says what it does, in a window without a cancel button.
        EXPECT_TRUE(QTest::qWaitFor([&] { return busy->window()->isVisible(); }, widgets::BusyIndicator::kWindowDelayMs + 1500));
        EXPECT_EQ(busy->window()->findChild<QLabel*>(QStringLiteral("lblBusy"))->text(), QStringLiteral("PDFファイルを作成しています…"));
        EXPECT_TRUE(busy->window()->findChildren<QAbstractButton*>().isEmpty());
        QTest::keyClick(busy->window(), Qt::Key_Escape);
        EXPECT_TRUE(busy->window()->isVisible()) << "Escape does not hide the work";

        // A box asked during the work has the screen with the ordinary cursor; the work's signs come back after it.
        {
            const widgets::BusyIndicator::Pause box;
            EXPECT_FALSE(busy->window()->isVisible());
            EXPECT_EQ(shownCursor(), Qt::ArrowCursor);
        }
        EXPECT_EQ(shownCursor(), Qt::WaitCursor);
        QTest::qWait(50);
        EXPECT_FALSE(busy->window()->isVisible()) << "the delay starts again";

        // Nested work keeps the busy cursor until the outer work ends.
        {
            const widgets::BusyIndicator inner(QStringLiteral("内側"), &main);
            EXPECT_EQ(shownCursor(), Qt::WaitCursor);
        }
        EXPECT_EQ(shownCursor(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // Outside any work a box changes no cursor.
    {
        const widgets::BusyIndicator::Pause box;
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
}

} // namespace

#include "widgets/BusyIndicator.h"
#include "widgets/QtUserInteraction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

namespace {

Qt::CursorShape shownCursor()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

// Work that holds the event loop for `ms`.
void holdTheLoop(int ms)
{
    QThread::msleep(ms);
}

QString busyText(const QDialog* window)
{
    return window->findChild<QLabel*>(QStringLiteral("lblBusy"))->text();
}

// The busy window on the screen, if any.
QDialog* shownBusyWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("FrmBusy") && window->isVisible())
            return qobject_cast<QDialog*>(window);
    }
    return nullptr;
}

class PaintCount : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

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

TEST(BusyIndicatorTest, WorkThatHoldsTheLoopGetsTheWindowWhenItGoesOnPastTheDelayAndNothingElseRuns)
{
    QWidget main;
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QTimer programTimer; // the draft of the edits, say
    programTimer.setSingleShot(true);
    bool timerFired = false;
    QObject::connect(&programTimer, &QTimer::timeout, [&] { timerFired = true; });
    programTimer.start(1);

    constexpr int delayMs = 200;
    QPointer<QDialog> window;
    {
        const widgets::BusyIndicator busy(QStringLiteral("提出用ファイルを作成しています…"), &main, delayMs);
        window = busy.window();
        PaintCount painted;
        window->installEventFilter(&painted);
        widgets::BusyIndicator::workGoesOn();
        EXPECT_FALSE(window->isVisible()) << "work shorter than the delay shows no window";

        holdTheLoop(delayMs + 50);
        widgets::BusyIndicator::workGoesOn();
        ASSERT_TRUE(window->isVisible());
        EXPECT_TRUE(window->windowHandle()->isExposed());
        EXPECT_GT(painted.count, 0) << "the window paints while the work holds the loop";
        EXPECT_EQ(busyText(window), QStringLiteral("提出用ファイルを作成しています…"));
        EXPECT_FALSE(timerFired) << "the program's timers wait for the end of the work";

        // A box asked during the work hides the window; its delay starts again after the box.
        {
            const widgets::BusyIndicator::Pause box;
            widgets::BusyIndicator::workGoesOn();
            EXPECT_FALSE(window->isVisible());
        }
        widgets::BusyIndicator::workGoesOn();
        EXPECT_FALSE(window->isVisible());
        holdTheLoop(delayMs + 50);
        widgets::BusyIndicator::workGoesOn();
        EXPECT_TRUE(window->isVisible());
    }
    EXPECT_TRUE(window.isNull()) << "the window goes with the work";
    EXPECT_TRUE(QTest::qWaitFor([&] { return timerFired; }, 1000)) << "a timer held back fires once the loop runs";
}

TEST(BusyIndicatorTest, TheProgramsInteractionShowsWhatTheWorkDoesUntilABoxOrTheEnd)
{
    QWidget main;
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    constexpr int delayMs = 100;
    widgets::QtUserInteraction ui(delayMs);
    ui.workStarted(QStringLiteral("データを取り込んでいます…"));
    ui.workGoesOn();
    EXPECT_EQ(shownBusyWindow(), nullptr);
    holdTheLoop(delayMs + 50);
    ui.workGoesOn();
    QDialog* window = shownBusyWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(busyText(window), QStringLiteral("データを取り込んでいます…"));

    // A message of the work has the screen alone.
    bool shownWithTheBox = true;
    QTimer::singleShot(50, [&] {
        shownWithTheBox = shownBusyWindow() != nullptr;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->reject();
    });
    ui.warn(QStringLiteral("注意"), QStringLiteral("確認"));
    EXPECT_FALSE(shownWithTheBox);

    ui.workEnded();
    EXPECT_EQ(shownBusyWindow(), nullptr);
}

} // namespace

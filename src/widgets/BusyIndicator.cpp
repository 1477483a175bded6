#include "widgets/BusyIndicator.h"

#include <QAnimationDriver>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace widgets {

namespace {

// The indicators alive now, innermost last.
std::vector<BusyIndicator*>& liveIndicators()
{
    static std::vector<BusyIndicator*> live;
    return live;
}

// A small window with what is being done and a running bar, that Escape and the close button
// cannot hide while the work goes on.
class WorkWindow : public QDialog
{
public:
    WorkWindow(const QString& what, QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    {
        setObjectName(QStringLiteral("FrmBusy"));
        setWindowTitle(QStringLiteral("処理中"));
        setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
        // It takes no focus: the box that has it keeps it, so appearing in the middle of work
        // makes no box lose its focus (which would store its text then).
        setAttribute(Qt::WA_ShowWithoutActivating);
        auto* layout = new QVBoxLayout(this);
        auto* text = new QLabel(what, this);
        text->setObjectName(QStringLiteral("lblBusy"));
        layout->addWidget(text);
        auto* bar = new QProgressBar(this);
        bar->setRange(0, 0); // running, with no known end
        bar->setTextVisible(false);
        layout->addWidget(bar);
        setMinimumWidth(320);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() != Qt::Key_Escape)
            QDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// While it lives, the timers of the program wait, all but the one that moves the running bar: a
// timer whose event is held back fires on its next turn, once the loop runs again. So nothing that
// a timer starts (the draft of the edits, a focus moved later) runs in the middle of the work.
class TimersHeldBack : public QObject
{
public:
    TimersHeldBack() { QCoreApplication::instance()->installEventFilter(this); }
    ~TimersHeldBack() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool timer = event->type() == QEvent::Timer || event->type() == QEvent::ZeroTimerEvent;
        return timer && !qobject_cast<QAnimationDriver*>(watched);
    }
};

// Lets the busy windows take their place on the screen and paint while the work holds the loop:
// the window system's events other than user input (a window exposed, moved or covered) and the
// posted ones (requests to paint) are handled. User input stays in its queue for after the work;
// socket notifiers (a request to end the program) and timers wait.
void letWindowsPaint()
{
    const TimersHeldBack timers;
    // A few passes: what one pass asks (the running bar's next step) is painted by the next.
    constexpr int kPasses = 3;
    for (int pass = 0; pass < kPasses; ++pass)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
}

// Work may say it goes on far more often than a screen needs painting.
constexpr int kPaintIntervalMs = 40;

bool isExposed(const QWidget* window)
{
    return window->windowHandle() && window->windowHandle()->isExposed();
}

// How long a window just shown may take the window system to put it on the screen.
constexpr int kExposureWaitMs = 300;

} // namespace

BusyIndicator::BusyIndicator(const QString& what, QWidget* parent, int windowDelayMs)
    : m_window(std::make_unique<WorkWindow>(what, parent))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(windowDelayMs);
    QObject::connect(&m_delay, &QTimer::timeout, m_window.get(), &QWidget::show);
    m_delay.start();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    liveIndicators().push_back(this);
}

BusyIndicator::~BusyIndicator()
{
    std::erase(liveIndicators(), this);
    m_delay.stop();
    m_window.reset();
    QGuiApplication::restoreOverrideCursor();
}

void BusyIndicator::workGoesOn()
{
    // What the painting handles never starts more of it.
    static bool painting = false;
    if (painting)
        return;
    const QScopedValueRollback<bool> guard(painting, true);
    QList<QPointer<QDialog>> shownNow;
    bool anyShown = false;
    for (BusyIndicator* indicator : std::vector<BusyIndicator*>(liveIndicators())) {
        const bool wasShown = indicator->m_window->isVisible();
        if (indicator->showWhenDue()) {
            anyShown = true;
            if (!wasShown)
                shownNow.append(indicator->m_window.get());
        }
    }
    static QElapsedTimer sincePainted;
    if (!anyShown || (shownNow.isEmpty() && sincePainted.isValid() && sincePainted.elapsed() < kPaintIntervalMs))
        return;
    letWindowsPaint();
    sincePainted.start();
    // A window just shown appears once the window system has placed it; until then it cannot paint.
    const QDeadlineTimer placed(kExposureWaitMs);
    for (const QPointer<QDialog>& window : std::as_const(shownNow)) {
        while (window && !isExposed(window) && !placed.hasExpired()) {
            QThread::msleep(5);
            letWindowsPaint();
        }
    }
}

bool BusyIndicator::showWhenDue()
{
    if (m_window->isVisible())
        return true;
    // The delay has passed when its timer is due but could not fire; a paused indicator has none.
    if (!m_delay.isActive() || m_delay.remainingTime() > 0)
        return false;
    m_delay.stop();
    m_window->show();
    return true;
}

void BusyIndicator::pause()
{
    m_delay.stop();
    m_window->hide();
}

void BusyIndicator::resume()
{
    m_delay.start();
}

BusyIndicator::Pause::Pause()
{
    if (liveIndicators().empty())
        return;
    m_paused = true;
    for (BusyIndicator* indicator : liveIndicators())
        indicator->pause();
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
}

BusyIndicator::Pause::~Pause()
{
    if (!m_paused)
        return;
    QGuiApplication::restoreOverrideCursor();
    for (BusyIndicator* indicator : liveIndicators())
        indicator->resume();
}

} // namespace widgets

#pragma once

#include <QString>
#include <QTimer>

#include <memory>

class QDialog;
class QWidget;

namespace widgets {

// Shows the user, for as long as it lives, that long work is under way: the busy cursor at once,
// and once the work has lasted kWindowDelayMs a small window that says what is being done. Work
// that lets the event loop run (the browser engine printing or writing a PDF) gets the window from
// the loop; work that holds the loop (writing or reading a submission file, the check list) gets
// it when it says at its natural points that it goes on (workGoesOn). The window has no cancel
// button: the work it covers would leave a half-written file if stopped.
class BusyIndicator
{
public:
    static constexpr int kWindowDelayMs = 2000;

    explicit BusyIndicator(const QString& what, QWidget* parent = nullptr, int windowDelayMs = kWindowDelayMs);
    ~BusyIndicator();
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;

    // The window that says what is being done (shown only after the delay).
    QDialog* window() const { return m_window.get(); }

    // Said by work that holds the event loop, between its steps: each indicator alive whose delay
    // has passed shows its window, and the windows take their place on the screen and paint.
    // Nothing else of the program runs meanwhile: user input waits in its queue, and the timers
    // and socket notifiers wait until the loop runs again.
    static void workGoesOn();

    // While it lives, a box the work asks (a question, a message, a file dialog) has the screen:
    // every busy window is hidden, its delay starts again afterwards, and the ordinary cursor shows.
    class Pause
    {
    public:
        Pause();
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        bool m_paused = false;
    };

private:
    void pause();
    void resume();
    // Shows the window when the delay has passed while the loop was held; true when it shows.
    bool showWhenDue();

    std::unique_ptr<QDialog> m_window;
    QTimer m_delay;
};

} // namespace widgets

#pragma once

#include <QString>
#include <QTimer>

#include <memory>

class QDialog;
class QWidget;

namespace widgets {

// Shows the user, for as long as it lives, that long work is under way: the busy cursor at once,
// and once the work has lasted kWindowDelayMs a small window that says what is being done. The
// window needs the event loop to run, as it does while the browser engine prints or writes a PDF;
// work that holds the loop shows the cursor alone. The window has no cancel button: the work it
// covers would leave a half-written file if stopped.
class BusyIndicator
{
public:
    static constexpr int kWindowDelayMs = 2000;

    explicit BusyIndicator(const QString& what, QWidget* parent = nullptr);
    ~BusyIndicator();
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;

    // The window that says what is being done (shown only after the delay).
    QDialog* window() const { return m_window.get(); }

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

    std::unique_ptr<QDialog> m_window;
    QTimer m_delay;
};

} // namespace widgets

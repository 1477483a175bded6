#include "widgets/BusyIndicator.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

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

} // namespace

BusyIndicator::BusyIndicator(const QString& what, QWidget* parent)
    : m_window(std::make_unique<WorkWindow>(what, parent))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(kWindowDelayMs);
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

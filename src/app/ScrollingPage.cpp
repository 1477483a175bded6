#include "app/ScrollingPage.h"

#include "widgets/WheelGuard.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace app {

ScrollingPage::ScrollingPage(const QString& name, const QString& scrollBarName, QWidget* parent)
    : QWidget(parent)
    , m_header(new QWidget(this))
    , m_panel(new QWidget(this))
    , m_layout(new QVBoxLayout(m_panel))
    , m_scrollBar(new QScrollBar(Qt::Vertical, this))
{
    setObjectName(name);
    m_panel->setObjectName(name + QStringLiteral("Panel"));
    m_layout->setContentsMargins(8, 4, 8, 12);
    m_layout->setSpacing(10);
    m_header->setAutoFillBackground(true);
    auto* headerLayout = new QHBoxLayout(m_header);
    headerLayout->setContentsMargins(8, 4, 8, 4);
    m_scrollBar->setObjectName(scrollBarName);
    m_scrollBar->setSingleStep(widgets::formLineHeight(this));
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &ScrollingPage::scrollBarMoved);
    // Tab, Enter or a check's message may move the focus to a control outside the visible part.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && m_panel->isAncestorOf(now))
            keepInView(now);
    });
}

void ScrollingPage::keepInView(QWidget* control)
{
    const int viewport = std::max(0, height() - kHeaderHeight);
    const QRect area(control->mapTo(m_panel, QPoint(0, 0)), control->size());
    const int top = m_scrollBar->value();
    // A control taller than the view shows its top.
    if (area.top() < top || area.height() > viewport)
        m_scrollBar->setValue(area.top() - kMargin);
    else if (area.bottom() > top + viewport)
        m_scrollBar->setValue(area.bottom() - viewport + kMargin);
}

QLabel* ScrollingPage::addHeaderLabel(const QString& text, const QString& titleName)
{
    auto* label = new QLabel(text, m_header);
    if (!titleName.isEmpty()) {
        label->setObjectName(titleName);
        QFont font = label->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.15);
        label->setFont(font);
    }
    static_cast<QHBoxLayout*>(m_header->layout())->addWidget(label, titleName.isEmpty() ? 0 : 1);
    return label;
}

void ScrollingPage::finish()
{
    m_layout->addStretch(1);
    fitPanel();
}

void ScrollingPage::fitPanel()
{
    m_layout->activate();
    m_panelHeight = m_layout->totalSizeHint().height();
    layOut();
}

void ScrollingPage::resetScroll()
{
    m_scrollBar->setValue(0);
    scrollBarMoved(0);
}

int ScrollingPage::wheelStep() const
{
    return QApplication::wheelScrollLines() * m_scrollBar->singleStep();
}

void ScrollingPage::turnWheel(int notches)
{
    m_scrollBar->setValue(m_scrollBar->value() + notches * wheelStep());
}

void ScrollingPage::scrollBarMoved(int position)
{
    m_panel->move(0, kHeaderHeight - position);
}

void ScrollingPage::layOut()
{
    const int barWidth = m_scrollBar->sizeHint().width();
    const int viewport = std::max(0, height() - kHeaderHeight);
    m_header->setGeometry(0, 0, width() - barWidth, kHeaderHeight);
    m_scrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
    m_panel->resize(width() - barWidth, std::max(m_panelHeight, viewport));
    m_scrollBar->setMaximum(std::max(0, m_panelHeight - viewport));
    m_scrollBar->setPageStep(std::max(1, viewport));
    scrollBarMoved(m_scrollBar->value());
    m_header->raise();
}

void ScrollingPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void ScrollingPage::wheelEvent(QWheelEvent* event)
{
    // A wheel that reports pixels (a touchpad) moves the page by them; otherwise a notch is 120,
    // and the finer steps of a smooth wheel move the page in proportion.
    const QPoint pixels = event->pixelDelta();
    const int move = !pixels.isNull() ? -pixels.y() : -event->angleDelta().y() * wheelStep() / 120;
    m_scrollBar->setValue(m_scrollBar->value() + move);
    event->accept();
}

} // namespace app

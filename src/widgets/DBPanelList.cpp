#include "widgets/DBPanelList.h"

#include "widgets/FieldLink.h"
#include "widgets/VisibleRows.h"
#include "widgets/WheelGuard.h"

#include <QEvent>
#include <QFrame>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace widgets {

namespace {

// The current row's panel gets the selection colour as its frame and a tinted background. The
// rule is set once on the container; a move only flips the property of two frames and polishes
// them again (a style sheet of its own would re-polish every control of a panel at every move).
const QString kPanelStyle = QStringLiteral(
    "QFrame#panelFrame { border: 1px solid palette(mid); background: palette(base); }"
    "QFrame#panelFrame[current=\"true\"] { border: 2px solid palette(highlight); background: palette(alternate-base); }");

void markCurrent(QFrame* frame, bool current)
{
    frame->setProperty("current", current);
    frame->style()->unpolish(frame);
    frame->style()->polish(frame);
    frame->update();
}

} // namespace

DBPanelList::DBPanelList(store::DataSource* source, PanelFactory factory, QWidget* parent, const QString& name)
    : QScrollArea(parent)
    , m_source(source)
    , m_factory(std::move(factory))
    , m_container(new QWidget)
    , m_layout(new QVBoxLayout(m_container))
{
    setObjectName(name.isEmpty() && source && source->table() ? source->table()->name() : name);
    m_layout->setContentsMargins(2, 2, 2, 2);
    m_layout->setSpacing(2);
    m_layout->addStretch(1);
    m_container->setStyleSheet(kPanelStyle);
    setWidget(m_container);
    setWidgetResizable(true);
    verticalScrollBar()->setSingleStep(formLineHeight(this));
    if (source) {
        connect(source, &store::DataSource::dataChanged, this, &DBPanelList::refresh);
        connect(source, &store::DataSource::stateChanged, this, &DBPanelList::refresh);
    }
    refresh();
}

QWidget* DBPanelList::panel(int index) const
{
    QFrame* frame = m_frames.value(index);
    return frame ? frame->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void DBPanelList::refresh()
{
    store::Table* table = m_source ? m_source->table() : nullptr;
    QVector<store::Table::RowValues> rows;
    if (visibleRowValues(table, &rows) && rows != m_rows) {
        m_rows = rows;
        rebuild();
    }
    const bool onStoredRow = table && table->isActive() && table->state() != store::Table::State::Insert;
    highlight(onStoredRow ? table->recNo() - 1 : -1);
}

void DBPanelList::rebuild()
{
    qDeleteAll(m_frames);
    m_frames.clear();
    m_current = -1;
    walkVisibleRows(m_source->table(), [this](store::Table& row) {
        auto* frame = new QFrame(m_container);
        frame->setObjectName(QStringLiteral("panelFrame"));
        frame->setProperty("current", false);
        auto* layout = new QVBoxLayout(frame);
        layout->setContentsMargins(4, 4, 4, 4);
        QWidget* panel = m_factory(row);
        panel->setParent(frame);
        layout->addWidget(panel);
        frame->installEventFilter(this);
        for (QWidget* child : frame->findChildren<QWidget*>())
            child->installEventFilter(this);
        m_layout->insertWidget(int(m_frames.size()), frame);
        m_frames.append(frame);
    });
}

void DBPanelList::highlight(int index)
{
    if (index < 0 || index >= m_frames.size())
        index = -1;
    if (index != m_current) {
        if (m_current >= 0)
            markCurrent(m_frames.at(m_current), false);
        if (index >= 0)
            markCurrent(m_frames.at(index), true);
    }
    m_current = index;
    if (index >= 0)
        ensureWidgetVisible(m_frames.at(index));
}

bool DBPanelList::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < m_frames.size(); ++i) {
            QFrame* frame = m_frames.at(i);
            if (watched != frame && !frame->isAncestorOf(qobject_cast<QWidget*>(watched)))
                continue;
            store::Table* table = m_source ? m_source->table() : nullptr;
            if (table && i != m_current && FieldLink::flush(table))
                table->setRecNo(i + 1);
            emit panelClicked(i);
            break;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

} // namespace widgets

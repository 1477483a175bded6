#include "widgets/EventHook.h"

#include <QObject>
#include <QWidget>

namespace widgets {

namespace {

class EventHook : public QObject
{
public:
    EventHook(QWidget* target, QEvent::Type type, std::function<bool(QEvent*)> handler)
        : QObject(target)
        , m_type(type)
        , m_handler(std::move(handler))
    {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == m_type && m_handler(event); }

private:
    QEvent::Type m_type;
    std::function<bool(QEvent*)> m_handler;
};

} // namespace

void onEvent(QWidget* control, QEvent::Type type, std::function<bool(QEvent*)> handler)
{
    new EventHook(control, type, std::move(handler));
}

} // namespace widgets

#pragma once

#include <QEvent>

#include <functional>

class QWidget;

namespace widgets {

// Runs `handler` on every event of one type that reaches `control`; the handler returns true to
// swallow the event. The hook lives as long as the control.
void onEvent(QWidget* control, QEvent::Type type, std::function<bool(QEvent*)> handler);

} // namespace widgets

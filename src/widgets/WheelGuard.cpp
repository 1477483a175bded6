#include "widgets/WheelGuard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QWheelEvent>

namespace widgets {

namespace {

bool takesValueFromWheel(const QObject* object)
{
    return qobject_cast<const QComboBox*>(object) || qobject_cast<const QAbstractSpinBox*>(object);
}

class WheelGuard : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType() || !takesValueFromWheel(watched))
            return false;
        auto* box = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Polish && box->focusPolicy() == Qt::WheelFocus)
            box->setFocusPolicy(Qt::StrongFocus);
        if (event->type() == QEvent::Wheel && !box->hasFocus()) {
            passToParents(box, *static_cast<QWheelEvent*>(event));
            return true;
        }
        return false;
    }

private:
    // Offers the wheel to the box's parents in turn, as the application does for a wheel the box
    // ignores, until one takes it (the page or scroll area beneath).
    static void passToParents(QWidget* box, QWheelEvent& wheel)
    {
        for (QWidget* parent = box->parentWidget(); parent; parent = parent->parentWidget()) {
            QWheelEvent passed(parent->mapFromGlobal(wheel.globalPosition()), wheel.globalPosition(), wheel.pixelDelta(),
                               wheel.angleDelta(), wheel.buttons(), wheel.modifiers(), wheel.phase(), wheel.inverted(),
                               wheel.source());
            passed.ignore();
            QCoreApplication::sendEvent(parent, &passed);
            if (passed.isAccepted() || parent->isWindow())
                break;
        }
        wheel.accept();
    }
};

} // namespace

void installWheelGuard(QCoreApplication& app)
{
    static const char* const kInstalled = "vordellWheelGuard";
    if (app.property(kInstalled).toBool())
        return;
    app.installEventFilter(new WheelGuard(&app));
    app.setProperty(kInstalled, true);
}

} // namespace widgets

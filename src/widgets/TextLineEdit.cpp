#include "widgets/TextLineEdit.h"

#include "widgets/SjisInput.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace widgets {

TextLineEdit::TextLineEdit(const QString& name, QWidget* parent)
    : QLineEdit(parent)
    , m_validator(new SjisValidator(this))
{
    setObjectName(name);
    setValidator(m_validator);
}

void TextLineEdit::setMaxBytes(int maxBytes)
{
    m_validator->setMaxBytes(maxBytes);
}

int TextLineEdit::maxBytes() const
{
    return m_validator->maxBytes();
}

void TextLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (!isReadOnly() && refuseUnencodable(textOfKey(event))) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!isReadOnly() && refuseUnencodable(event->commitString())) {
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

} // namespace widgets

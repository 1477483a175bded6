#include "widgets/DBMemo.h"

namespace widgets {

DBMemo::DBMemo(store::DataSource* source, const QString& fieldName, QWidget* parent, const QString& name)
    : TextMemo(name.isEmpty() ? fieldName : name, parent)
    , m_link(new FieldLink(source, fieldName, this, this))
{
    connect(this, &QPlainTextEdit::textChanged, m_link, [this] { m_link->controlChanged(); });
    m_link->reload();
}

void DBMemo::loadFromField(const store::Field& field)
{
    setText(field.isValid() ? field.asString() : QString());
}

void DBMemo::focusOutEvent(QFocusEvent* event)
{
    m_link->updateRecord();
    TextMemo::focusOutEvent(event);
}

} // namespace widgets

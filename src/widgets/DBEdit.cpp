#include "widgets/DBEdit.h"

namespace widgets {

DBEdit::DBEdit(store::DataSource* source, const QString& fieldName, QWidget* parent, const QString& name)
    : TextLineEdit(name.isEmpty() ? fieldName : name, parent)
    , m_link(new FieldLink(source, fieldName, this, this))
{
    // Connected first, so that the table is in edit state before any other change handler runs.
    connect(this, &QLineEdit::textChanged, m_link, [this] { m_link->controlChanged(); });
    m_link->reload();
}

void DBEdit::loadFromField(const store::Field& field)
{
    const bool limited = field.isValid() && field.def().isText() && field.def().type != store::FieldType::Memo;
    setMaxBytes(limited ? field.def().width : 0);
    const QString shown = field.isValid() ? field.asString() : QString();
    if (text() != shown)
        setText(shown);
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    m_link->updateRecord();
    TextLineEdit::focusOutEvent(event);
}

} // namespace widgets

#include "dialogs/BoundComboBox.h"

#include "widgets/TextLineEdit.h"

namespace dialogs {

BoundComboBox::BoundComboBox(store::DataSource* source, const QString& fieldName, QWidget* parent, const QString& name)
    : QComboBox(parent)
    , m_link(new widgets::FieldLink(source, fieldName, this, this))
{
    setObjectName(name.isEmpty() ? fieldName : name);
    // The typed text meets the rules of every one-line box: Shift_JIS only, the field's width, and
    // pastes kept to one line with a word to the user.
    setLineEdit(new widgets::TextLineEdit(QString(), this));
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::editTextChanged, m_link, [this] {
        if (!m_replacing)
            m_link->controlChanged();
    });
    m_link->reload();
}

void BoundComboBox::setEntries(const QStringList& entries)
{
    m_replacing = true;
    clear();
    addItems(entries);
    setCurrentIndex(-1);
    m_replacing = false;
    m_link->reload();
}

void BoundComboBox::clearText()
{
    if (currentText().isEmpty())
        return;
    setEditText(QString());
    if (m_link->controlChanged())
        m_link->updateRecord();
}

void BoundComboBox::loadFromField(const store::Field& field)
{
    const bool limited = field.isValid() && field.def().isText() && field.def().type != store::FieldType::Memo;
    if (auto* edit = qobject_cast<widgets::TextLineEdit*>(lineEdit()))
        edit->setMaxBytes(limited ? field.def().width : 0);
    const QString shown = field.isValid() ? field.asString() : QString();
    if (currentText() != shown)
        setEditText(shown);
}

void BoundComboBox::focusOutEvent(QFocusEvent* event)
{
    m_link->updateRecord();
    QComboBox::focusOutEvent(event);
}

} // namespace dialogs

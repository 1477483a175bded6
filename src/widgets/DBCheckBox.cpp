#include "widgets/DBCheckBox.h"

namespace widgets {

DBCheckBox::DBCheckBox(store::DataSource* source, const QString& fieldName, const QString& caption, QWidget* parent,
                       const QString& name, const QString& checkedValue, const QString& uncheckedValue)
    : QCheckBox(caption, parent)
    , m_checkedValue(checkedValue)
    , m_uncheckedValue(uncheckedValue)
    , m_link(new FieldLink(source, fieldName, this, this))
{
    setObjectName(name.isEmpty() ? fieldName : name);
    connect(this, &QCheckBox::toggled, m_link, [this] {
        if (!m_link->isLoading() && m_link->controlChanged())
            m_link->updateRecord();
    });
    m_link->reload();
}

void DBCheckBox::loadFromField(const store::Field& field)
{
    const bool on = field.isValid() && field.asString().trimmed() == m_checkedValue;
    if (isChecked() != on)
        setChecked(on);
}

} // namespace widgets

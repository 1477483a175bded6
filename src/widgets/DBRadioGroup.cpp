#include "widgets/DBRadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace widgets {

DBRadioGroup::DBRadioGroup(store::DataSource* source, const QString& fieldName, const QString& caption,
                           const QList<Item>& items, QWidget* parent, const QString& name)
    : QGroupBox(caption, parent)
    , m_items(items)
    , m_group(new QButtonGroup(this))
    , m_layout(new QGridLayout(this))
    , m_link(new FieldLink(source, fieldName, this, this))
{
    setObjectName(name.isEmpty() ? fieldName : name);
    // As tall as its buttons need: a taller frame would float them in empty space.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    for (int i = 0; i < m_items.size(); ++i) {
        auto* button = new QRadioButton(m_items.at(i).caption, this);
        m_buttons.append(button);
        m_group->addButton(button, i);
    }
    layOut();
    connect(m_group, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            emit changed();
    });
    connect(m_group, &QButtonGroup::idClicked, this, [this] {
        if (m_link->controlChanged())
            m_link->updateRecord();
        emit clicked();
    });
    m_link->reload();
}

void DBRadioGroup::setColumns(int columns)
{
    m_columns = std::max(1, columns);
    layOut();
}

void DBRadioGroup::layOut()
{
    for (QRadioButton* button : std::as_const(m_buttons))
        m_layout->removeWidget(button);
    const int rows = (int(m_buttons.size()) + m_columns - 1) / m_columns;
    for (int i = 0; i < m_buttons.size(); ++i)
        m_layout->addWidget(m_buttons.at(i), rows ? i % rows : 0, rows ? i / rows : 0);
}

int DBRadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

void DBRadioGroup::setItemIndex(int index)
{
    if (index == itemIndex())
        return;
    select(index);
    if (m_link->controlChanged())
        m_link->updateRecord();
}

QString DBRadioGroup::value() const
{
    const int index = itemIndex();
    return index >= 0 ? m_items.at(index).value : QString();
}

QRadioButton* DBRadioGroup::button(int index) const
{
    return m_buttons.value(index);
}

void DBRadioGroup::select(int index)
{
    if (index >= 0 && index < m_buttons.size()) {
        m_buttons.at(index)->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button.
    m_group->setExclusive(false);
    for (QRadioButton* button : std::as_const(m_buttons))
        button->setChecked(false);
    m_group->setExclusive(true);
    emit changed();
}

void DBRadioGroup::loadFromField(const store::Field& field)
{
    const QString stored = field.isValid() ? field.asString().trimmed() : QString();
    int index = -1;
    for (int i = 0; i < m_items.size() && index < 0; ++i) {
        if (m_items.at(i).value == stored)
            index = i;
    }
    if (index != itemIndex())
        select(index);
}

} // namespace widgets

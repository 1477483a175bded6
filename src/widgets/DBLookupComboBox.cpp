#include "widgets/DBLookupComboBox.h"

#include "widgets/VisibleRows.h"

namespace widgets {

DBLookupComboBox::DBLookupComboBox(store::DataSource* source, const QString& dataField, store::DataSource* listSource,
                                   const QString& keyField, const QString& listField, QWidget* parent,
                                   const QString& name)
    : QComboBox(parent)
    , m_listSource(listSource)
    , m_keyField(keyField)
    , m_listField(listField)
    , m_link(new FieldLink(source, dataField, this, this))
{
    setObjectName(name.isEmpty() ? dataField : name);
    setEditable(false);
    connect(this, &QComboBox::activated, m_link, [this] {
        if (m_link->controlChanged())
            m_link->updateRecord();
    });
    if (m_listSource)
        connect(m_listSource, &store::DataSource::dataChanged, this, &DBLookupComboBox::refreshList);
    refreshList();
    m_link->reload();
}

QString DBLookupComboBox::keyValue() const
{
    const int index = currentIndex();
    return index >= 0 && index < m_entries.size() ? m_entries.at(index).first : QString();
}

void DBLookupComboBox::refreshList()
{
    QList<QPair<QString, QString>> entries;
    const bool walked = m_listSource && walkVisibleRows(m_listSource->table(), [&](store::Table& t) {
        entries.append({t.field(m_keyField).asString().trimmed(), t.field(m_listField).asString()});
    });
    if (!walked || entries == m_entries)
        return;
    const QString key = keyValue();
    m_entries = entries;
    QSignalBlocker blocker(this);
    clear();
    for (const auto& entry : std::as_const(m_entries))
        addItem(entry.second);
    setCurrentIndex(-1);
    blocker.unblock();
    showKey(key);
}

void DBLookupComboBox::showKey(const QString& key)
{
    int index = -1;
    for (int i = 0; i < m_entries.size() && index < 0 && !key.isEmpty(); ++i) {
        if (m_entries.at(i).first == key)
            index = i;
    }
    if (index != currentIndex())
        setCurrentIndex(index);
}

void DBLookupComboBox::loadFromField(const store::Field& field)
{
    showKey(field.isValid() ? field.asString().trimmed() : QString());
}

} // namespace widgets

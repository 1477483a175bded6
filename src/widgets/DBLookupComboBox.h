#pragma once

#include "widgets/FieldLink.h"

#include <QComboBox>

namespace widgets {

// A drop-down list bound to a key field: it lists `listField` of the rows of a lookup table and
// stores the chosen row's `keyField`. A stored key found in no row shows no entry. The list follows
// the lookup table's rows (its filter included). currentIndexChanged is its change event (chosen or
// loaded); a choice of the user (activated) writes the key at once.
class DBLookupComboBox : public QComboBox, public BoundControl
{
    Q_OBJECT

public:
    DBLookupComboBox(store::DataSource* source, const QString& dataField, store::DataSource* listSource,
                     const QString& keyField, const QString& listField, QWidget* parent = nullptr,
                     const QString& name = {});

    FieldLink* link() const { return m_link; }
    // The key of the entry shown, empty when none.
    QString keyValue() const;
    // Refills the list from the lookup table (done by itself when the lookup table's rows change).
    void refreshList();

    void loadFromField(const store::Field& field) override;
    QVariant valueForField() const override { return keyValue(); }

private:
    void showKey(const QString& key);

    store::DataSource* m_listSource;
    QString m_keyField;
    QString m_listField;
    QList<QPair<QString, QString>> m_entries; // key, shown text
    FieldLink* m_link;
};

} // namespace widgets

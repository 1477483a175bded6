#pragma once

#include "widgets/FieldLink.h"

#include <QComboBox>

namespace dialogs {

// An editable drop-down box bound to a text field: the user picks an entry of its list or types
// free text; either is written to the field (see widgets::FieldLink). Replacing the list keeps
// the field's value shown.
class BoundComboBox : public QComboBox, public widgets::BoundControl
{
    Q_OBJECT

public:
    BoundComboBox(store::DataSource* source, const QString& fieldName, QWidget* parent = nullptr, const QString& name = {});

    widgets::FieldLink* link() const { return m_link; }
    // Replaces the entries of the list; the text shown stays the field's value.
    void setEntries(const QStringList& entries);
    // Empties the text as the user would: the change is pending like a typed one.
    void clearText();

    void loadFromField(const store::Field& field) override;
    QVariant valueForField() const override { return currentText(); }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    widgets::FieldLink* m_link;
    bool m_replacing = false;
};

} // namespace dialogs

#pragma once

#include "widgets/FieldLink.h"

#include <QCheckBox>

namespace widgets {

// A check box bound to a field: checked when the field holds `checkedValue`; a click writes
// `checkedValue` or `uncheckedValue` at once. toggled is its change event (clicks and reloads);
// clicked fires for the user's clicks only.
class DBCheckBox : public QCheckBox, public BoundControl
{
    Q_OBJECT

public:
    DBCheckBox(store::DataSource* source, const QString& fieldName, const QString& caption, QWidget* parent = nullptr,
               const QString& name = {}, const QString& checkedValue = QStringLiteral("1"),
               const QString& uncheckedValue = QStringLiteral("0"));

    FieldLink* link() const { return m_link; }

    void loadFromField(const store::Field& field) override;
    QVariant valueForField() const override { return isChecked() ? m_checkedValue : m_uncheckedValue; }

private:
    QString m_checkedValue;
    QString m_uncheckedValue;
    FieldLink* m_link;
};

} // namespace widgets

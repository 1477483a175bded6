#pragma once

#include "widgets/FieldLink.h"
#include "widgets/TextLineEdit.h"

namespace widgets {

// A single-line box bound to a field of a table's current row (see FieldLink). textChanged is its
// change event: it fires for typed and loaded text alike. Typing is limited to the field's width
// in Shift_JIS bytes.
class DBEdit : public TextLineEdit, public BoundControl
{
    Q_OBJECT

public:
    // The objectName is `name`, or the field's name when `name` is empty.
    DBEdit(store::DataSource* source, const QString& fieldName, QWidget* parent = nullptr, const QString& name = {});

    FieldLink* link() const { return m_link; }

    void loadFromField(const store::Field& field) override;
    QVariant valueForField() const override { return text(); }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    FieldLink* m_link;
};

} // namespace widgets

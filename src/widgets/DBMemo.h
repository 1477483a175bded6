#pragma once

#include "widgets/FieldLink.h"
#include "widgets/TextMemo.h"

namespace widgets {

// A memo bound to a field of a table's current row (see FieldLink); the field holds the text with
// CR LF line breaks. textChanged fires for typed and loaded text alike.
class DBMemo : public TextMemo, public BoundControl
{
    Q_OBJECT

public:
    DBMemo(store::DataSource* source, const QString& fieldName, QWidget* parent = nullptr, const QString& name = {});

    FieldLink* link() const { return m_link; }

    void loadFromField(const store::Field& field) override;
    QVariant valueForField() const override { return text(); }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    FieldLink* m_link;
};

} // namespace widgets

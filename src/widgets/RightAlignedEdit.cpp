#include "widgets/RightAlignedEdit.h"

namespace widgets {

RightEdit::RightEdit(const QString& name, QWidget* parent)
    : TextLineEdit(name, parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

RightDBEdit::RightDBEdit(store::DataSource* source, const QString& fieldName, QWidget* parent, const QString& name)
    : DBEdit(source, fieldName, parent, name)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

bool isRightAlignedEdit(const QObject* control)
{
    return qobject_cast<const RightEdit*>(control) || qobject_cast<const RightDBEdit*>(control);
}

} // namespace widgets

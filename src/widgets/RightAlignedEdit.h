#pragma once

#include "widgets/DBEdit.h"
#include "widgets/TextLineEdit.h"

// The number boxes: entry boxes that show their text aligned to the right edge and otherwise behave
// exactly as their base class (input, binding, events).
namespace widgets {

class RightEdit : public TextLineEdit
{
    Q_OBJECT

public:
    explicit RightEdit(const QString& name, QWidget* parent = nullptr);
};

class RightDBEdit : public DBEdit
{
    Q_OBJECT

public:
    RightDBEdit(store::DataSource* source, const QString& fieldName, QWidget* parent = nullptr, const QString& name = {});
};

// True for the right-aligned number boxes, which the blank rule leaves alone.
bool isRightAlignedEdit(const QObject* control);

} // namespace widgets

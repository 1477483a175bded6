#pragma once

#include <QLineEdit>

namespace widgets {

class SjisValidator;

// A single-line entry box for text that ends up in Shift_JIS: a character that code page 932
// cannot hold is refused with a message where it is typed or pasted, and an optional limit in
// Shift_JIS bytes refuses typing past it. Its objectName is the name given at construction.
class TextLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextLineEdit(const QString& name, QWidget* parent = nullptr);

    void setMaxBytes(int maxBytes);
    int maxBytes() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    SjisValidator* m_validator;
};

} // namespace widgets

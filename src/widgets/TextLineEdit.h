#pragma once

#include <QLineEdit>

#include <functional>

namespace widgets {

class SjisValidator;

// A single-line entry box for text that ends up in Shift_JIS: a character that code page 932
// cannot hold is refused with a message where it is typed or pasted, and an optional limit in
// Shift_JIS bytes refuses typing past it. Every paste (keys, context menu, drop) goes through
// pasteText(), which keeps the box to one line and tells the user why anything was refused or cut.
// Its objectName is the name given at construction.
class TextLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextLineEdit(const QString& name, QWidget* parent = nullptr);

    void setMaxBytes(int maxBytes);
    int maxBytes() const;
    // The characters the box's key filter lets through; a paste holding any other is refused.
    void setAcceptedCharacters(std::function<bool(QChar)> accepted) { m_accepted = std::move(accepted); }

    // Inserts `text` at the cursor as a paste: its lines joined by blanks (with a message), tabs as
    // blanks and no other control character; refused with a message when it holds a character that code page 932
    // cannot hold or that the key filter refuses; cut with the limit's message where it does not fit.
    void pasteText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    SjisValidator* m_validator;
    std::function<bool(QChar)> m_accepted;
};

} // namespace widgets

#pragma once

#include <QPlainTextEdit>

namespace widgets {

// A multi-line plain-text box whose text is read and set with CR LF line breaks, the form in which
// memos are stored, measured and cut. Characters that code page 932 cannot hold are refused with a
// message where they are typed, pasted or dropped. Tab moves the focus on. textChanged is its change
// event. Its objectName is the name given at construction.
class TextMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TextMemo(const QString& name, QWidget* parent = nullptr);

    // The text with CR LF line breaks.
    QString text() const;
    // Replaces the text (given with CR LF or LF breaks) when it differs from the current one.
    void setText(const QString& text);

    // The cursor as a position in text() (a line break counting two).
    int cursorPositionInText() const;
    void setCursorPositionInText(int position);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace widgets

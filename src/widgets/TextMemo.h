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

    // A limit in Shift_JIS bytes (0: none): typing past it is refused, and a paste that does not fit
    // is cut with the limit's message.
    void setMaxBytes(int maxBytes) { m_maxBytes = maxBytes; }
    int maxBytes() const { return m_maxBytes; }
    // A one-line memo joins the lines of a paste with blanks, as a one-line box does.
    void setOneLine(bool oneLine) { m_oneLine = oneLine; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // The bytes left for text that replaces the selection.
    int roomInBytes() const;

    int m_maxBytes = 0;
    bool m_oneLine = false;
};

} // namespace widgets

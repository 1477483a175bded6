#include "widgets/TextMemo.h"

#include "widgets/SjisInput.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

namespace widgets {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

TextMemo::TextMemo(const QString& name, QWidget* parent)
    : QPlainTextEdit(parent)
{
    setObjectName(name);
    setTabChangesFocus(true);
}

QString TextMemo::text() const
{
    QString plain = toPlainText();
    plain.replace(QLatin1Char('\n'), kCrLf);
    return plain;
}

void TextMemo::setText(const QString& text)
{
    QString plain = text;
    plain.replace(kCrLf, QStringLiteral("\n"));
    if (toPlainText() != plain)
        setPlainText(plain);
}

int TextMemo::cursorPositionInText() const
{
    const QTextCursor cursor = textCursor();
    return cursor.position() + cursor.blockNumber();
}

void TextMemo::setCursorPositionInText(int position)
{
    // Each line break before the position counts two in text() and one in the document.
    const QString crlf = text();
    const int breaks = int(crlf.left(position).count(kCrLf));
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position - breaks, 0, int(document()->characterCount()) - 1));
    setTextCursor(cursor);
}

void TextMemo::keyPressEvent(QKeyEvent* event)
{
    if (!isReadOnly() && refuseUnencodable(textOfKey(event))) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextMemo::inputMethodEvent(QInputMethodEvent* event)
{
    if (!isReadOnly() && refuseUnencodable(event->commitString())) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void TextMemo::insertFromMimeData(const QMimeData* source)
{
    if (source->hasText() && refuseUnencodable(source->text()))
        return;
    QPlainTextEdit::insertFromMimeData(source);
}

} // namespace widgets

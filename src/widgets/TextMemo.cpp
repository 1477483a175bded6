#include "widgets/TextMemo.h"

#include "util/SjisText.h"
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

int TextMemo::roomInBytes() const
{
    const QString selected = textCursor().selectedText().replace(QChar::ParagraphSeparator, kCrLf);
    return std::max(0, m_maxBytes - int(sjis::byteLength(text())) + int(sjis::byteLength(selected)));
}

void TextMemo::keyPressEvent(QKeyEvent* event)
{
    // Paste keys go to insertFromMimeData, which judges the pasted text.
    const bool paste = event->matches(QKeySequence::Paste);
    if (!isReadOnly() && !paste && refuseUnencodable(event->text())) {
        event->accept();
        return;
    }
    // Typing past the limit is refused, as in a fixed-width box; Enter adds a line break.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = enter ? kCrLf : event->text();
    const bool inserts = enter || (!typed.isEmpty() && typed.at(0).isPrint());
    if (!isReadOnly() && !paste && m_maxBytes > 0 && inserts && sjis::byteLength(typed) > roomInBytes()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextMemo::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    if (!isReadOnly() && (refuseUnencodable(committed) || (m_maxBytes > 0 && sjis::byteLength(committed) > roomInBytes()))) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void TextMemo::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    if (isReadOnly() || refuseUnencodable(source->text()))
        return;
    bool joined = false;
    QString pasted = m_oneLine ? joinedToOneLine(source->text(), &joined) : source->text();
    bool cut = false;
    if (m_maxBytes > 0) {
        QString crlf = pasted;
        crlf.replace(kCrLf, QStringLiteral("\n")).replace(QLatin1Char('\n'), kCrLf);
        if (sjis::byteLength(crlf) > roomInBytes()) {
            pasted = sjis::cutToBytes(crlf, roomInBytes());
            if (pasted.endsWith(QLatin1Char('\r')))
                pasted.chop(1); // never half a line break
            cut = true;
        }
    }
    // Plain text only: the memo holds no formatting.
    textCursor().insertText(QString(pasted).replace(kCrLf, QStringLiteral("\n")));
    ensureCursorVisible();
    tellPasteChanged(joined, cut);
}

} // namespace widgets

#include "widgets/TextLineEdit.h"

#include "util/SjisText.h"
#include "widgets/SjisInput.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace widgets {

TextLineEdit::TextLineEdit(const QString& name, QWidget* parent)
    : QLineEdit(parent)
    , m_validator(new SjisValidator(this))
{
    setObjectName(name);
    setValidator(m_validator);
}

void TextLineEdit::setMaxBytes(int maxBytes)
{
    m_validator->setMaxBytes(maxBytes);
}

int TextLineEdit::maxBytes() const
{
    return m_validator->maxBytes();
}

void TextLineEdit::pasteText(const QString& text)
{
    if (isReadOnly() || refuseUnencodable(text))
        return;
    bool joined = false;
    QString line = joinedToOneLine(text, &joined);
    if (m_accepted && refuseCharacters(line, m_accepted))
        return;
    bool cut = false;
    if (maxBytes() > 0) {
        QString kept = this->text();
        if (hasSelectedText())
            kept.remove(selectionStart(), selectedText().size());
        const int room = std::max(0, maxBytes() - int(sjis::byteLength(kept)));
        if (sjis::byteLength(line) > room) {
            line = sjis::cutToBytes(line, room);
            cut = true;
        }
    }
    if (!line.isEmpty())
        insert(line);
    tellPasteChanged(joined, cut);
}

void TextLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (!isReadOnly() && event->matches(QKeySequence::Paste)) {
        pasteText(QApplication::clipboard()->text());
        event->accept();
        return;
    }
    if (!isReadOnly() && refuseUnencodable(event->text())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!isReadOnly() && refuseUnencodable(event->commitString())) {
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void TextLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's paste takes the same way as the paste keys: its action is the one connected to
    // the box's own paste.
    for (QAction* action : menu->actions()) {
        if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) || disconnect(action, &QAction::triggered, this, &QLineEdit::paste)) {
            action->setObjectName(QStringLiteral("edit-paste"));
            connect(action, &QAction::triggered, this, [this] { pasteText(QApplication::clipboard()->text()); });
        }
    }
    menu->popup(event->globalPos());
}

void TextLineEdit::dropEvent(QDropEvent* event)
{
    // Text dragged within the box moves as the box moves it; text from elsewhere is inserted where
    // it is dropped, as a paste.
    if (isReadOnly() || !event->mimeData()->hasText() || event->source() == this) {
        QLineEdit::dropEvent(event);
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    pasteText(event->mimeData()->text());
    event->acceptProposedAction();
}

} // namespace widgets

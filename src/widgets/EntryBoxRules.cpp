#include "widgets/EntryBoxRules.h"

#include "util/InputRules.h"
#include "util/SjisText.h"
#include "widgets/DBEdit.h"
#include "widgets/DBMemo.h"
#include "widgets/EventHook.h"
#include "widgets/SjisInput.h"
#include "widgets/TextLineEdit.h"
#include "widgets/TextMemo.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace widgets {

FieldLink* fieldLinkOf(QWidget* control)
{
    if (auto* edit = qobject_cast<DBEdit*>(control))
        return edit->link();
    if (auto* memo = qobject_cast<DBMemo*>(control))
        return memo->link();
    return nullptr;
}

bool isEnterKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

void attachEnterMovesFocus(QWidget* root)
{
    const QList<QLineEdit*> edits = root->findChildren<QLineEdit*>();
    for (QLineEdit* edit : edits) {
        // The line edits inside lists and spin boxes belong to those controls.
        if (qobject_cast<QComboBox*>(edit->parent()) || qobject_cast<QAbstractSpinBox*>(edit->parent()))
            continue;
        onEvent(edit, QEvent::KeyPress, [edit](QEvent* e) {
            if (!isEnterKey(static_cast<QKeyEvent*>(e)))
                return false;
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(edit, &tab);
            return true;
        });
    }
}

void focusForCorrection(QWidget* control)
{
    if (!control)
        return;
    control->setFocus(Qt::OtherFocusReason);
    auto* edit = qobject_cast<QLineEdit*>(control);
    if (auto* list = qobject_cast<QComboBox*>(control))
        edit = list->lineEdit();
    if (edit)
        edit->selectAll();
}

void giveFocusBack(QWidget* control)
{
    QTimer::singleShot(0, control, [control] { focusForCorrection(control); });
}

bool removeDoubleBlanks(QWidget* control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        QString text = edit->text();
        int cursor = 0;
        if (!inputrules::removeDoubleBlank(&text, &cursor))
            return false;
        edit->setText(text);
        edit->setCursorPosition(cursor);
        return true;
    }
    if (auto* memo = qobject_cast<TextMemo*>(control)) {
        QString text = memo->text();
        int cursor = 0;
        if (!inputrules::removeDoubleBlank(&text, &cursor))
            return false;
        memo->setText(text);
        memo->setCursorPositionInText(cursor);
        return true;
    }
    return false;
}

bool removeDoubleBlanks(QWidget* root, const QString& name)
{
    return root && removeDoubleBlanks(root->findChild<QWidget*>(name));
}

bool cleanUpMemoText(QWidget* control, int limitBytes, bool cursorToStart)
{
    auto* memo = qobject_cast<TextMemo*>(control);
    if (!memo)
        return false;
    const inputrules::MemoCleanUp result = inputrules::cleanUpMemo(memo->text(), limitBytes);
    memo->setText(result.text);
    if (cursorToStart)
        memo->setCursorPositionInText(0);
    if (!result.cut)
        return false;
    tellCut();
    giveFocusBack(memo);
    return true;
}

bool convertWidthOnExit(QWidget* control)
{
    auto* box = qobject_cast<QLineEdit*>(control);
    if (!box)
        return false;
    FieldLink* link = fieldLinkOf(box);
    if (link && link->isBound() && !link->isTableEditing())
        return false;
    QString converted = sjis::NormalizeCharWidth(box->text());
    // A half-width katakana takes two bytes once converted: what no longer fits is cut where the
    // user sees it, with the limit's message, and the box keeps the focus.
    auto* limited = qobject_cast<TextLineEdit*>(box);
    const bool cut = limited && limited->maxBytes() > 0 && sjis::byteLength(converted) > limited->maxBytes();
    if (cut)
        converted = sjis::cutToBytes(converted, limited->maxBytes());
    if (converted != box->text())
        box->setText(converted);
    if (cut) {
        tellCut();
        giveFocusBack(box);
    }
    return cut;
}

} // namespace widgets

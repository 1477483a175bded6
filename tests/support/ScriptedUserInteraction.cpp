#include "support/ScriptedUserInteraction.h"

#include <gtest/gtest.h>

namespace testsupport {

ScriptedUserInteraction::ScriptedUserInteraction()
    : m_previous(UserInteraction::setCurrent(this))
{
}

ScriptedUserInteraction::~ScriptedUserInteraction()
{
    UserInteraction::setCurrent(m_previous);
    if (!m_answers.isEmpty())
        ADD_FAILURE() << m_answers.size() << " expected message box(es) never shown";
    if (!m_files.isEmpty())
        ADD_FAILURE() << m_files.size() << " expected file dialog(s) never shown";
}

QStringList ScriptedUserInteraction::boxTexts() const
{
    QStringList texts;
    for (const Box& box : m_boxes)
        texts.append(box.text);
    return texts;
}

UserInteraction::Button ScriptedUserInteraction::message(Icon icon, const QString& caption, const QString& text, Buttons buttons)
{
    m_boxes.append({icon, caption, text, buttons});
    if (m_answers.isEmpty()) {
        ADD_FAILURE() << "unexpected message box \"" << caption.toStdString() << "\": " << text.toStdString();
        return buttons.testFlag(Cancel) ? Cancel : buttons.testFlag(No) ? No : Ok;
    }
    const Button answer = m_answers.dequeue();
    if (!buttons.testFlag(answer) && !(buttons == NoButton && answer == Ok))
        ADD_FAILURE() << "scripted answer is not a button of the box: " << text.toStdString();
    return answer;
}

UserInteraction::FileAnswer ScriptedUserInteraction::fileDialog(FileKind, const FileRequest& request)
{
    m_fileRequests.append(request);
    if (m_files.isEmpty()) {
        ADD_FAILURE() << "unexpected file dialog \"" << request.caption.toStdString() << "\"";
        return {QString(), request.filterIndex};
    }
    return m_files.dequeue();
}

} // namespace testsupport

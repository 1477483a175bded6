#include "support/ScriptedUserInteraction.h"

#include <QDir>
#include <gtest/gtest.h>

namespace testsupport {

ScriptedUserInteraction::ScriptedUserInteraction()
    : m_desktop(QDir::tempPath())
    , m_previous(UserInteraction::current())
{
    UserInteraction::setCurrent(this);
}

ScriptedUserInteraction::~ScriptedUserInteraction()
{
    UserInteraction::setCurrent(m_previous);
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted answer(s) left unused";
    EXPECT_TRUE(m_files.empty()) << m_files.size() << " scripted file(s) left unused";
}

QStringList ScriptedUserInteraction::texts() const
{
    QStringList list;
    for (const Box& box : m_boxes)
        list << box.text;
    return list;
}

UserInteraction::Button ScriptedUserInteraction::messageBox(const QString& caption, const QString& text, Icon icon, Buttons buttons)
{
    m_boxes.append({caption, text, icon, buttons});
    if (m_answers.empty()) {
        // An information, warning or error box needs no answer beyond OK.
        if (buttons == Ok)
            return Ok;
        ADD_FAILURE() << "unexpected question: [" << caption.toStdString() << "] " << text.toStdString();
        return (buttons & Cancel) ? Cancel : (buttons & No) ? No : Ok;
    }
    const Button answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QString ScriptedUserInteraction::nextFile(const QString& what, const QString& folder)
{
    m_dialogFolders << folder;
    if (m_files.empty()) {
        ADD_FAILURE() << "unexpected " << what.toStdString() << " dialog";
        return {};
    }
    const QString path = m_files.front();
    m_files.pop_front();
    return path;
}

QString ScriptedUserInteraction::openFileName(const QString&, const QString& folder, const QStringList&)
{
    return nextFile(QStringLiteral("open"), folder);
}

QString ScriptedUserInteraction::saveFileName(const QString&, const QString& folder, const QString&, const QStringList&)
{
    return nextFile(QStringLiteral("save"), folder);
}

QString ScriptedUserInteraction::pictureFileName(const QString&, const QString& folder)
{
    return nextFile(QStringLiteral("picture"), folder);
}

} // namespace testsupport

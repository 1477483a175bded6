#pragma once

#include "util/UserInteraction.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>

namespace testsupport {

// Answers message boxes and file dialogs from a script and records every box shown. A box or
// dialog the test did not script fails the test; so does a scripted answer left unused when the
// object is destroyed.
class ScriptedUserInteraction : public UserInteraction
{
public:
    struct Box
    {
        QString caption;
        QString text;
        Icon icon;
        Buttons buttons;
    };

    ScriptedUserInteraction();  // installs itself as the current interaction
    ~ScriptedUserInteraction() override;

    // The next box is answered with `answer`.
    void expectBox(Button answer) { m_answers.push_back(answer); }
    // The next file dialog returns `path` (empty: cancelled).
    void expectFile(const QString& path) { m_files.push_back(path); }

    const QList<Box>& boxes() const { return m_boxes; }
    QStringList texts() const;
    void clear() { m_boxes.clear(); }

    Button messageBox(const QString& caption, const QString& text, Icon icon, Buttons buttons) override;
    QString openFileName(const QString& title, const QString& folder, const QStringList& filters) override;
    QString saveFileName(const QString& title, const QString& folder, const QString& fileName, const QStringList& filters) override;
    QString pictureFileName(const QString& title, const QString& folder) override;
    QString desktopFolder() override { return m_desktop; }
    void setDesktopFolder(const QString& folder) { m_desktop = folder; }

    // Folders the dialogs were opened in, in order.
    const QStringList& dialogFolders() const { return m_dialogFolders; }

private:
    QString nextFile(const QString& what, const QString& folder);

    std::deque<Button> m_answers;
    std::deque<QString> m_files;
    QList<Box> m_boxes;
    QStringList m_dialogFolders;
    QString m_desktop;
    UserInteraction* m_previous = nullptr;
};

} // namespace testsupport

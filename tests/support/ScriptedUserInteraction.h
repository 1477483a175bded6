#pragma once

#include "util/UserInteraction.h"

#include <QList>
#include <QQueue>
#include <QStringList>

namespace testsupport {

// The user as a test scripts it: every message box and file dialog is recorded, and answered from
// the queues the test filled. A box or dialog the test did not expect (its queue is empty) fails
// the test; so do answers left unused when the script ends. It installs itself as the current
// interaction for its lifetime.
class ScriptedUserInteraction : public UserInteraction
{
public:
    struct Box
    {
        Icon icon;
        QString caption;
        QString text;
        Buttons buttons;
    };

    ScriptedUserInteraction();
    ~ScriptedUserInteraction() override;

    // The answer to the next message box.
    void expectBox(Button answer) { m_answers.enqueue(answer); }
    // The answer to the next file dialog (an empty path: the user cancels).
    void expectFile(const QString& path, int filterIndex = 0) { m_files.enqueue({path, filterIndex}); }
    void setDesktopFolder(const QString& folder) { m_desktop = folder; }

    const QList<Box>& boxes() const { return m_boxes; }
    QStringList boxTexts() const;
    const QList<FileRequest>& fileRequests() const { return m_fileRequests; }
    // Forgets the boxes recorded so far.
    void clearBoxes() { m_boxes.clear(); }
    // The long work the code said it did, in order: "begins: " + what, "goes on", "ends".
    const QStringList& work() const { return m_work; }

    Button message(Icon icon, const QString& caption, const QString& text, Buttons buttons) override;
    FileAnswer fileDialog(FileKind kind, const FileRequest& request) override;
    QString desktopFolder() override { return m_desktop; }
    void workStarted(const QString& what) override { m_work.append(QStringLiteral("begins: ") + what); }
    void workEnded() override { m_work.append(QStringLiteral("ends")); }
    void workGoesOn() override { m_work.append(QStringLiteral("goes on")); }

private:
    UserInteraction* m_previous;
    QQueue<Button> m_answers;
    QQueue<FileAnswer> m_files;
    QList<Box> m_boxes;
    QList<FileRequest> m_fileRequests;
    QString m_desktop;
    QStringList m_work;
};

} // namespace testsupport

#pragma once

#include "util/UserInteraction.h"

#include <QList>
#include <QQueue>

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

    Button message(Icon icon, const QString& caption, const QString& text, Buttons buttons) override;
    FileAnswer fileDialog(FileKind kind, const FileRequest& request) override;
    QString desktopFolder() override { return m_desktop; }

private:
    UserInteraction* m_previous;
    QQueue<Button> m_answers;
    QQueue<FileAnswer> m_files;
    QList<Box> m_boxes;
    QList<FileRequest> m_fileRequests;
    QString m_desktop;
};

} // namespace testsupport

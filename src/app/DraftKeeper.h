#pragma once

#include "store/DraftWriter.h"
#include "store/ProgramFolder.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace app {

class EditingCycle;

// Keeps the draft of the registration shown while it has unsaved changes, so that nothing typed
// is lost when the program does not end normally: written shortly after a change (a pause in
// typing, and at the latest a little later when the typing goes on), at once when asked (a page
// change, a dialog confirmed, the end of the program), removed when the cycle says its changes
// were saved or dropped. At the start it offers the drafts an earlier run left behind.
class DraftKeeper : public QObject
{
    Q_OBJECT

public:
    // A change is written once the typing pauses this long, and at the latest this long after the
    // first change not yet written. What was typed a second ago must be on disk even when a busy
    // machine runs the timer, the capture and the durable write late: the rest of the second is
    // left for them.
    static constexpr int kPauseMs = 500;
    static constexpr int kLatestMs = 600;

    DraftKeeper(EditingCycle& cycle, const store::ProgramFolder& folder, QObject* parent = nullptr);
    ~DraftKeeper() override;

    // A change by the user (a key, a click): the draft is written after the pause.
    void noteChange();
    // The draft written now, when the registration shown has unsaved changes.
    void writeNow();
    // The same once the current event is handled (a dialog's record confirmed, rows posted).
    void writeSoon();
    // Waits until the drafts asked for are on disk (the end of the run, tests).
    void waitForWrites();

    // The drafts an earlier run left, before the list is shown: each offered back (復元する) or
    // moved to the discarded drafts (破棄する); one that cannot be read is reported and moved aside.
    // Once one is restored the others stay for the next start.
    void offerLeftDrafts();
    // The question that offers a draft back, and its two answers.
    static QString offerText(const store::Draft& draft);
    static const QString kRestore;
    static const QString kDiscard;

signals:
    // A draft was taken back into the entry pages, unsaved.
    void draftRestored();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool hasUnsavedChanges() const;
    void removeDraft(const QString& number);
    void reportWriteFailure();

    EditingCycle& m_cycle;
    store::ProgramFolder m_folder;
    store::DraftWriter m_writer;
    QTimer m_pause;
    QElapsedTimer m_sinceFirstChange; // invalid while everything is written
    QDateTime m_lastChange;
    bool m_failureReported = false;
    bool m_writeSoon = false;
};

} // namespace app

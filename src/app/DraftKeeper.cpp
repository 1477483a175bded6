#include "app/DraftKeeper.h"

#include "app/EditingCycle.h"
#include "util/ChoiceQuestion.h"
#include "util/UserInteraction.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>

#include <algorithm>
#include <utility>

namespace app {

namespace {

const QString kLeftBehind = QStringLiteral("前回、保存されずに終了した入力があります。");
const QString kUnreadable = QStringLiteral("前回の入力の下書きを読めませんでした。次の場所へ移しました。");
const QString kNotWritten = QStringLiteral("入力の下書きを保存できませんでした。編集データを保存してください。");

} // namespace

const QString DraftKeeper::kRestore = QStringLiteral("復元する");
const QString DraftKeeper::kDiscard = QStringLiteral("破棄する");

QString DraftKeeper::offerText(const store::Draft& draft)
{
    return kLeftBehind + QStringLiteral("\r\n\r\n登録番号：") + draft.number + QStringLiteral("\r\n技術名称：") + draft.techTitle()
        + QStringLiteral("\r\n最後の変更：") + draft.changed.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

DraftKeeper::DraftKeeper(EditingCycle& cycle, const store::ProgramFolder& folder, QObject* parent)
    : QObject(parent)
    , m_cycle(cycle)
    , m_folder(folder)
{
    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &DraftKeeper::writeNow);
    connect(&m_cycle, &EditingCycle::changed, this, &DraftKeeper::noteChange);
    connect(&m_cycle, &EditingCycle::draftObsolete, this, &DraftKeeper::removeDraft);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

DraftKeeper::~DraftKeeper()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool DraftKeeper::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
        noteChange();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool DraftKeeper::hasUnsavedChanges() const
{
    return m_cycle.mode() != EditingCycle::None && m_cycle.isModified();
}

void DraftKeeper::noteChange()
{
    m_lastChange = QDateTime::currentDateTime();
    if (!m_sinceFirstChange.isValid())
        m_sinceFirstChange.start();
    m_pause.start(int(std::clamp<qint64>(kLatestMs - m_sinceFirstChange.elapsed(), 0, kPauseMs)));
}

void DraftKeeper::writeNow()
{
    m_pause.stop();
    m_sinceFirstChange.invalidate();
    if (!hasUnsavedChanges())
        return;
    store::Draft draft = m_cycle.draft();
    draft.changed = m_lastChange.isValid() ? m_lastChange : QDateTime::currentDateTime();
    const QString path = store::drafts::pathFor(m_folder, draft.number); // before the draft is moved away
    m_writer.write(path, std::move(draft));
    reportWriteFailure();
}

void DraftKeeper::writeSoon()
{
    if (std::exchange(m_writeSoon, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_writeSoon = false;
        writeNow();
    });
}

void DraftKeeper::removeDraft(const QString& number)
{
    m_pause.stop();
    m_sinceFirstChange.invalidate();
    m_writer.remove(store::drafts::pathFor(m_folder, number));
}

void DraftKeeper::waitForWrites()
{
    m_writer.wait();
    reportWriteFailure();
}

void DraftKeeper::reportWriteFailure()
{
    // Told once a run: the user can still save, and a box at every pause would stop the typing.
    const QString error = m_writer.takeError();
    if (error.isEmpty() || m_failureReported)
        return;
    m_failureReported = true;
    UserInteraction::current().warn(QStringLiteral("注意"), kNotWritten + QStringLiteral("\r\n") + error);
}

void DraftKeeper::offerLeftDrafts()
{
    bool restored = false;
    for (const QString& path : store::drafts::list(m_folder)) {
        store::Draft draft;
        QString error;
        if (!store::drafts::read(path, &draft, &error)) {
            QString movedTo;
            QString moveError;
            const bool moved = store::drafts::moveAside(path, store::drafts::damagedFolder(m_folder), &movedTo, &moveError);
            UserInteraction::current().warn(kProgramTitle, kUnreadable + QStringLiteral("\r\n") + error + QStringLiteral("\r\n")
                                                                + (moved ? QDir::toNativeSeparators(movedTo) : moveError));
            continue;
        }
        if (restored)
            continue; // one registration is edited at a time; the others wait for the next start
        if (ChoiceQuestion::ask(UserInteraction::Icon::Question, kProgramTitle, offerText(draft), kRestore, kDiscard)
            == UserInteraction::Yes) {
            m_cycle.restoreDraft(draft);
            if (m_cycle.mode() == EditingCycle::None)
                continue;
            restored = true;
            m_lastChange = draft.changed;
            writeNow();
            // Restored under another number: its draft now goes by that number.
            const QString current = store::drafts::pathFor(m_folder, m_cycle.draft().number);
            if (current != path)
                m_writer.remove(path);
            emit draftRestored();
        } else {
            m_cycle.abandonDraftPhotos(draft.number);
            QString moveError;
            if (!store::drafts::moveAside(path, store::drafts::discardedFolder(m_folder), nullptr, &moveError))
                UserInteraction::current().warn(kProgramTitle, moveError);
        }
    }
}

} // namespace app

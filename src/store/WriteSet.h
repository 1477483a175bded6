#pragma once

#include <QList>
#include <QString>

#include <functional>

class QIODevice;

namespace store {

// A change of several files of the program folder made all-or-nothing across crashes and power
// cuts. Each new content is written completely beside its file ("<name>.part") and flushed to
// disk; the parts' folders are synced, the list of renames is recorded in a journal in the program
// folder and synced with its folder, the renames are done and their folders synced, and the journal
// is removed and its folder synced (a set of one file needs no journal: its rename is atomic, and
// its folder is synced after it). A start that finds a journal finishes its renames (recover)
// before any table is opened; parts that no journal names were never complete and are removed.
// The single steps (syncing a file or a folder, one durable replace) are in DurableFiles.h.
class WriteSet
{
public:
    using Writer = std::function<bool(QIODevice* device, QString* error)>;

    explicit WriteSet(const QString& programFolder);
    ~WriteSet(); // removes the parts of a set that was not committed

    // Writes the new content of `target` (an absolute path inside the program folder) to its part.
    bool stage(const QString& target, const Writer& write, QString* error);
    // Stages a copy of the file `source` as the new content of `target`.
    bool stageCopy(const QString& source, const QString& target, QString* error);
    bool isEmpty() const { return m_entries.isEmpty(); }

    // Records the journal and puts every part in place. On failure before the journal is written
    // (or of the one rename of a single part) nothing has changed; a failure after it is
    // completed by the next start.
    bool commit(QString* error);
    // Removes the parts staged so far.
    void abandon();

    // Completes the set a crashed run left behind, or rolls it back when one of its parts is not
    // the size the journal recorded; then removes stray parts. False with a message naming the
    // file when a rename or removal failed.
    static bool recover(const QString& programFolder, QString* error);
    static QString journalPath(const QString& programFolder);

private:
    struct Entry
    {
        QString part;   // absolute
        QString target; // absolute
        qint64 size = 0;
    };

    QString m_root;
    QList<Entry> m_entries;
};

} // namespace store

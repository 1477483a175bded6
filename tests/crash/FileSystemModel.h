#pragma once

#include "crash/SyscallTrace.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>

#include <functional>
#include <random>
#include <vector>

// A folder tree in memory that replays the calls of a syscall trace and tells which of their
// effects a power cut could lose: file data written since the file's last fsync, and folder
// entries (creations, renames, links, removals) made since the last fsync of their folder — a
// rename between two folders only once both were synced. The folder is loaded from a snapshot taken
// before the traced run, whose path in the trace was `root`.
class FileSystemModel
{
public:
    FileSystemModel(const QString& snapshot, const QString& root);

    // Applies one call; false with a message for a call the model cannot follow.
    bool apply(const Syscall& call, QString* error);

    // What a power cut at this point could leave: for each unsynced folder change kept (bit set)
    // or lost, for each file with unsynced data kept (0), lost (1) or cut short (2).
    struct Cut
    {
        std::vector<bool> changesKept;
        std::vector<int> data;
        quint32 cutSeed = 0;
    };
    // Counts the calls that changed the model or synced a part of it: each is a cut point.
    int version() const { return m_version; }
    int unsyncedChanges() const;
    int unsyncedFiles() const;
    // The tree of that state: relative path → content (folders end with '/').
    QMap<QString, QByteArray> state(const Cut& cut) const;
    QMap<QString, QByteArray> everythingKept() const;
    QMap<QString, QByteArray> everythingLost() const;

private:
    struct Node
    {
        bool folder = false;
        QByteArray data;
        QByteArray synced;            // the data as of the last fsync
        QMap<QString, int> entries;   // current
        QMap<QString, int> initial;   // as loaded
    };
    struct Effect
    {
        int folder;
        QString name;
        int node; // -1: removed
    };
    struct Change
    {
        QList<Effect> effects;
        QSet<int> unsyncedFolders;
    };
    struct Descriptor
    {
        int node = -1; // -1: outside the modelled folder
        qint64 position = 0;
        QString path;
    };

    int load(const QString& path);
    int lookup(const QString& absolute) const;           // -1 when absent or outside
    bool split(const QString& absolute, int* folder, QString* name) const; // parent folder and name inside the model
    QString resolve(const QString& dirArg, const QString& pathArg) const;
    void change(QList<Effect> effects);
    void write(int node, qint64 offset, const QByteArray& bytes);
    QByteArray sourceBytes(const Descriptor& d) const;
    void walk(int folder, const QString& prefix, const std::vector<QMap<QString, int>>& entries,
              const std::function<QByteArray(int)>& dataOf, QMap<QString, QByteArray>* out) const;
    std::vector<int> dirtyFiles() const;
    std::vector<int> pendingChanges() const;

    QString m_root;
    QString m_cwd;
    std::vector<Node> m_nodes;
    std::vector<Change> m_changes;
    QHash<qint64, Descriptor> m_descriptors;
    int m_version = 0;
};

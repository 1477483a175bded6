#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace store {

// The automatic backups of the data folder: CdsBK holds the newest, CdsBK.1 … CdsBK.4 the four
// before it, each a different state of the data folder as a start found it. A file that did not
// change between generations is one file under several names (a hard link).
//
// A new generation is built in CdsBK.new, renamed CdsBK.next once complete and on the disk, and
// then moved in: the older generations move up one place (the oldest of five goes), CdsBK becomes
// CdsBK.1 and CdsBK.next becomes CdsBK, each step synced to the disk before the next. A start
// finishes a rotation a crash or power cut interrupted, and drops an incomplete CdsBK.new.
class BackupGenerations
{
public:
    static constexpr int kKept = 5;

    explicit BackupGenerations(const QString& dataFolder);

    QString newest() const { return m_newest; }
    // The generations that hold files, newest first.
    QStringList existing() const;
    // When a generation was made.
    static QDateTime madeAt(const QString& generation);

    // Settles a refresh that was interrupted.
    void recover();
    // Makes `files` (paths of the data folder's files) the newest generation, keeping the files of
    // the newest one that are not table files, unless the newest already holds exactly that.
    bool refresh(const QStringList& files, const QDateTime& now, QString* error);

private:
    QString generation(int age) const; // 0: CdsBK
    bool rotate(QString* error);
    bool move(const QString& from, const QString& to, QString* error) const;

    QString m_data;
    QString m_newest;
};

} // namespace store

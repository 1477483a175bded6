#pragma once

#include "store/FieldDef.h"
#include "store/ProgramFolder.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace store {

// The rows of one registration, table by table, with each table's layout.
struct TableRows
{
    QString table; // "NT_TBL_MAIN"
    QList<FieldDef> fields;
    QList<QVector<QVariant>> rows;

    // The value of `field` in row `row`; null when the row or the field is absent.
    QVariant value(int row, const QString& field) const;
};

// The unsaved state of a registration being edited: its rows of every registration table as a save
// would write them now, the entry page shown and the time of the last change. It is kept beside
// the tables (never in them) while the registration has unsaved changes, so that the typing
// survives a crash; the next start offers it back.
struct Draft
{
    QString number;    // REG_NO, trimmed
    bool isNew = false; // a registration never saved
    int page = 0;      // the entry page shown (index of the page control)
    QDateTime changed; // the last change
    QList<TableRows> tables;

    const TableRows* rowsOf(const QString& table) const;
    // The technology's name as the draft holds it.
    QString techTitle() const;
};

// The file form of drafts and their folder: FLATT_FILES/Drafts/<number>.draft. One file is a
// short header (the layout version, number, new flag, page, time) followed by one table-file
// packet per registration table, each preceded by its name and byte length.
namespace drafts {

inline constexpr int kLayoutVersion = 1;
// No draft of a real registration comes near this; a larger file is refused unread.
inline constexpr qint64 kMaxDraftBytes = 64 * 1024 * 1024;

QString folder(const ProgramFolder& programFolder);
QString discardedFolder(const ProgramFolder& programFolder); // drafts the user gave up
QString damagedFolder(const ProgramFolder& programFolder);   // drafts that could not be read
QString pathFor(const ProgramFolder& programFolder, const QString& number);
// The draft files of the folder, by name.
QStringList list(const ProgramFolder& programFolder);

QByteArray serialise(const Draft& draft);
// False with a message naming `shownPath` and the place when the bytes are no draft of this
// layout (damaged, cut off, an older layout).
bool parse(const QByteArray& bytes, const QString& shownPath, Draft* draft, QString* error);
bool read(const QString& path, Draft* draft, QString* error);

// Puts `bytes` in place as the file `path` all at once: a temporary file beside it, flushed to
// disk, renamed over it, the folder synced. A crash leaves the previous draft or this one.
bool write(const QString& path, const QByteArray& bytes, QString* error);
// Removes a draft that a save, a discard or a deletion made obsolete (and its temporary file).
bool remove(const QString& path);
// Moves a draft into `toFolder` under a name not used there yet; `movedTo` gets the new path.
bool moveAside(const QString& path, const QString& toFolder, QString* movedTo, QString* error);

// The saved rows of registration `number` as the table files hold them (every registration
// table, NT_TBL_MAIN first; the breakdown by the comparison's REC_ID). Only reads: a running
// window keeps its folder. A file that cannot be read gives no rows and its message in `error`.
QList<TableRows> savedRows(const ProgramFolder& programFolder, const QString& number, QString* error = nullptr);

} // namespace drafts

} // namespace store

#pragma once

#include "archive/LzhHeader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Whole-archive operations of the LZH codec: list, test, extract into a flat folder, pack files
// (replacing members of the same name) and delete members. Archives are written atomically: a failed
// write leaves the previous archive as it was.
namespace lzh {

struct MemberEntry
{
    MemberHeader header;
    QString name;          // bare file name, empty when the stored name has none
    qint64 headerOffset = 0;
    qint64 dataOffset = 0;
};

// Patterns select members or files by their bare name, "*" and "?" as wildcards, case ignored;
// an empty list selects everything.
bool matchesAny(const QString& name, const QStringList& patterns);

bool listArchive(const QString& archivePath, QList<MemberEntry>& members, QString* error);

// Whether the file begins as an LZH archive does (at its start or after a self-extracting
// program), whatever happens further on: a file that does not is no archive at all, as opposed
// to a damaged or cut-off one. An empty file counts as an empty archive.
bool beginsAsArchive(const QString& archivePath);

// Decodes every member and checks its CRC; problems lists one line per damaged member.
bool testArchive(const QString& archivePath, QStringList* problems, QString* error);

// Writes the selected members by their bare names into the folder (created when missing). A member
// is written whole or not at all; a damaged member is reported and the others are still extracted.
bool extractArchive(const QString& archivePath, const QString& folder, const QStringList& patterns,
                    QStringList* written, QString* error);

// The same for the members `limit` chooses: it gives the most bytes a member may unpack to by its
// bare name, or a negative number for a member left in the archive. A member past its limit is
// refused with a message that names it and the limit.
bool extractWithinLimits(const QString& archivePath, const QString& folder, const std::function<qint64(const QString& name)>& limit,
                         QStringList* written, QString* error);

// Packs the files under their bare names: -lh5-, or -lh0- when compression does not shrink a file.
// Members of an existing archive are kept unless a packed file has the same name.
bool packFiles(const QString& archivePath, const QStringList& files, QString* error);

// Removes the members selected by the patterns; returns the number removed through `removed`.
bool deleteMembers(const QString& archivePath, const QStringList& patterns, int* removed, QString* error);

} // namespace lzh

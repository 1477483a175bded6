#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

class QObject;

// The archiver libraries: one command entry point taking a command line, plus open, close,
// find-first and find-next entry points for listing. On this platform they are built into the
// program and found by their library file name, loaded once per process on first use.
namespace archiver {

using ArchiveHandle = void*;

// One member as the listing entry points report it.
struct IndividualInfo
{
    quint64 originalSize = 0;
    quint64 compressedSize = 0;
    quint32 crc = 0;
    qint64 modified = 0;      // seconds since 1970-01-01 UTC
    quint16 ratio = 0;        // compressed size per mille of the original
    QString method;           // "-lh5-", "deflate" and the like
    QString fileName;         // as stored in the archive
};

using CommandEntry = int (*)(QObject* window, const char* commandLine, char* output, quint32 outputSize);
using OpenArchiveEntry = ArchiveHandle (*)(QObject* window, const char* archivePath, quint32 mode);
using CloseArchiveEntry = int (*)(ArchiveHandle archive);
using FindFirstEntry = int (*)(ArchiveHandle archive, const char* wildcard, IndividualInfo* info);
using FindNextEntry = int (*)(ArchiveHandle archive, IndividualInfo* info);

// Result codes of the command entry points (0 is success). Find-first and find-next give 0 for a
// member, -1 when there is none left.
enum Result : int {
    kResultOk = 0,
    kResultBadCommand = 0x8001,   // unknown command or no archive named
    kResultNotSupported = 0x8002, // the library does not offer the operation
    kResultBadArchive = 0x8003,   // cannot be read, not of this format, damaged
    kResultNoFile = 0x8004,       // nothing matched the file patterns
    kResultWriteFailed = 0x8005,  // a member or the archive could not be written
};

struct EntryPoint
{
    QString name;
    void* function;
};

class Library
{
public:
    Library(QString fileName, std::vector<EntryPoint> entries);
    const QString& fileName() const { return m_fileName; }
    // The entry point of that name, or null.
    void* entry(const QString& name) const;

private:
    QString m_fileName;
    std::vector<EntryPoint> m_entries;
};

// The library of that file name (case ignored), or null when it is not available.
const Library* loadLibrary(const QString& fileName);
// Makes a library unavailable, as on a machine without it, or available again.
void setLibraryAvailable(const QString& fileName, bool available);

// The parts of a command line as the libraries read them: the command, the switches (words that
// start with "-", quoted or not), the archive (the first other word), a folder (a word ending in a
// backslash, which is dropped) and the file patterns.
struct CommandLine
{
    QString command;
    QStringList switches;
    QString archive;
    QString folder;
    QStringList files;

    bool hasSwitch(const QString& name) const { return switches.contains(name, Qt::CaseInsensitive); }
};
CommandLine parseCommandLine(const char* text);

// Hands back a command's result, copying its message into the caller's buffer when one is given.
int reportResult(int code, const QString& message, char* output, quint32 outputSize);

// The files named by patterns: "*" and "?" in the last part, relative names against the base folder.
QStringList expandFilePatterns(const QStringList& patterns, const QString& baseFolder);

// Listing shared by every library: a list of members walked by find-first and find-next.
ArchiveHandle openListing(QList<IndividualInfo> members);
int closeListing(ArchiveHandle archive);
int findFirstInListing(ArchiveHandle archive, const char* wildcard, IndividualInfo* info);
int findNextInListing(ArchiveHandle archive, IndividualInfo* info);

// The entry points of a library whose open entry lists the members: "<prefix>OpenArchive" with the
// shared close, find-first and find-next beside it, then the library's commands.
std::vector<EntryPoint> listingLibraryEntries(const QString& prefix, OpenArchiveEntry open,
                                              std::initializer_list<EntryPoint> commands);

// The compressed size per mille of the original, at most 1000; 0 for an empty member.
quint16 ratioPerMille(quint64 originalSize, quint64 compressedSize);

} // namespace archiver

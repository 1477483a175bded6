#pragma once

#include "archive/ArchiverLibrary.h"
#include "archive/ArchiverOptions.h"

#include <QString>
#include <QStringList>

class QObject;

// The error of the archive unit: a message for the user. Operations that can fail return false and
// fill one in.
struct ArchiverError
{
    QString Message;
};

// One archive format: knows its library, the library's command letters and how the options become
// switches. Libraries are shared per process; an archiver holds no state beyond the last command line.
// Create archivers with CreateArchiver(), which runs Startup() as their construction.
class Archiver
{
public:
    virtual ~Archiver() = default;

    QString CommandLine; // the last command line built by Extract, Pack, Delete or MakeSfx
    QString Output;      // what the library said about the last command it ran (empty when all went well)

    // Loads the format's library (once per process).
    virtual bool Startup(ArchiverError& error) = 0;
    // The libraries stay loaded until the process ends; nothing to release.
    virtual void Cleanup() = 0;

    // Listing through the library's open, close, find-first and find-next entry points; without
    // them (the base) open gives no handle and the finds give -1.
    virtual archiver::ArchiveHandle OpenArchive(QObject* window, const QString& archiveName, quint32 mode, ArchiverError& error);
    virtual bool CloseArchive(archiver::ArchiveHandle handle, ArchiverError& error);
    virtual int FindFirst(archiver::ArchiveHandle handle, const QString& wildcard, archiver::IndividualInfo* info, ArchiverError& error);
    virtual int FindNext(archiver::ArchiveHandle handle, archiver::IndividualInfo* info, ArchiverError& error);

    virtual QString MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                                    const QString& folder, const ArchiverOptions& options) = 0;
    // Each runs the library command and gives its result code, unexamined, through result.
    virtual bool Extract(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                         const ArchiverOptions& options, int& result, ArchiverError& error) = 0;
    virtual bool Pack(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                      const ArchiverOptions& options, int& result, ArchiverError& error) = 0;
    virtual bool Delete(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                        const ArchiverOptions& options, int& result, ArchiverError& error);
    virtual bool MakeSfx(QObject* window, const QString& archiveName, const ArchiverOptions& options, int& result,
                         ArchiverError& error) = 0;

protected:
    static constexpr int kOutputSize = 4096;
    // The listing entry point named by its suffix ("OpenArchive" and so on), or null.
    virtual void* ListingEntry(const QString& name, ArchiverError& error) const;
    // Runs a command entry point with the current CommandLine, keeping what it says in Output.
    int CallCommand(archiver::CommandEntry command, QObject* window);
    // Calls a command entry point with the current CommandLine.
    bool RunCommand(const archiver::Library* library, const QString& entryName, QObject* window, int& result,
                    ArchiverError& error);
};

// The entry point of the library, resolved by name; a missing one is an error naming both.
void* GetEntry(const archiver::Library* library, const QString& entryName, ArchiverError& error);

// Fills the error and returns false, for one-line refusals.
bool Refuse(ArchiverError& error, const QString& message);

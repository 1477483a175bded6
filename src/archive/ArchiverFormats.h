#pragma once

#include "archive/TArchiver.h"
#include "archive/TCmdOpt.h"

// The archive formats and the library behind each. Libraries are looked up by name on every use;
// the registry keeps each one loaded for the whole process.

// A format served by one library whose entry points share a prefix.
class TSingleLibraryArchiver : public TArchiver
{
public:
    bool Startup(EArchiver& error) override;
    void Cleanup() override {}
    archiver::ArchiveHandle OpenArchive(QObject* window, const QString& archiveName, quint32 mode, EArchiver& error) override;
    bool CloseArchive(archiver::ArchiveHandle handle, EArchiver& error) override;
    int FindFirst(archiver::ArchiveHandle handle, const QString& wildcard, archiver::IndividualInfo* info, EArchiver& error) override;
    int FindNext(archiver::ArchiveHandle handle, archiver::IndividualInfo* info, EArchiver& error) override;

protected:
    virtual QString LibraryName() const = 0;
    virtual QString EntryPrefix() const = 0;
    virtual QString MissingLibraryMessage() const = 0;
    // The loaded library, or null with the missing-library message.
    const archiver::Library* Library(EArchiver& error) const;
    // Stores the command line and runs the command entry point.
    bool Run(const QString& commandLine, QObject* window, int& result, EArchiver& error);
};

// LZH: "UNLHA32.DLL".
class TLha32 : public TSingleLibraryArchiver
{
public:
    QString MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                            const QString& folder, const TArchiverOptions& options) override;
    bool Extract(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                 const TArchiverOptions& options, int& result, EArchiver& error) override;
    bool Pack(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
              const TArchiverOptions& options, int& result, EArchiver& error) override;
    bool Delete(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                const TArchiverOptions& options, int& result, EArchiver& error) override;
    bool MakeSfx(QObject* window, const QString& archiveName, const TArchiverOptions& options, int& result,
                 EArchiver& error) override;

protected:
    QString LibraryName() const override;
    QString EntryPrefix() const override;
    QString MissingLibraryMessage() const override;
};

// ARJ: "UNARJ32J.DLL", extraction only, switches as LZH.
class TArj32 : public TLha32
{
public:
    bool Pack(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
              const TArchiverOptions& options, int& result, EArchiver& error) override;
    bool MakeSfx(QObject* window, const QString& archiveName, const TArchiverOptions& options, int& result,
                 EArchiver& error) override;

protected:
    QString LibraryName() const override;
    QString EntryPrefix() const override;
    QString MissingLibraryMessage() const override;
};

// ZIP: "UNZIP32.DLL" and "LMZIP32.DLL", either enough to extract, the latter needed to pack.
class TZip32 : public TArchiver
{
public:
    bool Startup(EArchiver& error) override;
    void Cleanup() override {}
    archiver::ArchiveHandle OpenArchive(QObject* window, const QString& archiveName, quint32 mode, EArchiver& error) override;
    bool CloseArchive(archiver::ArchiveHandle handle, EArchiver& error) override;
    int FindFirst(archiver::ArchiveHandle handle, const QString& wildcard, archiver::IndividualInfo* info, EArchiver& error) override;
    int FindNext(archiver::ArchiveHandle handle, archiver::IndividualInfo* info, EArchiver& error) override;
    QString MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                            const QString& folder, const TArchiverOptions& options) override;
    bool Extract(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                 const TArchiverOptions& options, int& result, EArchiver& error) override;
    bool Pack(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
              const TArchiverOptions& options, int& result, EArchiver& error) override;
    bool MakeSfx(QObject* window, const QString& archiveName, const TArchiverOptions& options, int& result,
                 EArchiver& error) override;

private:
    // The entry of that name: from the preferred library when loaded, else from the other one
    // (whose names have the third letter lowered when it is a capital Z).
    void* Entry(const QString& name, bool preferLmzip, EArchiver& error) const;
};

// CAB: "CAB32.DLL".
class TCab32 : public TSingleLibraryArchiver
{
public:
    QString MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                            const QString& folder, const TArchiverOptions& options) override;
    bool Extract(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                 const TArchiverOptions& options, int& result, EArchiver& error) override;
    bool Pack(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
              const TArchiverOptions& options, int& result, EArchiver& error) override;
    bool MakeSfx(QObject* window, const QString& archiveName, const TArchiverOptions& options, int& result,
                 EArchiver& error) override;

protected:
    QString LibraryName() const override;
    QString EntryPrefix() const override;
    QString MissingLibraryMessage() const override;
};

// TAR: "tar32.dll". No self-extracting archives: MakeSfx gives the library's not-offered code.
class TTar32 : public TSingleLibraryArchiver
{
public:
    QString MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                            const QString& folder, const TArchiverOptions& options) override;
    bool Extract(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                 const TArchiverOptions& options, int& result, EArchiver& error) override;
    bool Pack(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
              const TArchiverOptions& options, int& result, EArchiver& error) override;
    bool MakeSfx(QObject* window, const QString& archiveName, const TArchiverOptions& options, int& result,
                 EArchiver& error) override;

protected:
    QString LibraryName() const override;
    QString EntryPrefix() const override;
    QString MissingLibraryMessage() const override;
    virtual void AddCompression(TCmdOpt&, const TArchiverOptions&) const {}
};

// Compressed TAR: as TAR with gzip compression ("-z6") unless z is 1 or more.
class TTgz32 : public TTar32
{
protected:
    void AddCompression(TCmdOpt& cmd, const TArchiverOptions& options) const override;
};

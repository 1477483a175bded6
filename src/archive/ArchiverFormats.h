#pragma once

#include "archive/Archiver.h"
#include "archive/CommandOptions.h"

// The archive formats and the library behind each. Libraries are looked up by name on every use;
// the registry keeps each one loaded for the whole process.

// A format served by one library whose entry points share a prefix; extracting, packing and making
// a self-extracting archive run its command entry point with the format's command word.
class SingleLibraryArchiver : public Archiver
{
public:
    bool Startup(ArchiverError& error) override;
    void Cleanup() override {}
    bool Extract(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                 const ArchiverOptions& options, int& result, ArchiverError& error) override;
    bool Pack(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
              const ArchiverOptions& options, int& result, ArchiverError& error) override;
    bool MakeSfx(QObject* window, const QString& archiveName, const ArchiverOptions& options, int& result,
                 ArchiverError& error) override;

protected:
    void* ListingEntry(const QString& name, ArchiverError& error) const override;
    virtual QString LibraryName() const = 0;
    virtual QString EntryPrefix() const = 0;
    virtual QString MissingLibraryMessage() const = 0;
    virtual QString ExtractCommand() const = 0;
    virtual QString PackCommand() const = 0;
    virtual QString SfxCommand() const = 0;
    // The loaded library, or null with the missing-library message.
    const archiver::Library* Library(ArchiverError& error) const;
    // Stores the command line and runs the command entry point.
    bool Run(const QString& commandLine, QObject* window, int& result, ArchiverError& error);
};

// LZH: "UNLHA32.DLL"; extract "x", pack "u", delete "d", self-extracting "s".
class LhaArchiver : public SingleLibraryArchiver
{
public:
    QString MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                            const QString& folder, const ArchiverOptions& options) override;
    bool Delete(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                const ArchiverOptions& options, int& result, ArchiverError& error) override;

protected:
    QString LibraryName() const override { return QStringLiteral("UNLHA32.DLL"); }
    QString EntryPrefix() const override { return QStringLiteral("Unlha"); }
    QString MissingLibraryMessage() const override { return QStringLiteral("この機能の使用には UNLHA32.DLL が 必要です。"); }
    QString ExtractCommand() const override { return QStringLiteral("x"); }
    QString PackCommand() const override { return QStringLiteral("u"); }
    QString SfxCommand() const override { return QStringLiteral("s"); }
};

// ARJ: "UNARJ32J.DLL", extraction only, switches as LZH.
class ArjArchiver : public LhaArchiver
{
public:
    bool Pack(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
              const ArchiverOptions& options, int& result, ArchiverError& error) override;
    bool MakeSfx(QObject* window, const QString& archiveName, const ArchiverOptions& options, int& result,
                 ArchiverError& error) override;

protected:
    QString LibraryName() const override { return QStringLiteral("UNARJ32J.DLL"); }
    QString EntryPrefix() const override { return QStringLiteral("Unarj"); }
    QString MissingLibraryMessage() const override { return QStringLiteral("この機能の使用には UNARJ32J.DLL が 必要です。"); }
};

// ZIP: "UNZIP32.DLL" and "LMZIP32.DLL", either enough to extract, the latter needed to pack.
class ZipArchiver : public Archiver
{
public:
    bool Startup(ArchiverError& error) override;
    void Cleanup() override {}
    QString MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                            const QString& folder, const ArchiverOptions& options) override;
    bool Extract(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
                 const ArchiverOptions& options, int& result, ArchiverError& error) override;
    bool Pack(QObject* window, const QString& archiveName, const QStringList* files, const QString& folder,
              const ArchiverOptions& options, int& result, ArchiverError& error) override;
    bool MakeSfx(QObject* window, const QString& archiveName, const ArchiverOptions& options, int& result,
                 ArchiverError& error) override;

protected:
    void* ListingEntry(const QString& name, ArchiverError& error) const override;

private:
    // The entry of that name: from the preferred library when loaded, else from the other one
    // (whose names have the third letter lowered when it is a capital Z).
    void* Entry(const QString& name, bool preferLmzip, ArchiverError& error) const;
};

// CAB: "CAB32.DLL"; extract "-x", pack "-a", self-extracting "-f".
class CabArchiver : public SingleLibraryArchiver
{
public:
    QString MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                            const QString& folder, const ArchiverOptions& options) override;

protected:
    QString LibraryName() const override { return QStringLiteral("CAB32.DLL"); }
    QString EntryPrefix() const override { return QStringLiteral("Cab"); }
    QString MissingLibraryMessage() const override { return QStringLiteral("CAB 形式書庫を扱うには CAB32.DLL が 必要です。"); }
    QString ExtractCommand() const override { return QStringLiteral("-x"); }
    QString PackCommand() const override { return QStringLiteral("-a"); }
    QString SfxCommand() const override { return QStringLiteral("-f"); }
};

// TAR: "tar32.dll"; extract "x", pack "c". No self-extracting archives: MakeSfx gives the library's
// not-offered code.
class TarArchiver : public SingleLibraryArchiver
{
public:
    QString MakeCommandLine(const QString& command, const QString& archiveName, const QStringList* files,
                            const QString& folder, const ArchiverOptions& options) override;
    bool MakeSfx(QObject* window, const QString& archiveName, const ArchiverOptions& options, int& result,
                 ArchiverError& error) override;

protected:
    QString LibraryName() const override { return QStringLiteral("tar32.dll"); }
    QString EntryPrefix() const override { return QStringLiteral("Tar"); }
    QString MissingLibraryMessage() const override { return QStringLiteral("この機能の使用には tar32.dll が 必要です。"); }
    QString ExtractCommand() const override { return QStringLiteral("x"); }
    QString PackCommand() const override { return QStringLiteral("c"); }
    QString SfxCommand() const override { return QString(); }
    virtual void AddCompression(CommandOptions&, const ArchiverOptions&) const {}
};

// Compressed TAR: as TAR with gzip compression ("-z6") unless z is 1 or more.
class TgzArchiver : public TarArchiver
{
protected:
    void AddCompression(CommandOptions& cmd, const ArchiverOptions& options) const override;
};

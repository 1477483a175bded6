#pragma once

#include "archive/Archiver.h"
#include "archive/ArchiverOptions.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

enum ArchiverType { atLha, atZip, atCab, atArj, atTar, atTgz, atNone, atAutoDetect };

// An archive file on disk that can be extracted into a folder or packed from a list of files,
// whatever its format; the format's archiver and library do the work. Owned by its owner object.
class ArchiveFile : public QObject
{
    Q_OBJECT

public:
    explicit ArchiveFile(QObject* owner);
    ~ArchiveFile() override;

    const QString& FileName() const { return m_fileName; }
    // Chooses the archiver by the name's extension (which may fail: a missing library), then
    // stores the name.
    bool SetFileName(const QString& name, ArchiverError& error);

    ArchiverOptions* Options() const { return m_options; }

    ArchiverType type() const { return m_type; }
    // Creates the format's archiver. atNone changes nothing; atAutoDetect is refused. A failure
    // keeps the previous archiver and type.
    bool SetArchiverType(ArchiverType type, ArchiverError& error);

    Archiver* archiver() const { return m_archiver.get(); }
    const QString& LastCommandLine() const { return m_lastCommandLine; }
    // The library's message on the last command: why it failed, or empty.
    const QString& LastOutput() const { return m_lastOutput; }

    // Runs the archiver's command; the library's result code is handed back unexamined.
    bool ExtractFiles(QObject* window, const QString& folder, const QStringList* files, int& result, ArchiverError& error);
    bool PackFiles(QObject* window, const QString& baseFolder, const QStringList& files, int& result, ArchiverError& error);

    // Every member of the archive as its library lists it; false when the format is unknown or the
    // library cannot read the file as an archive of its format.
    bool ListMembers(QList<archiver::IndividualInfo>* members, ArchiverError& error);

private:
    QString m_fileName;
    ArchiverOptions* m_options;
    ArchiverType m_type = atAutoDetect;
    std::unique_ptr<Archiver> m_archiver;
    QString m_lastCommandLine;
    QString m_lastOutput;
};

// A new archiver of the type, its library loaded; null with the error for atNone, atAutoDetect or a
// missing library.
std::unique_ptr<Archiver> CreateArchiver(ArchiverType type, ArchiverError& error);

// The format of a file by its extension (case ignored); an ".exe" is probed as a self-extracting
// archive in the order ARJ, CAB, ZIP, LZH, the last that succeeds winning.
ArchiverType ArchiverTypeOfFile(const QString& fileName);

// Whether the format's library opens the file; any failure (a missing library too) gives false.
bool IsLhaArchive(const QString& fileName);
bool IsZipArchive(const QString& fileName);
bool IsCabArchive(const QString& fileName);
bool IsArjArchive(const QString& fileName);
